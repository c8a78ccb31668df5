// The main window's tab strip at many tabs, the stop/refresh button across
// tab changes, and which pages count as shown for their documents (pages from
// a loopback server; needs an X server).
#include "Files.h"
#include "LoopbackServer.h"
#include "ProgramFolder.h"
#include "TabStrip.h"
#include "Twips.h"
#include "VbTimer.h"
#include "VbWidgets.h"
#include "WebView.h"
#include "frmMain.h"
#include "ucTabs.h"
#include "ucWeb.h"
#include "WaitUntil.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWheelEvent>

using tessivane::frmMain;

namespace {

class TabStripWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        setProgramFolderOverride(folder.path() + QLatin1Char('/'));
        WriteSet(QStringLiteral("OnOpen"), QStringLiteral("3")); // a blank start page
        WriteSet(QStringLiteral("MobileMode"), QStringLiteral("0"));
        WriteSet(QStringLiteral("MinPass"), QStringLiteral("0"));
        w = new frmMain;
        w->resize(900, 600);
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    }
    void TearDown() override
    {
        delete w;
        setProgramFolderOverride(QString());
    }
    std::vector<int> open() const
    {
        std::vector<int> out;
        w->Tabs.forEach([&](int i, ucTabs *) { out.push_back(i); });
        return out;
    }
    std::vector<int> onStrip() const
    {
        std::vector<int> out;
        w->Tabs.forEach([&](int i, ucTabs *t) {
            if (t->isVisible())
                out.push_back(i);
        });
        return out;
    }
    static int stackPos(QWidget *c) { return int(c->parentWidget()->children().indexOf(c)); }
    bool stopOnTop() const { return stackPos(w->imgBtn[2]) > stackPos(w->imgBtn[1]); }
    // Left-clicks tab Index at a spot of its face beside the close box.
    void clickTab(int Index)
    {
        ucTabs *t = w->Tabs(Index);
        const QPoint at(t->picCls->x() / 2, t->height() / 2);
        QWidget *hit = t->childAt(at);
        ASSERT_TRUE(hit);
        ASSERT_NE(hit, t->picCls);
        QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(t, at));
    }
    bool loaded(int Index, const QString &url)
    {
        ucWeb *page = w->Web(Index);
        return WaitUntil([&] { return page->LocationURL() == url && !page->Busy(); }, 15000);
    }
    // Runs a script in the page of tab Index and returns its result as text.
    QString js(int Index, const QString &script)
    {
        QString result;
        bool done = false;
        w->Web(Index)->Wb->page()->runJavaScript(script, [&](const QVariant &v) {
            result = v.toString();
            done = true;
        });
        EXPECT_TRUE(WaitUntil([&] { return done; }, 10000)) << qPrintable(script);
        return result;
    }
    QString visibility(int Index) { return js(Index, QStringLiteral("document.visibilityState")); }

    QTemporaryDir folder;
    frmMain *w = nullptr;
};

