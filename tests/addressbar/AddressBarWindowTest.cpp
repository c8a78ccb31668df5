// The address bar, the page-event reactions and the lock in the real main
// window, against a loopback server and a temporary program folder.
#include "TestProgramFolder.h"

#include "Files.h"
#include "Twips.h"
#include "frmMain.h"
#include "ucListBox.h"
#include "ucTabs.h"
#include "ucWeb.h"

#include <QKeyEvent>
#include <QMenu>
#include <QWebEnginePage>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStyle>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <memory>

using tessivane::frmMain;

namespace {

// Pages load from the loopback server; a busy machine running many tests at
// once may take a while to start the web engine.
constexpr int kLoadWaitMs = 30000;

// Serves small pages on 127.0.0.1 and records every requested path.
class PageServer : public QObject
{
public:
    PageServer()
    {
        m_server.listen(QHostAddress::LocalHost, 0);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = m_server.nextPendingConnection()) {
                connect(s, &QTcpSocket::readyRead, s, [this, s] { serve(s); });
                connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            }
        });
    }
    QString base() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()); }
    QStringList paths;
    QList<QByteArray> rawTargets; // as they came, favicon requests included
    int count(const QString &path) const { return int(paths.count(path)); }

private:
    void serve(QTcpSocket *s)
    {
        QByteArray &buf = m_buffers[s];
        buf += s->readAll();
        if (!buf.contains("\r\n\r\n"))
            return;
        const QByteArray first = buf.left(buf.indexOf("\r\n"));
        buf.clear();
        rawTargets << first.split(' ').value(1);
        const QString path = QString::fromUtf8(QByteArray::fromPercentEncoding(first.split(' ').value(1)));
        if (path != QStringLiteral("/favicon.ico"))
            paths << path;
        QString title = QStringLiteral("page");
        QString script;
        if (path.startsWith(QStringLiteral("/title/")))
            title = path.mid(7);
        // a page that opens a window of its own
        if (path.startsWith(QStringLiteral("/open/")))
            script = QStringLiteral("<script>window.open('/%1');</script>").arg(path.mid(6));
        // a page that names itself only after it loaded, as adverts do
        if (path.startsWith(QStringLiteral("/late/"))) {
            script = QStringLiteral("<script>setTimeout(function(){document.title='%1';},30);</script>").arg(path.mid(6));
            title = QStringLiteral("loading");
        }
        const QByteArray body = QStringLiteral("<html><head><meta charset='utf-8'><title>%1</title></head>"
                                               "<body>%2%3</body></html>")
                                    .arg(title.toHtmlEscaped(), path.toHtmlEscaped(), script)
                                    .toUtf8();
        s->write("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nConnection: close\r\nContent-Length: "
                 + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        s->disconnectFromHost();
    }
    QTcpServer m_server;
    QHash<QTcpSocket *, QByteArray> m_buffers;
};

// Whether a stands above b among their siblings.
bool Above(const QWidget *a, const QWidget *b)
{
    const QObjectList &c = a->parentWidget()->children();
    return c.indexOf(a) > c.indexOf(b);
}

void SendKey(QWidget *w, QEvent::Type type, int key, bool autoRepeat, const QString &text = QString())
{
    QKeyEvent e(type, key, Qt::NoModifier, text, autoRepeat);
    QApplication::sendEvent(w, &e);
}

} // namespace

class AddressBarWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void typingFillsTheListAndShowsIt();
    void enterOnTheSearchRowSearchesAndRecordsNothing();
    void enterOnAHistoryRowNavigatesAndRecordsIt();
    void upAndDownMoveTheSelection();
    void recordsTheNavigatedTextWhateverHappensMeanwhile();
    void heldEnterNavigatesOnceAndEmptyBoxNothing();
    void zoomButtonsStepWithinLimits();
    void lockOpensOnlyWithThePassword();
    void lockDuringUnlockGlideStays();
    void lockKeepsInputFromTheWindow();
    void lockLeavesTheCaptionBarWorking();
    void filteredTitleLocks();
    void advertTitleClosesItsTab();
    void advertStartPageDoesNotLoop();
    void pageEventsOfTheCurrentTabOnly();
    void newWindowOpensAsNewCurrentTab();

