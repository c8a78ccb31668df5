// Tabs, pages and the window layout of the real main window (needs an X server
// for the pages' web views).
#include "Files.h"
#include "ProgramFolder.h"
#include "ThemeColors.h"
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
#include <QFocusEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

using tessivane::frmMain;

namespace {

// Records the positions a window is moved to.
class MoveRecorder : public QObject
{
public:
    explicit MoveRecorder(QWidget *w) : m_w(w) { w->installEventFilter(this); }
    QList<QPoint> moves;

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (watched == m_w && e->type() == QEvent::Move)
            moves.append(static_cast<QMoveEvent *>(e)->pos());
        return false;
    }

private:
    QWidget *m_w;
};

constexpr long kAct = 0x00AA00, kNrm = 0x0000AA, kMain = 0x123456;

class MainWindowTabs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        setProgramFolderOverride(folder.path() + QLatin1Char('/'));
        WriteSet(QStringLiteral("OnOpen"), QStringLiteral("3")); // a blank start page
        WriteSet(QStringLiteral("MobileMode"), QStringLiteral("0"));
        WriteSet(QStringLiteral("MinPass"), QStringLiteral("0"));
        ClrTabAct = kAct;
        ClrTabNrm = kNrm;
        ClrMain = kMain;
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
    // Position of a child in its parent's stacking order (higher is in front).
    static int stackPos(QWidget *c) { return int(c->parentWidget()->children().indexOf(c)); }

    QTemporaryDir folder;
    frmMain *w = nullptr;
};

TEST_F(MainWindowTabs, NewTabsGrowTheArraysAndBecomeCurrent)
{
    for (int k = 0; k < 3; ++k)
        w->AddPage();
    EXPECT_EQ(open(), std::vector<int>({1, 2, 3}));
    EXPECT_EQ(w->Tabs.count(), 4);
    EXPECT_EQ(w->CurIdx, 3);
    EXPECT_FALSE(w->Tabs(0)->isVisible());
    EXPECT_FALSE(w->Web(0)->isVisible());
    EXPECT_EQ(w->Tabs(3)->BackColor(), kAct);
    EXPECT_EQ(w->Tabs(1)->BackColor(), kNrm);
    EXPECT_EQ(w->Tabs(3)->ProColor(), kMain);
    // All pages stay visible; the current one lies above the others, the
    // panels above it.
    for (int i : {1, 2, 3})
        EXPECT_TRUE(w->Web(i)->isVisible());
    EXPECT_GT(stackPos(w->Web(3)), stackPos(w->Web(1)));
    EXPECT_GT(stackPos(w->picCaption), stackPos(w->Web(3)));
    EXPECT_GT(stackPos(w->picAddr), stackPos(w->Web(3)));
    // Side by side across the strip.
    EXPECT_DOUBLE_EQ(TLeft(w->Tabs(1)), 0);
    EXPECT_NEAR(TLeft(w->Tabs(2)), TWidth(w->Tabs(1)), 1);
}

TEST_F(MainWindowTabs, StripGeometryAndPageRectangle)
{
    w->AddPage();
    w->AddPage();
    // A strip whose inner width less the new-tab button is 6165 twips.
    SetTWidth(w->picTabBar, 6165 + TWidth(w->imgAddWeb));
    w->RfshTabs();
    EXPECT_DOUBLE_EQ(TWidth(w->Tabs(1)), 3082.5);
    EXPECT_DOUBLE_EQ(TLeft(w->Tabs(2)), 3082);
    // Collapsed address bar: the pages start right under the caption bar.
    SetTWidth(w->picAddr, 375);
    w->RfshTabs();
    EXPECT_DOUBLE_EQ(TTop(w->Web(1)), THeight(w->picCaption));
    SetTWidth(w->picAddr, 3000);
    w->RfshTabs();
    EXPECT_DOUBLE_EQ(TTop(w->Web(1)), THeight(w->picCaption) + THeight(w->picAddr));
    EXPECT_DOUBLE_EQ(TWidth(w->Web(2)), TScaleWidth(w));
}

