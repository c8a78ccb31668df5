// Hostile pages against the loopback server: a page cannot speak for the
// browser's own script, its title is text, its dialogs can be stopped and do
// not hold the program, and it cannot open windows without end.
#include "EventRecorder.h"
#include "LoopbackServer.h"
#include "MainWindowSetup.h"

#include "Files.h"
#include "PageDialog.h"
#include "PageDialogCloseWatch.h"
#include "PageGuard.h"
#include "ProgramFolder.h"
#include "TerminationSignal.h"
#include "WebFileDialog.h"
#include "WebView.h"
#include "frmMain.h"
#include "ucTabs.h"
#include "ucWeb.h"
#include "WaitUntil.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

using tessivane::frmMain;

namespace {

// Answers page dialogs as the user would: every 20 ms it looks for a modal
// dialog and hands it to the current step. It runs inside the dialogs' own
// event loops, where the test's code below them cannot.
class DialogDriver : public QObject
{
public:
    using Step = std::function<void(QWidget *dialog, int number)>;

    explicit DialogDriver(Step step) : m_step(std::move(step))
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal || modal == m_last || !modal->isVisible())
                return;
            m_last = modal;
            ++count;
            if (qobject_cast<PageDialog *>(modal))
                ++pageDialogs;
            m_step(modal, count);
        });
        m_timer.start(20);
    }

    int count = 0;
    int pageDialogs = 0;

private:
    Step m_step;
    QTimer m_timer;
    QPointer<QWidget> m_last;
};

bool HasStopBox(QWidget *dialog)
{
    auto *d = qobject_cast<PageDialog *>(dialog);
    return d && d->stopBox();
}

void Press(QWidget *dialog, const char *button)
{
    if (auto *b = dialog->findChild<QPushButton *>(QLatin1String(button))) {
        b->click();
        return;
    }
    dialog->close();
}

void TickStop(QWidget *dialog)
{
    if (auto *d = qobject_cast<PageDialog *>(dialog); d && d->stopBox())
        d->stopBox()->setChecked(true);
}

class HostilePage : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        setProgramFolderOverride(folder.path() + QLatin1Char('/'));
        WriteSet(QStringLiteral("MobileMode"), QStringLiteral("0"));
        ASSERT_TRUE(server.start());
        WebFileDialog::setSaveFunction([this](QWidget *, const QString &, const QString &) {
            ++saveDialogs;
            return QString();
        });
    }
    void TearDown() override
    {
        WebFileDialog::setSaveFunction(nullptr);
        children.clear();
        delete rec;
        delete web;
        PageDialog::release();
        setProgramFolderOverride(QString());
    }
    void openPage()
    {
        web = new ucWeb;
        web->resize(640, 480);
        web->show();
        rec = new EventRecorder(web);
    }
    bool load(const QString &path, const QString &title)
    {
        web->GoURL(server.url(path));
        return WaitFor([&] { return web->LocationName() == title; }, 15000);
    }
    QString away() const
    {
        // Another site than the page's: the engine gives it a fresh process.
        return QStringLiteral("http://localhost:%1/away").arg(server.port());
    }

    QTemporaryDir folder;
    QTemporaryDir appFolder; // for the main window: a copy of the shipped folder
    LoopbackServer server;
    ucWeb *web = nullptr;
    EventRecorder *rec = nullptr;
    std::vector<std::unique_ptr<ucWeb>> children;
    int saveDialogs = 0;
};

TEST_F(HostilePage, ForgedBridgeMessagesHaveNoEffect)
{
    LoopbackServer::Response zip;
    zip.contentType = "application/zip";
    zip.body = "PK";
    zip.headers = {{"Content-Disposition", "attachment; filename=\"a.zip\""}};
    server.route("/files/a.zip", zip);
    // Everything a page's script can reach, then a download while the body
    // has the focus (the browser's script reports no link for it).
    server.page("/forge", R"(<html><head><title>forge</title></head><body><p>x</p><script>
var fake = JSON.stringify({has: true, href: 'http://evil.invalid/stolen.bin'});
window.postMessage(fake, '*');
window.__tessAppObjs = {}; window.prefix = 'tessivane-active:';
setTimeout(function () {
  ['\x01tessivane-active:', 'tessivane-active:', 'tessivane-active::', ''].forEach(function (p) {
    console.log(p + fake); console.info(p + fake); console.error(p + fake);
  });
  location.href = '/files/a.zip';
}, 100);
</script></body></html>)");
    openPage();
    ASSERT_TRUE(load(QStringLiteral("/forge"), QStringLiteral("forge")));
    ASSERT_TRUE(WaitFor([&] { return saveDialogs >= 1; }, 15000)); // the download reached the browser
    for (const QString &e : rec->events)
        EXPECT_FALSE(e.contains(QLatin1String("evil.invalid"))) << e.toStdString();
    EXPECT_TRUE(rec->only({QStringLiteral("FilDwn")}).isEmpty());
}