private:
    void makeWindow();
    void typeAddress(const QString &text);
    void pressEnter();
    bool loadedPath(const QString &path) const;
    void setConfig(const QString &extra = QString());

    TestProgramFolder *m_folder = nullptr;
    PageServer *m_server = nullptr;
    frmMain *m_w = nullptr;
};

void AddressBarWindowTest::setConfig(const QString &extra)
{
    m_folder->writeText(QStringLiteral("config.ini"),
                        QStringLiteral("[Setting]\r\nOnOpen=0\r\nHomePage=%1/home\r\nZoom=100\r\nAddr=1\r\n"
                                       "Search=%1/s?q=\r\nPassword=secret\r\nMinPass=0\r\nUseFilter=0\r\n"
                                       "Filter=000\r\nFilterText=\r\nMobileMode=0\r\n%2"
                                       "[Theme]\r\nTheme=Default.ini\r\n")
                            .arg(m_server->base(), extra));
}

void AddressBarWindowTest::init()
{
    m_folder = new TestProgramFolder;
    m_server = new PageServer;
    setConfig();
    m_folder->writeHistory({});
}

void AddressBarWindowTest::cleanup()
{
    delete m_w;
    m_w = nullptr;
    delete m_server;
    m_server = nullptr;
    delete m_folder;
    m_folder = nullptr;
}

void AddressBarWindowTest::makeWindow()
{
    m_w = new frmMain;
    m_w->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_w));
    // no window manager under Xvfb: make the window the active one directly
    m_w->activateWindow();
    QApplication::setActiveWindow(m_w);

    m_w->AddPage();
    m_w->Form_Resize();
    // expand the address bar as a user would, and wait for the glide
    m_w->picAddr_MouseUp(1, 0, 0, 0);
    QTRY_VERIFY_WITH_TIMEOUT(!m_w->tmrSTxt->isActive(), kLoadWaitMs);
    QVERIFY(TWidth(m_w->txtAddr) > 1000);
    // the pages' native children may have made the window anew: activate it again
    m_w->activateWindow();
    QApplication::setActiveWindow(m_w);
}

void AddressBarWindowTest::typeAddress(const QString &text)
{
    m_w->txtAddr->setFocus();
    m_w->txtAddr->clear();
    QTest::keyClicks(m_w->txtAddr, text);
}

void AddressBarWindowTest::pressEnter()
{
    QTest::keyClick(m_w->txtAddr, Qt::Key_Return);
}

bool AddressBarWindowTest::loadedPath(const QString &path) const
{
    return m_server->paths.contains(path);
}

void AddressBarWindowTest::typingFillsTheListAndShowsIt()
{
    makeWindow();
    m_folder->installApps({QStringLiteral("Demo"), QStringLiteral("Node")});
    m_folder->writeHistory({QStringLiteral("http://x.org/"), QStringLiteral("http://demo.org/")});
    QTest::mouseClick(m_w->txtAddr, Qt::LeftButton);
    QVERIFY(m_w->lstAddr->isVisible());
    QCOMPARE(TWidth(m_w->lstAddr), TWidth(m_w->txtAddr));
    typeAddress(QStringLiteral("de"));
    QVERIFY(m_w->lstAddr->isVisible());
    QCOMPARE(m_w->lstAddr->lblApp->text(), QStringLiteral("找到 2 个关于 de 的应用"));
    QCOMPARE(m_w->lstAddr->Selected(), QStringLiteral("http://demo.org/"));
    // the list stands right under the address box
    QCOMPARE(TLeft(m_w->lstAddr), TLeft(m_w->txtAddr));
    QCOMPARE(TTop(m_w->lstAddr), THeight(m_w->picCaption) + THeight(m_w->picAddr));
    // emptying the box hides the list and leaves its rows
    QTest::keyClick(m_w->txtAddr, Qt::Key_Backspace);
    QTest::keyClick(m_w->txtAddr, Qt::Key_Backspace);
    QVERIFY(!m_w->lstAddr->isVisible());
    QCOMPARE(m_w->lstAddr->Selected(), QStringLiteral("http://demo.org/"));
}