TEST_F(MainWindowTabs, ClosingPicksTheNearestOpenTabAndLeavesAGap)
{
    for (int k = 0; k < 3; ++k)
        w->AddPage();
    w->Tabs(1)->setCaption(QStringLiteral("One"));
    w->Tabs_TabClose(2);
    EXPECT_EQ(open(), std::vector<int>({1, 3}));
    EXPECT_EQ(w->CurIdx, 1);
    EXPECT_EQ(w->Tabs(1)->BackColor(), kAct);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("One")); // the bare caption
    EXPECT_NEAR(TLeft(w->Tabs(3)), TWidth(w->Tabs(1)), 1);
    w->AddPage();
    EXPECT_EQ(open(), std::vector<int>({1, 3, 4}));

    // The leftmost tab hands over to its right neighbour, never to the template.
    w->Tabs_TabClose(1);
    EXPECT_EQ(open(), std::vector<int>({3, 4}));
    EXPECT_EQ(w->CurIdx, 3);
    EXPECT_EQ(w->Tabs(3)->BackColor(), kAct);
    EXPECT_FALSE(w->Web(0)->isVisible());
}

TEST_F(MainWindowTabs, OnlyFocusFromTheUserOrTheHostMakesAPageCurrent)
{
    for (int k = 0; k < 3; ++k)
        w->AddPage();
    auto focusIn = [&](int index, Qt::FocusReason reason) {
        QWidget *target = w->Web(index)->Wb->focusProxy() ? w->Web(index)->Wb->focusProxy() : w->Web(index)->Wb;
        QFocusEvent out(QEvent::FocusOut, reason);
        QFocusEvent in(QEvent::FocusIn, reason);
        QApplication::sendEvent(target, &in);
        QApplication::sendEvent(target, &out);
    };
    // Focus that Qt passes on when the focused page is hidden or closed.
    focusIn(2, Qt::TabFocusReason);
    focusIn(2, Qt::ActiveWindowFocusReason);
    EXPECT_EQ(w->CurIdx, 3);
    focusIn(2, Qt::MouseFocusReason);
    EXPECT_EQ(w->CurIdx, 2);
    focusIn(1, Qt::OtherFocusReason); // SetFocus
    EXPECT_EQ(w->CurIdx, 1);
}

TEST_F(MainWindowTabs, LastTabStaysOpen)
{
    w->AddPage();
    w->Tabs_TabClose(1);
    EXPECT_EQ(open(), std::vector<int>({1}));
    EXPECT_EQ(w->CurIdx, 1);
    EXPECT_EQ(w->Tabs(1)->BackColor(), kAct);
}

TEST_F(MainWindowTabs, TabClosedFromItsOwnEventIsDeletedLater)
{
    w->AddPage();
    w->AddPage();
    QPointer<ucTabs> tab = w->Tabs(2);
    QPointer<ucWeb> page = w->Web(2);
    QTest::mouseClick(tab->picTab, Qt::MiddleButton, {}, QPoint(20, 10));
    EXPECT_FALSE(w->Tabs.exists(2));
    EXPECT_FALSE(tab.isNull()); // still alive until the event loop comes round
    EXPECT_TRUE(WaitUntil([&] { return tab.isNull() && page.isNull(); }));
    QTest::mouseClick(w->Tabs(1)->picCls, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(w->Tabs.exists(1)); // the last tab stays
}

TEST_F(MainWindowTabs, OnlyThePageOnTopKeepsItsWebViewOnScreen)
{
    // Pages under the page on top stay loaded and visible controls, but
    // their web views leave the screen: the window does not compose them.
    w->AddPage();
    w->AddPage();
    w->AddPage();
    ASSERT_EQ(open(), std::vector<int>({1, 2, 3}));
    auto viewShown = [&](int i) { return !w->Web(i)->Wb->isHidden(); };
    for (int i : {1, 2, 3})
        EXPECT_TRUE(w->Web(i)->isVisible()) << i;
    EXPECT_FALSE(viewShown(1));
    EXPECT_FALSE(viewShown(2));
    EXPECT_TRUE(viewShown(3));

    w->Tabs_MouseUp(1, 1, 0, 0, 0); // select tab 1
    EXPECT_TRUE(viewShown(1));
    EXPECT_FALSE(viewShown(3));

    // The preview draws the page of the tab it shows.
    w->Tabs_MouseUp(2, 2, 0, 0, 0);
    EXPECT_TRUE(viewShown(2));
    EXPECT_TRUE(viewShown(1));
    w->Tabs_MouseUp(1, 1, 0, 0, 0);
    EXPECT_FALSE(viewShown(2));

    // Closing the tab on top shows the page that takes over.
    w->Tabs_TabClose(1);
    EXPECT_EQ(w->CurIdx, 2);
    EXPECT_TRUE(viewShown(2));
    EXPECT_FALSE(viewShown(3));
}

TEST_F(MainWindowTabs, RightClickPreviewsLeftClickSelects)
{
    w->AddPage();
    w->AddPage();
    w->Tabs_MouseUp(1, 2, 0, 0, 0);
    EXPECT_TRUE(w->picImg->isVisible());
    EXPECT_EQ(w->PreviewIdx, 1);
    EXPECT_EQ(w->CurIdx, 2);
    EXPECT_TRUE(w->tmrRfsh->isActive());
    EXPECT_NEAR(TLeft(w->picImg),
                TLeft(w->Tabs(1)) + TLeft(w->picTabBar) + (TWidth(w->Tabs(1)) - TWidth(w->picImg)) / 2, 15);
    w->Tabs(1)->setCaption(QStringLiteral("First"));
    w->Tabs_MouseUp(1, 1, 0, 0, 0);
    EXPECT_FALSE(w->picImg->isVisible());
    EXPECT_EQ(w->CurIdx, 1);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("First - Tessivane"));
    EXPECT_TRUE(WaitUntil([&] { return !w->tmrRfsh->isActive(); }));
    // Buttons without a meaning and indices without a tab do nothing.
    w->Tabs_MouseUp(1, 8, 0, 0, 0);
    w->Tabs_MouseUp(99, 1, 0, 0, 0);
    EXPECT_EQ(w->CurIdx, 1);
}