TEST_F(HostilePage, RichTextTitleShowsAsTextInTheTabLabelItsTipAndTheCaption)
{
    const QString title = QStringLiteral("<b>粗</b><img src=x><font color=red>红</font>");
    server.page("/rich", "<html><head><title>" + title.toUtf8() + "</title></head><body>rich</body></html>");
    frmMain *w = OpenMainWindow(appFolder.path());
    ASSERT_TRUE(w);
    std::unique_ptr<frmMain> own(w);
    w->WebGoTo(server.url(QStringLiteral("/rich")));
    ucTabs *tab = w->Tabs(w->CurIdx);
    ASSERT_TRUE(tab);
    ASSERT_TRUE(WaitUntil([&] { return tab->Caption() == title; }, 15000));

    EXPECT_EQ(tab->lblCap->textFormat(), Qt::PlainText);
    const QString tip = tab->lblCap->toolTip();
    if (Qt::mightBeRichText(tip)) {
        QTextDocument shown;
        shown.setHtml(tip);
        EXPECT_EQ(shown.toPlainText(), title);
    } else {
        EXPECT_EQ(tip, title);
    }
    EXPECT_EQ(w->windowTitle(), title + QStringLiteral(" - Tessivane"));
}

TEST_F(HostilePage, FromTheSecondDialogOnThePageCanBeStopped)
{
    server.page("/dialogs", R"(<html><head><title>dialogs</title></head><body><script>
var r = [];
r.push(confirm('<b>c1</b>'));
r.push(prompt('p2', 'def'));
r.push(confirm('c3'));
r.push(prompt('p4', 'x'));
for (var i = 0; i < 300; i++) alert(i);
document.title = JSON.stringify(r);
</script></body></html>)");
    QStringList texts;
    QList<bool> boxes;
    DialogDriver driver([&](QWidget *d, int n) {
        boxes << HasStopBox(d);
        if (auto *label = d->findChild<QLabel *>(QStringLiteral("lblText")))
            texts << (label->textFormat() == Qt::PlainText ? label->text() : QStringLiteral("rich"));
        switch (n) {
        case 1: Press(d, "cmdOK"); break;
        case 2:
            if (auto *edit = d->findChild<QLineEdit *>(QStringLiteral("txtValue"))) {
                EXPECT_EQ(edit->text(), QStringLiteral("def"));
                edit->setText(QStringLiteral("值"));
            }
            Press(d, "cmdOK");
            break;
        case 3:
            TickStop(d);
            Press(d, "cmdCancel");
            break;
        default:
            TickStop(d);
            Press(d, "cmdOK");
            break;
        }
    });
    openPage();
    ASSERT_TRUE(load(QStringLiteral("/dialogs"), QStringLiteral("[true,\"值\",false,null]")));
    EXPECT_EQ(driver.count, 3);
    EXPECT_EQ(driver.pageDialogs, 3);
    EXPECT_EQ(boxes, QList<bool>({false, true, true}));
    EXPECT_EQ(texts, QStringList({QStringLiteral("<b>c1</b>"), QStringLiteral("p2"), QStringLiteral("c3")}));

    // The page reloading itself does not lift the stop; the browser sending it there again does.
    // The title can arrive before the load ends: wait for the end, so the reload is a load of its own.
    ASSERT_TRUE(WaitFor([&] { return rec->docCompletes >= 1; }, 15000));
    const int completed = rec->docCompletes;
    web->Wb->page()->runJavaScript(QStringLiteral("location.reload()"));
    ASSERT_TRUE(WaitFor([&] { return rec->docCompletes > completed; }, 15000));
    EXPECT_EQ(driver.count, 3);
    ASSERT_TRUE(load(QStringLiteral("/dialogs?again"), QStringLiteral("dialogs")));
    ASSERT_TRUE(WaitFor([&] { return driver.count >= 4; }, 15000));
    EXPECT_FALSE(boxes.at(3));
}