void AddressBarWindowTest::enterOnTheSearchRowSearchesAndRecordsNothing()
{
    makeWindow();
    m_folder->writeHistory({QStringLiteral("http://x.org/")});
    const QByteArray before = m_folder->readBytes(QStringLiteral("Data\\InputHis.ini"));
    typeAddress(QStringLiteral("a b"));
    QVERIFY(m_w->lstAddr->SeledSearch());
    pressEnter();
    QTRY_VERIFY_WITH_TIMEOUT(loadedPath(QStringLiteral("/s?q=a b")), kLoadWaitMs);
    QCOMPARE(m_folder->readBytes(QStringLiteral("Data\\InputHis.ini")), before);
    // the search receives exactly what was typed, "#", "&" and "+" included
    typeAddress(QStringLiteral("C# & x+y"));
    QVERIFY(m_w->lstAddr->SeledSearch());
    pressEnter();
    QTRY_VERIFY_WITH_TIMEOUT(m_server->paths.contains(QStringLiteral("/s?q=C# & x+y")), kLoadWaitMs);
    QVERIFY(m_server->rawTargets.contains(QByteArray("/s?q=C%23%20%26%20x%2By")));
    QCOMPARE(m_folder->readBytes(QStringLiteral("Data\\InputHis.ini")), before);
}

void AddressBarWindowTest::enterOnAHistoryRowNavigatesAndRecordsIt()
{
    makeWindow();
    const QString p1 = m_server->base() + QStringLiteral("/one");
    const QString p2 = m_server->base() + QStringLiteral("/two");
    m_folder->writeHistory({p1, p2});
    typeAddress(QStringLiteral("two"));
    QCOMPARE(m_w->lstAddr->Selected(), p2);
    pressEnter();
    QTRY_VERIFY_WITH_TIMEOUT(loadedPath(QStringLiteral("/two")), kLoadWaitMs);
    QCOMPARE(m_folder->readBytes(QStringLiteral("Data\\InputHis.ini")),
             (p2 + QStringLiteral("@@") + p1 + QStringLiteral("@@\r\n")).toLatin1());

    // a click on the list's selection bar is Enter
    typeAddress(QStringLiteral("one"));
    QTest::mouseClick(m_w->lstAddr->lblSel, Qt::LeftButton, {}, QPoint(5, 5));
    QTRY_VERIFY_WITH_TIMEOUT(loadedPath(QStringLiteral("/one")), kLoadWaitMs);
    QCOMPARE(m_folder->readBytes(QStringLiteral("Data\\InputHis.ini")),
             (p1 + QStringLiteral("@@") + p2 + QStringLiteral("@@\r\n")).toLatin1());
}

void AddressBarWindowTest::upAndDownMoveTheSelection()
{
    makeWindow();
    m_folder->writeHistory({QStringLiteral("http://a1.org/"), QStringLiteral("http://a2.org/")});
    typeAddress(QStringLiteral("a"));
    QCOMPARE(m_w->lstAddr->selRow(), 3);
    m_w->txtAddr->setCursorPosition(1);
    QTest::keyClick(m_w->txtAddr, Qt::Key_Down);
    QCOMPARE(m_w->lstAddr->Selected(), QStringLiteral("http://a2.org/"));
    QCOMPARE(m_w->txtAddr->cursorPosition(), 0);
    QTest::keyClick(m_w->txtAddr, Qt::Key_Down); // last row: stays
    QCOMPARE(m_w->lstAddr->selRow(), 4);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(m_w->txtAddr, Qt::Key_Up);
    QCOMPARE(m_w->lstAddr->selRow(), 1);
    QVERIFY(m_w->lstAddr->SeledSearch());
    QCOMPARE(m_w->lstAddr->Selected(), QStringLiteral("a"));
    pressEnter();
    QTRY_VERIFY_WITH_TIMEOUT(loadedPath(QStringLiteral("/s?q=a")), kLoadWaitMs);
}