TEST_F(MainWindowTabs, LayoutFollowsTheWindow)
{
    w->AddPage();
    w->resize(1000, 700);
    const double sw = TScaleWidth(w), sh = TScaleHeight(w);
    EXPECT_DOUBLE_EQ(TWidth(w->picCaption), sw);
    double right = sw;
    for (VbImage *b : w->imgCtrl) {
        right -= TWidth(b);
        EXPECT_DOUBLE_EQ(TLeft(b), right);
    }
    EXPECT_DOUBLE_EQ(TLeft(w->imgBtn[1]), TWidth(w->imgBtn[0]));
    EXPECT_DOUBLE_EQ(TLeft(w->imgBtn[2]), TLeft(w->imgBtn[1]));
    EXPECT_DOUBLE_EQ(TWidth(w->picTabBar), sw - 3 * TWidth(w->imgBtn[0]) - 4 * TWidth(w->imgCtrl[0]) - 1000);
    EXPECT_DOUBLE_EQ(TLeft(w->imgAddWeb), TScaleWidth(w->picTabBar) - TWidth(w->imgAddWeb));
    // A hidden lock panel is parked above the client area, sized to it.
    EXPECT_DOUBLE_EQ(TTop(w->picPass), -sh);
    EXPECT_DOUBLE_EQ(TWidth(w->picPass), sw);
    // Closed panels just outside the right edge, open ones glued to it.
    EXPECT_DOUBLE_EQ(TLeft(w->picApp), sw);
    w->tmrSApp->Tag = QStringLiteral("1");
    w->resize(1100, 700);
    EXPECT_DOUBLE_EQ(TLeft(w->picApp), TScaleWidth(w) - TWidth(w->picApp));
    EXPECT_DOUBLE_EQ(TTop(w->picSta), TScaleHeight(w) - THeight(w->picSta));
    // A collapsed address bar keeps 375; an expanded one follows the width.
    SetTWidth(w->picAddr, 375);
    w->resize(1000, 700);
    EXPECT_DOUBLE_EQ(TWidth(w->picAddr), 375);
    SetTWidth(w->picAddr, 2000);
    w->resize(1050, 700);
    EXPECT_DOUBLE_EQ(TWidth(w->picAddr), TScaleWidth(w));
    EXPECT_DOUBLE_EQ(TLeft(w->picZoom), TWidth(w->picAddr) - TWidth(w->picZoom) - 120);
    // A window too narrow for the strip leaves it as it was.
    const double stripW = TWidth(w->picTabBar);
    w->resize(200, 300);
    EXPECT_DOUBLE_EQ(TWidth(w->picTabBar), stripW);
}