TEST_F(HostilePage, AnEndlessAlertLoopCanBeStoppedAndLeft)
{
    server.page("/loop", "<html><head><title>loop</title></head><body><script>for(;;) alert(1);</script></body></html>");
    server.page("/away", "<html><head><title>away</title></head><body>away</body></html>");
    QList<bool> boxes;
    DialogDriver driver([&](QWidget *d, int n) {
        boxes << HasStopBox(d);
        if (n >= 2)
            TickStop(d);
        // An unfixed browser would show dialogs without end: give up after a few.
        if (n > 6)
            PageDialog::holdAll();
        Press(d, "cmdOK");
    });
    openPage();
    web->GoURL(server.url(QStringLiteral("/loop")));
    ASSERT_TRUE(WaitFor([&] { return driver.count >= 2; }, 15000));
    web->GoURL(away());
    ASSERT_TRUE(WaitFor([&] { return web->LocationName() == QStringLiteral("away"); }, 15000));
    EXPECT_EQ(driver.count, 2);
    EXPECT_EQ(boxes, QList<bool>({false, true}));
}

// Sends the window manager's close request for window, as a close button of
// the desktop does.
bool SendWindowManagerClose(QWidget *window)
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return false;
    xcb_connection_t *c = x11->connection();
    auto atom = [c](const char *name) {
        xcb_intern_atom_reply_t *r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(r);
        return a;
    };
    xcb_client_message_event_t ev;
    std::memset(&ev, 0, sizeof ev);
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = xcb_window_t(window->winId());
    ev.type = atom("WM_PROTOCOLS");
    ev.data.data32[0] = atom("WM_DELETE_WINDOW");
    ev.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c, 0, ev.window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&ev));
    xcb_flush(c);
    return true;
}

TEST_F(HostilePage, ClosingTheWindowWorksWhileAPageDialogIsUp)
{
    server.page("/loop", "<html><head><title>loop</title></head><body><script>for(;;) alert(1);</script></body></html>");
    ASSERT_TRUE(PageDialogCloseWatch::install());
    frmMain *w = OpenMainWindow(appFolder.path());
    ASSERT_TRUE(w);
    std::unique_ptr<frmMain> own(w);
    QElapsedTimer clock;
    bool sent = false;
    DialogDriver driver([&](QWidget *, int) {
        if (!sent) {
            sent = SendWindowManagerClose(w);
            clock.start();
        }
    });
    // A browser that keeps the window: after a while the test lets go of the
    // page (its dialogs closed, the tab sent to another site).
    bool gaveUp = false;
    QTimer giveUp;
    QObject::connect(&giveUp, &QTimer::timeout, [&] {
        if (!sent || clock.elapsed() < 8000)
            return;
        PageDialog::holdAll();
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
        if (!gaveUp) {
            gaveUp = true;
            if (ucWeb *page = w->Web(w->CurIdx))
                page->GoURL(away());
        }
    });
    giveUp.start(100);
    w->WebGoTo(server.url(QStringLiteral("/loop")));
    ASSERT_TRUE(WaitUntil([&] { return sent; }, 15000));
    EXPECT_TRUE(WaitUntil([&] { return !w->isVisible(); }, 12000));
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(PageDialog::openCount(), 0);
}

TEST_F(HostilePage, SigTermReachesTheProgramWhileAPageDialogIsUp)
{
    server.page("/loop", "<html><head><title>loop</title></head><body><script>for(;;) alert(1);</script></body></html>");
    server.page("/away", "<html><head><title>away</title></head><body>away</body></html>");
    bool terminated = false;
    ASSERT_TRUE(TerminationSignal::install([&] {
        terminated = true;
        PageDialog::holdAll();
    }));
    DialogDriver driver([&](QWidget *, int n) {
        if (n == 1)
            std::raise(SIGTERM);
    });
    openPage();
    web->GoURL(server.url(QStringLiteral("/loop")));
    ASSERT_TRUE(WaitFor([&] { return terminated; }, 15000));
    EXPECT_TRUE(WaitFor([&] { return PageDialog::openCount() == 0; }, 5000));
    EXPECT_EQ(driver.count, 1); // later dialogs are answered at once
    web->GoURL(away());
    EXPECT_TRUE(WaitFor([&] { return web->LocationName() == QStringLiteral("away"); }, 15000));
}