void AddressBarWindowTest::recordsTheNavigatedTextWhateverHappensMeanwhile()
{
    makeWindow();
    const QString three = m_server->base() + QStringLiteral("/three");
    const QString two = m_server->base() + QStringLiteral("/two");
    m_folder->writeHistory({three, two});
    typeAddress(QStringLiteral("t"));
    QTest::keyClick(m_w->txtAddr, Qt::Key_Down);
    QCOMPARE(m_w->lstAddr->Selected(), two);
    // input that arrives while the navigation starts moves the selection
    QMetaObject::invokeMethod(m_w->lstAddr, [this] { m_w->lstAddr->ChangeSelect(0); }, Qt::QueuedConnection);
    pressEnter();
    QCOMPARE(m_w->lstAddr->Selected(), three);
    QCOMPARE(m_folder->readBytes(QStringLiteral("Data\\InputHis.ini")),
             (two + QStringLiteral("@@") + three + QStringLiteral("@@\r\n")).toLatin1());
    QTRY_VERIFY_WITH_TIMEOUT(loadedPath(QStringLiteral("/two")), kLoadWaitMs);
    QVERIFY(!loadedPath(QStringLiteral("/three")));
}

void AddressBarWindowTest::heldEnterNavigatesOnceAndEmptyBoxNothing()
{
    makeWindow();
    const QString p = m_server->base() + QStringLiteral("/held");
    typeAddress(p);
    QVERIFY(!m_w->lstAddr->SeledSearch());
    // X11 sends release and press pairs while a key is held
    SendKey(m_w->txtAddr, QEvent::KeyPress, Qt::Key_Return, false, QStringLiteral("\r"));
    for (int i = 0; i < 5; ++i) {
        SendKey(m_w->txtAddr, QEvent::KeyRelease, Qt::Key_Return, true, QStringLiteral("\r"));
        SendKey(m_w->txtAddr, QEvent::KeyPress, Qt::Key_Return, true, QStringLiteral("\r"));
    }
    SendKey(m_w->txtAddr, QEvent::KeyRelease, Qt::Key_Return, false, QStringLiteral("\r"));
    // one navigation, recorded once
    QCOMPARE(m_folder->readBytes(QStringLiteral("Data\\InputHis.ini")), (p + QStringLiteral("@@\r\n")).toLatin1());
    QTRY_VERIFY_WITH_TIMEOUT(loadedPath(QStringLiteral("/held")), kLoadWaitMs);

    // an empty box navigates nothing, whatever the list still holds
    QSignalSpy starts(m_w->Web(m_w->CurIdx), &ucWeb::BfrNav2);
    m_w->txtAddr->setFocus();
    m_w->txtAddr->clear();
    pressEnter();
    QVERIFY(!starts.wait(500));
    QCOMPARE(m_folder->readBytes(QStringLiteral("Data\\InputHis.ini")), (p + QStringLiteral("@@\r\n")).toLatin1());
}