TEST_F(TabStripWindow, TabsStayUsableAtAnyCount)
{
    int count = 0;
    for (const int n : {1, 15, 40, 100}) {
        while (count < n) {
            w->AddPage();
            ++count;
        }
        ASSERT_EQ(int(open().size()), n);
        const std::vector<int> shown = onStrip();
        ASSERT_FALSE(shown.empty()) << n;
        // The new tab is current and on the strip.
        EXPECT_EQ(w->CurIdx, open().back()) << n;
        EXPECT_EQ(shown.back(), w->CurIdx) << n;
        const bool scrolls = w->imgTabScr[0]->isVisible();
        EXPECT_EQ(scrolls, shown.size() < open().size()) << n;
        const double end = scrolls ? TLeft(w->imgTabScr[0]) : TLeft(w->imgAddWeb);
        for (int i : shown) {
            ucTabs *t = w->Tabs(i);
            EXPECT_GE(TWidth(t), TabStrip::kMinTabWidth) << n;
            EXPECT_LE(TLeft(t) + TWidth(t), end + 15) << n;
            // The close box takes its corner only.
            EXPECT_LT(TWidth(t->picCls), TWidth(t) / 2) << n;
        }
        // A click on each tab on the strip selects it and closes nothing.
        for (int i : shown) {
            clickTab(i);
            EXPECT_EQ(w->CurIdx, i) << n;
        }
        EXPECT_EQ(int(open().size()), n);
    }

    // Scrolling: the left button brings the first tabs back, the wheel moves by one.
    const int firstShown = onStrip().front();
    ASSERT_GT(firstShown, 1);
    while (!w->Tabs(1)->isVisible()) {
        const int before = onStrip().front();
        QTest::mouseClick(w->imgTabScr[0], Qt::LeftButton, {}, QPoint(3, 3));
        ASSERT_LT(onStrip().front(), before);
    }
    QPoint at = w->picTabBar->rect().center();
    QWheelEvent down(QPointF(at), w->picTabBar->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, -120), Qt::NoButton,
                     {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w->Tabs(onStrip().front()), &down);
    EXPECT_EQ(onStrip().front(), 2);
    clickTab(2);
    EXPECT_EQ(w->CurIdx, 2);
    // Only the cross closes.
    QTest::mouseClick(w->Tabs(2)->picCls, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(int(open().size()), 99);
    EXPECT_FALSE(w->Tabs.exists(2));
    EXPECT_TRUE(w->Tabs(w->CurIdx)->isVisible());
}

TEST_F(TabStripWindow, StopOrRefreshFollowsTheTabThatBecomesCurrent)
{
    // A server that takes the request and never answers: the page loads for ever.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    const QString hanging = QStringLiteral("http://127.0.0.1:%1/slow").arg(silent.serverPort());

    w->AddPage();
    w->AddPage();
    w->Web(2)->GoURL(hanging);
    ASSERT_TRUE(WaitUntil([&] { return w->Web(2)->Busy() && stopOnTop(); }, 10000));

    // Selecting the idle tab shows refresh, coming back to the loading one shows stop.
    clickTab(1);
    EXPECT_FALSE(stopOnTop());
    clickTab(2);
    EXPECT_TRUE(stopOnTop());

    // Closing the loading current tab: the idle tab that takes over shows refresh.
    w->Tabs_TabClose(2);
    ASSERT_EQ(w->CurIdx, 1);
    EXPECT_FALSE(stopOnTop());
}

TEST_F(TabStripWindow, BackgroundPagesRestAndTheirPreviewStaysLive)
{
    LoopbackServer server;
    ASSERT_TRUE(server.start());
    // Each page counts its animation frames: a hidden page gets none.
    const QByteArray script = "<script>window.frames_=0;(function f(){frames_++;requestAnimationFrame(f);})();</script>";
    server.page("/red", "<html><body style='margin:0;background:rgb(255,0,0)'>" + script + "</body></html>");
    server.page("/blue", "<html><body style='margin:0;background:rgb(0,0,255)'>" + script + "</body></html>");
    // Both load at once, the first one already in the background.
    w->AddPage();
    w->Web(1)->GoURL(server.url(QStringLiteral("/red")));
    w->AddPage();
    w->Web(2)->GoURL(server.url(QStringLiteral("/blue")));
    ASSERT_TRUE(loaded(1, server.url(QStringLiteral("/red"))));
    ASSERT_TRUE(loaded(2, server.url(QStringLiteral("/blue"))));
    EXPECT_EQ(visibility(1), QStringLiteral("hidden"));
    EXPECT_EQ(visibility(2), QStringLiteral("visible"));

    // The background page stops animating; the current one goes on.
    // The current page's frames are the clock: while it draws ten, the
    // background page draws none.
    const int bg = js(1, QStringLiteral("frames_")).toInt();
    const int fg = js(2, QStringLiteral("frames_")).toInt();
    ASSERT_TRUE(WaitUntil([&] { return js(2, QStringLiteral("frames_")).toInt() >= fg + 10; }, 10000));
    EXPECT_EQ(js(1, QStringLiteral("frames_")).toInt(), bg);

    // The background page changes while nobody looks; its preview shows it as
    // it is now, and the page counts as shown while its thumbnail is on screen.
    js(1, QStringLiteral("document.body.style.background='rgb(0,160,0)'"));
    auto previewColour = [&] {
        const QImage img = w->imgWebImg->pixmap().toImage();
        return img.isNull() ? QColor() : QColor(img.pixel(img.width() / 2, img.height() / 2));
    };
    w->Tabs_MouseUp(1, 2, 0, 0, 0);
    ASSERT_TRUE(w->picImg->isVisible());
    EXPECT_TRUE(WaitUntil([&] { return previewColour() == QColor(0, 160, 0); }, 5000))
        << qPrintable(previewColour().name());
    EXPECT_EQ(visibility(1), QStringLiteral("visible"));
    EXPECT_EQ(w->CurIdx, 2);

    // A click into the current page hides the preview, whether or not the
    // page had the focus; the refresh stops and the page rests again.
    w->Web(2)->SetFocus();
    WebView *view = w->Web(2)->Wb;
    QWidget *target = view->focusProxy() ? view->focusProxy() : view;
    QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_FALSE(w->picImg->isVisible());
    EXPECT_FALSE(w->tmrRfsh->isActive());
    EXPECT_TRUE(WaitUntil([&] { return visibility(1) == QStringLiteral("hidden"); }, 5000));
    EXPECT_EQ(visibility(2), QStringLiteral("visible"));

    // Selecting a tab shows its page and hides the other one.
    clickTab(1);
    EXPECT_TRUE(WaitUntil([&] { return visibility(1) == QStringLiteral("visible"); }, 5000));
    EXPECT_EQ(visibility(2), QStringLiteral("hidden"));

    // The window hidden and shown again keeps the background page hidden.
    w->hide();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    EXPECT_TRUE(WaitUntil([&] { return visibility(1) == QStringLiteral("visible"); }, 5000));
    EXPECT_EQ(visibility(2), QStringLiteral("hidden"));

    // Closing the current tab shows the page that takes over.
    w->AddPage();
    EXPECT_EQ(visibility(1), QStringLiteral("hidden"));
    w->Tabs_TabClose(3);
    EXPECT_TRUE(WaitUntil([&] { return visibility(2) == QStringLiteral("visible"); }, 5000));
}

} // namespace