TEST_F(MainWindowTabs, MaximisedWindowCoversTheScreenAboveTheTaskbar)
{
    w->HookMaxSize(0, 0, 0, 0);
    // Never smaller than a caption bar that holds its buttons and a tab.
    w->resize(50, 20);
    EXPECT_TRUE(WaitUntil([&] { return w->width() >= 480 && w->height() >= 240; }, 2000));
    w->resize(900, 600);
    ASSERT_TRUE(WaitUntil([&] { return w->width() == 900 && w->height() == 600; }));
    w->picCaption_DblClick();
    const QScreen *scr = w->screen();
    const QRect expected(scr->geometry().topLeft(),
                         QSize(scr->geometry().width(), scr->availableGeometry().bottom() - scr->geometry().top() + 1));
    EXPECT_TRUE(WaitUntil([&] { return w->geometry() == expected; }));
    EXPECT_TRUE(WaitUntil([&] { return TWidth(w->picCaption) == TScaleWidth(w); }));
    w->picCaption_DblClick();
    EXPECT_TRUE(WaitUntil([&] { return w->width() == 900 && w->height() == 600; }));
    // The window button does the same.
    w->imgCtrl_MouseUp(1, 2, 0, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return w->geometry() == expected; }));
}

TEST_F(MainWindowTabs, CaptionBarDragsMaximisesAndShowsTheMenu)
{
    w->AddPage();
    w->move(50, 40);
    ASSERT_TRUE(WaitUntil([&] { return w->pos() == QPoint(50, 40); }));
    // An empty spot of the caption bar between the tab strip and the window buttons.
    const QPoint spot(TwipsToPx(TLeft(w->imgCtrl[3])) - 10, 10);
    ASSERT_EQ(w->picCaption->childAt(spot), nullptr);
    const QPoint start = w->pos();
    QTest::mousePress(w->picCaption, Qt::LeftButton, {}, spot);
    QTest::mouseMove(w->picCaption, spot + QPoint(1, 1)); // below the drag distance
    EXPECT_EQ(w->pos(), start);
    for (int k = 1; k <= 4; ++k)
        QTest::mouseMove(w->picCaption, w->picCaption->mapFromGlobal(w->picCaption->mapToGlobal(spot) + QPoint(10, 5)));
    QTest::mouseRelease(w->picCaption, Qt::LeftButton, {}, spot);
    EXPECT_TRUE(WaitUntil([&] { return w->pos() != start; }));

    // With the left and the right button down nothing moves. A sync with the
    // X server delivers every move it has seen: the drag's before the check
    // starts, one that the buttons made before the check ends.
    QGuiApplication::sync();
    const QPoint before = w->pos();
    MoveRecorder recorder(w);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(spot), w->picCaption->mapToGlobal(QPointF(spot)),
                      Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(w->picCaption, &press);
    for (const int dx : {40, 80}) {
        QMouseEvent move(QEvent::MouseMove, QPointF(spot + QPoint(dx, 0)),
                         w->picCaption->mapToGlobal(QPointF(spot + QPoint(dx, 0))), Qt::NoButton,
                         Qt::LeftButton | Qt::RightButton, {});
        QApplication::sendEvent(w->picCaption, &move);
    }
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(spot), w->picCaption->mapToGlobal(QPointF(spot)),
                        Qt::LeftButton, Qt::NoButton, {});
    QApplication::sendEvent(w->picCaption, &release);
    QGuiApplication::sync();
    EXPECT_TRUE(recorder.moves.isEmpty());
    EXPECT_EQ(w->pos(), before);

    // Double-click maximises; the right button pops up the tools menu.
    QTest::mouseDClick(w->picCaption, Qt::LeftButton, {}, spot);
    EXPECT_TRUE(WaitUntil([&] { return w->width() == w->screen()->geometry().width(); }));
    QTest::mouseClick(w->picCaption, Qt::RightButton, {}, spot);
    EXPECT_TRUE(WaitUntil([&] { return w->mnuMain->isVisible(); }));
    w->mnuMain->hide();
}

TEST_F(MainWindowTabs, EdgesOfTheFramelessWindowShowTheSizingCursor)
{
    w->AddPage();
    QWidget *page = w->Web(1);
    auto hover = [&](QPoint inWindow) {
        const QPoint local = page->mapFrom(w, inWindow);
        QMouseEvent e(QEvent::MouseMove, QPointF(local), page->mapToGlobal(QPointF(local)), Qt::NoButton,
                      Qt::NoButton, {});
        QApplication::sendEvent(page, &e);
    };
    hover(QPoint(w->width() - 2, 300));
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::SizeHorCursor);
    hover(QPoint(w->width() - 2, w->height() - 2));
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::SizeFDiagCursor);
    hover(QPoint(300, 300));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

} // namespace