void AddressBarWindowTest::zoomButtonsStepWithinLimits()
{
    makeWindow();
    const struct
    {
        QString start;
        int index;
        QString label;
        QString stored;
    } cases[] = {
        {QStringLiteral("100%"), 0, QStringLiteral("150%"), QStringLiteral("150")},
        {QStringLiteral("1000%"), 0, QStringLiteral("1000%"), QStringLiteral("keep")},
        {QStringLiteral("50%"), 1, QStringLiteral("50%"), QStringLiteral("keep")},
        {QStringLiteral("75%"), 1, QStringLiteral("75%"), QStringLiteral("keep")},
        {QStringLiteral("75%"), 0, QStringLiteral("125%"), QStringLiteral("125")},
        {QStringLiteral("odd%"), 1, QStringLiteral("50%"), QStringLiteral("50")},
    };
    for (const auto &c : cases) {
        WriteSet(QStringLiteral("Zoom"), QStringLiteral("keep"));
        m_w->lblZmVl->setText(c.start);
        QTest::mouseClick(m_w->lblPlMi[c.index], Qt::LeftButton);
        QCOMPARE(m_w->lblZmVl->text(), c.label);
        QCOMPARE(ReadSet(QStringLiteral("Zoom")), c.stored);
    }
    QTest::mouseClick(m_w->lblZmVl, Qt::LeftButton);
    QCOMPARE(m_w->lblZmVl->text(), QStringLiteral("100%"));
    QCOMPARE(ReadSet(QStringLiteral("Zoom")), QStringLiteral("100"));

    // every later navigation of the current page takes the label's zoom
    QTest::mouseClick(m_w->lblPlMi[0], Qt::LeftButton);
    m_w->WebGoTo(m_server->base() + QStringLiteral("/zoomed"));
    const auto zoom = std::make_shared<QString>();
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            auto *page = qobject_cast<QWebEnginePage *>(m_w->Web(m_w->CurIdx)->Docoment());
            if (page && page->url().path() == QStringLiteral("/zoomed"))
                page->runJavaScript(QStringLiteral("document.body ? document.body.style.zoom : ''"),
                                    [zoom](const QVariant &v) { *zoom = v.toString(); });
            return *zoom == QStringLiteral("150%");
        }(),
        kLoadWaitMs);
}

void AddressBarWindowTest::lockOpensOnlyWithThePassword()
{
    makeWindow();
    m_w->ShowLock();
    QVERIFY(m_w->IsLocked());
    QCOMPARE(TTop(m_w->picPass), THeight(m_w->picCaption));
    QCOMPARE(m_w->txtPass->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, m_w->txtPass),
             int('#'));
    QTest::keyClicks(m_w->txtPass, QStringLiteral("Secret"));
    QCOMPARE(m_w->txtPass->displayText(), QStringLiteral("######"));
    QTest::keyClick(m_w->txtPass, Qt::Key_Return);
    QVERIFY(m_w->IsLocked());
    QCOMPARE(m_w->txtPass->text(), QStringLiteral("Secret")); // a wrong password stays in the box
    m_w->txtPass->clear();
    QTest::keyClicks(m_w->txtPass, QStringLiteral("secret"));
    QTest::keyClick(m_w->txtPass, Qt::Key_Return);
    QVERIFY(!m_w->IsLocked());
    QCOMPARE(m_w->txtPass->text(), QString());
    QTRY_VERIFY_WITH_TIMEOUT(!m_w->tmrSPass->isActive(), kLoadWaitMs);
    QCOMPARE(TTop(m_w->picPass), -TScaleHeight(m_w));
}

void AddressBarWindowTest::lockDuringUnlockGlideStays()
{
    makeWindow();
    m_w->ShowLock();
    QTest::keyClicks(m_w->txtPass, QStringLiteral("secret"));
    QTest::keyClick(m_w->txtPass, Qt::Key_Return);
    QVERIFY(m_w->tmrSPass->isActive());
    m_w->ShowLock(); // e.g. a filtered title arrives while the panel rises
    QVERIFY(!m_w->tmrSPass->isActive());
    QVERIFY(m_w->IsLocked());
    QSignalSpy ticks(m_w->tmrSPass, &QTimer::timeout);
    QVERIFY(!ticks.wait(200));
    QCOMPARE(TTop(m_w->picPass), THeight(m_w->picCaption));
}