TEST_F(HostilePage, WindowsWithoutAGestureAreCapped)
{
    server.page("/spawn", R"(<html><head><title>spawn</title></head><body style="margin:0">
<button id=b style="position:absolute;left:0;top:0;width:300px;height:200px"
  onclick="for (var i = 0; i < 5; i++) window.open('/child?click' + i); document.title = 'clicked';">go</button>
<script>for (var i = 0; i < 200; i++) window.open('/child?' + i); document.title = 'spawned';</script></body></html>)");
    server.page("/child", R"(<html><head><title>child</title></head><body><script>
for (var i = 0; i < 5; i++) window.open('/grandchild?' + i); document.title = 'child done';
</script></body></html>)");
    int grandchildren = 0;
    openPage();
    rec->newWindow = [&](QObject **pp, bool *) {
        auto child = std::make_unique<ucWeb>();
        child->resize(320, 240);
        child->show();
        QObject::connect(child.get(), &ucWeb::NewWndw2, [&](QObject **, bool *) { ++grandchildren; });
        *pp = child->wObject();
        children.push_back(std::move(child));
    };
    ASSERT_TRUE(load(QStringLiteral("/spawn"), QStringLiteral("spawned")));
    EXPECT_EQ(children.size(), 2u);
    ASSERT_TRUE(WaitFor([&] {
        for (const auto &c : children) {
            if (c->LocationName() != QStringLiteral("child done"))
                return false;
        }
        return true;
    }, 15000));
    EXPECT_EQ(grandchildren, 0); // a page opened that way opens none

    // A click opens one window however many the handler asks for.
    const size_t before = children.size();
    QWidget *input = web->Wb->focusProxy() ? web->Wb->focusProxy() : web->Wb;
    QTest::mouseClick(input, Qt::LeftButton, {}, QPoint(60, 60));
    ASSERT_TRUE(WaitFor([&] { return web->LocationName() == QStringLiteral("clicked"); }, 15000));
    EXPECT_EQ(children.size(), before + 1);

    // Sent there again by the browser, the page has its allowance anew.
    ASSERT_TRUE(load(QStringLiteral("/spawn?again"), QStringLiteral("spawned")));
    EXPECT_EQ(children.size(), before + 3);
}

} // namespace

namespace {

TEST(PageGuardRules, DialogsAndWindowsStartAfreshOnlyWithTheBrowsersNextDocument)
{
    PageGuard g;
    // A fresh page (a window a page opened) has no allowance until the browser sends it somewhere.
    EXPECT_FALSE(g.allowWindow(false));
    EXPECT_TRUE(g.allowWindow(true));
    EXPECT_FALSE(g.documentCreated()); // the page navigating itself renews nothing

    EXPECT_FALSE(g.countDialog());
    EXPECT_TRUE(g.countDialog());
    EXPECT_TRUE(g.countDialog());
    g.stopDialogs();

    g.browserNavigates();
    EXPECT_TRUE(g.dialogsStopped()); // the page being left stays quiet
    EXPECT_FALSE(g.allowWindow(false));
    EXPECT_TRUE(g.documentCreated());
    EXPECT_FALSE(g.dialogsStopped());
    EXPECT_FALSE(g.countDialog());
    EXPECT_TRUE(g.countDialog());
    for (int i = 0; i < PageGuard::kWindowsWithoutGesture; ++i)
        EXPECT_TRUE(g.allowWindow(false));
    EXPECT_FALSE(g.allowWindow(false));
    EXPECT_EQ(g.windowsLeft(), 0);
    EXPECT_TRUE(g.allowWindow(true));
    EXPECT_FALSE(g.documentCreated()); // once per navigation
}

} // namespace