void AddressBarWindowTest::lockKeepsInputFromTheWindow()
{
    makeWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_w));
    m_w->ShowLock();
    QTRY_VERIFY_WITH_TIMEOUT(m_w->txtPass->hasFocus(), kLoadWaitMs);
    // a click on the address bar, the address box or a window button does nothing
    const double width = TWidth(m_w->picAddr);
    QTest::mouseClick(m_w->picAddr, Qt::LeftButton, {}, QPoint(2, 2));
    QVERIFY(!m_w->tmrSTxt->isActive());
    QCOMPARE(TWidth(m_w->picAddr), width);
    QTest::mouseClick(m_w->txtAddr, Qt::LeftButton);
    QVERIFY(!m_w->lstAddr->isVisible());
    QTest::mouseClick(m_w->lblPlMi[0], Qt::LeftButton);
    QCOMPARE(m_w->lblZmVl->text(), QStringLiteral("100%"));
    // the focus comes back into the password box, and keys never reach the address box
    m_w->txtAddr->setFocus();
    QTRY_VERIFY_WITH_TIMEOUT(m_w->txtPass->hasFocus(), kLoadWaitMs);
    const QString addr = m_w->txtAddr->text();
    QTest::keyClicks(m_w->txtAddr, QStringLiteral("xyz"));
    QCOMPARE(m_w->txtAddr->text(), addr);
    // unlocked, everything works again
    QTest::keyClicks(m_w->txtPass, QStringLiteral("secret"));
    QTest::keyClick(m_w->txtPass, Qt::Key_Return);
    QTest::mouseClick(m_w->lblPlMi[0], Qt::LeftButton);
    QCOMPARE(m_w->lblZmVl->text(), QStringLiteral("150%"));
}

void AddressBarWindowTest::lockLeavesTheCaptionBarWorking()
{
    makeWindow();
    m_w->ShowLock();
    QVERIFY(m_w->IsLocked());
    // the tools menu opens from its caption-bar button
    QTest::mouseClick(m_w->imgBtn[3], Qt::LeftButton, {}, QPoint(3, 3));
    QTRY_VERIFY_WITH_TIMEOUT(m_w->mnuMain->isVisible(), kLoadWaitMs);
    m_w->mnuMain->hide();
    // the new-tab button of the tab strip opens a tab, which the lock still covers
    const int before = m_w->Tabs.count();
    QTest::mouseClick(m_w->imgAddWeb, Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(m_w->Tabs.count(), before + 1);
    QVERIFY(m_w->IsLocked());
    QVERIFY(Above(m_w->picPass, m_w->Web(m_w->CurIdx)));
    // the window is dragged by its caption bar
    QPoint spot;
    for (int x = m_w->picCaption->width() - 1; x > 0 && spot.isNull(); --x) {
        if (!m_w->picCaption->childAt(QPoint(x, 5)))
            spot = QPoint(x, 5);
    }
    QVERIFY(!spot.isNull());
    const QPoint start = m_w->pos();
    const auto send = [this](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent e(type, at, m_w->picCaption->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(m_w->picCaption, &e);
    };
    send(QEvent::MouseButtonPress, spot, Qt::LeftButton);
    send(QEvent::MouseMove, spot + QPoint(-20, 15), Qt::LeftButton);
    send(QEvent::MouseMove, spot + QPoint(-40, 30), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, spot + QPoint(-40, 30), Qt::NoButton);
    QTRY_VERIFY_WITH_TIMEOUT(m_w->pos() != start, kLoadWaitMs);
    // the page below stays out of reach, the focus stays in the password box
    QTRY_VERIFY_WITH_TIMEOUT(m_w->txtPass->hasFocus(), kLoadWaitMs);
    QVERIFY(m_w->IsLocked());
}

void AddressBarWindowTest::filteredTitleLocks()
{
    WriteSet(QStringLiteral("UseFilter"), QStringLiteral("1"));
    WriteSet(QStringLiteral("Filter"), QStringLiteral("001"));
    WriteSet(QStringLiteral("FilterText"), QStringLiteral(";;casino;"));
    makeWindow();
    m_w->WebGoTo(m_server->base() + QStringLiteral("/title/ordinary"));
    QTRY_COMPARE_WITH_TIMEOUT(m_w->Tabs(m_w->CurIdx)->Caption(), QStringLiteral("ordinary"), kLoadWaitMs);
    QVERIFY(!m_w->IsLocked()); // empty words match nothing
    m_w->WebGoTo(m_server->base() + QStringLiteral("/title/Big casino night"));
    QTRY_VERIFY_WITH_TIMEOUT(m_w->IsLocked(), kLoadWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(m_w->windowTitle(), QStringLiteral("Big casino night - Tessivane"), kLoadWaitMs);
}

void AddressBarWindowTest::advertTitleClosesItsTab()
{
    makeWindow();
    m_w->WebGoTo(m_server->base() + QStringLiteral("/first"));
    QTRY_VERIFY_WITH_TIMEOUT(loadedPath(QStringLiteral("/first")), kLoadWaitMs);
    m_w->AddPage();
    const int adTab = m_w->CurIdx;
    QVERIFY(adTab > 1);
    m_w->WebGoTo(m_server->base() + QStringLiteral("/title/广告"));
    QTRY_VERIFY_WITH_TIMEOUT(!m_w->Tabs.exists(adTab), kLoadWaitMs);
    QCOMPARE(m_w->CurIdx, 1);
    // a title that only holds the word is ordinary
    m_w->WebGoTo(m_server->base() + QStringLiteral("/title/广告位招租"));
    QTRY_COMPARE_WITH_TIMEOUT(m_w->Tabs(1)->Caption(), QStringLiteral("广告位招租"), kLoadWaitMs);
}

void AddressBarWindowTest::advertStartPageDoesNotLoop()
{
    WriteSet(QStringLiteral("HomePage"), m_server->base() + QStringLiteral("/late/广告"));
    makeWindow();
    m_w->GoStartPage();
    // the start page itself is the advert: left empty at once, not loaded again
    QTRY_COMPARE_WITH_TIMEOUT(m_w->Web(1)->LocationURL(), QStringLiteral("about:blank"), kLoadWaitMs);
    QCOMPARE(m_server->count(QStringLiteral("/late/广告")), 1);
    QVERIFY(m_w->Tabs.exists(1));

    // another advert in the only tab makes way for the start page, which is
    // then left empty as well
    m_w->WebGoTo(m_server->base() + QStringLiteral("/title/广告"));
    QTRY_COMPARE_WITH_TIMEOUT(m_server->count(QStringLiteral("/late/广告")), 2, kLoadWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(m_w->Web(1)->LocationURL(), QStringLiteral("about:blank"), kLoadWaitMs);
    QCOMPARE(m_server->count(QStringLiteral("/title/广告")), 1);
    QVERIFY(m_w->Tabs.exists(1));
}

void AddressBarWindowTest::pageEventsOfTheCurrentTabOnly()
{
    makeWindow();
    // a page taking the focus becomes current and hides the list and the preview
    m_w->lstAddr->show();
    m_w->picImg->show();
    m_w->Web_GotFocus(m_w->CurIdx);
    QVERIFY(!m_w->lstAddr->isVisible());
    QVERIFY(!m_w->picImg->isVisible());

    m_w->Web_StaTxtChange(m_w->CurIdx, QStringLiteral("正在打开网页"));
    QVERIFY(m_w->picSta->isVisible());
    QCOMPARE(TWidth(m_w->picSta), TWidth(m_w->lblSta) + 120);
    m_w->Web_StaTxtChange(m_w->CurIdx, QStringLiteral("完成"));
    QVERIFY(!m_w->picSta->isVisible());
    m_w->Web_StaTxtChange(m_w->CurIdx + 7, QStringLiteral("other tab"));
    QVERIFY(!m_w->picSta->isVisible());

    // the page document follows the current tab's downloads and does not
    // dangle once that tab is closed
    m_w->WebGoTo(m_server->base() + QStringLiteral("/doc"));
    QTRY_VERIFY_WITH_TIMEOUT(!m_w->PageDocument.isNull(), kLoadWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(m_w->txtAddr->text(), m_server->base() + QStringLiteral("/doc"), kLoadWaitMs);
    m_w->AddPage();
    const int second = m_w->CurIdx;
    m_w->WebGoTo(m_server->base() + QStringLiteral("/doc2"));
    QTRY_COMPARE_WITH_TIMEOUT(m_w->txtAddr->text(), m_server->base() + QStringLiteral("/doc2"), kLoadWaitMs);
    QObject *doc2 = m_w->PageDocument.data();
    QVERIFY(doc2);
    m_w->Tabs_TabClose(second);
    QTRY_VERIFY_WITH_TIMEOUT(m_w->PageDocument.isNull(), kLoadWaitMs);

    // navigation start shows stop, download-complete shows refresh; the
    // security icon follows the page's state, not the event's argument
    m_w->Web_BfrNav2(m_w->CurIdx, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    QVERIFY(Above(m_w->imgBtn[2], m_w->imgBtn[1]));
    m_w->Web_DwnComplete(m_w->CurIdx);
    QVERIFY(Above(m_w->imgBtn[1], m_w->imgBtn[2]));
    m_w->Web_SetScrLckIcon(m_w->CurIdx, 1);
    QVERIFY(Above(m_w->imgWebIco[0], m_w->imgWebIco[1]));

    // a background tab's title changes its caption, not the window title
    m_w->SetTitle(QStringLiteral("kept"));
    m_w->AddPage();
    const int third = m_w->CurIdx;
    m_w->Tabs_MouseUp(1, 1, 0, 0, 0);
    m_w->Web_TtlChange(third, QStringLiteral("background"));
    QCOMPARE(m_w->Tabs(third)->Caption(), QStringLiteral("background"));
    QVERIFY(m_w->windowTitle() != QStringLiteral("background - Tessivane"));
    // its status text and navigation start change nothing on screen; its progress drives its own strip
    m_w->Web_StaTxtChange(third, QStringLiteral("background status"));
    QVERIFY(!m_w->picSta->isVisible());
    m_w->Web_BfrNav2(third, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    QVERIFY(Above(m_w->imgBtn[1], m_w->imgBtn[2]));
    m_w->Web_ProChange(third, 40);
    QCOMPARE(m_w->Tabs(third)->Progress(), 40);
    m_w->Web_ProChange(third, 70000); // beyond a 16-bit percentage: dropped
    QCOMPARE(m_w->Tabs(third)->Progress(), 40);
}

void AddressBarWindowTest::newWindowOpensAsNewCurrentTab()
{
    makeWindow();
    const int first = m_w->CurIdx;
    m_w->WebGoTo(m_server->base() + QStringLiteral("/open/popup"));
    QTRY_VERIFY_WITH_TIMEOUT(m_w->CurIdx != first, kLoadWaitMs);
    const int popup = m_w->CurIdx;
    QCOMPARE(popup, m_w->Web.ubound());
    QVERIFY(m_w->Tabs.exists(first));
    QTRY_COMPARE_WITH_TIMEOUT(m_w->Web(popup)->LocationURL(), m_server->base() + QStringLiteral("/popup"), kLoadWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(m_w->Tabs(popup)->Caption(), QStringLiteral("page"), kLoadWaitMs);
}

QTEST_MAIN(AddressBarWindowTest)
#include "AddressBarWindowTest.moc"

