// The page control's events for real loads from a loopback server.
#include "EventRecorder.h"
#include "LoopbackServer.h"

#include "Files.h"
#include "ProgramFolder.h"
#include "VbWidgets.h"
#include "WebView.h"
#include "ucWeb.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>
#include <QTcpServer>

namespace {

class PageEvents : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        setProgramFolderOverride(folder.path() + QLatin1Char('/'));
        WriteSet(QStringLiteral("MobileMode"), QStringLiteral("0"));
        WriteSet(QStringLiteral("UA"), QStringLiteral("TessivaneMobile/1.0"));
        ASSERT_TRUE(server.start());
        server.page("/a", "<html><head><title>Page A</title></head><body>A</body></html>");
        server.page("/b", "<html><head><title>Page B</title></head><body><a id=l href='/a'>to a</a></body></html>");
        web = new ucWeb;
        web->resize(800, 600);
        web->show();
        rec = new EventRecorder(web);
    }
    void TearDown() override
    {
        delete rec;
        delete web;
        setProgramFolderOverride(QString());
    }
    bool load(const QString &url, int completes = 1)
    {
        const int want = rec->docCompletes + completes;
        web->GoURL(url);
        return WaitFor([&] { return rec->docCompletes >= want; });
    }

    QTemporaryDir folder;
    LoopbackServer server;
    ucWeb *web = nullptr;
    EventRecorder *rec = nullptr;
};


QString refusedUrl(const QString &path)
{
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost, 0);
    const quint16 port = closed.serverPort();
    closed.close();
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(path);
}

TEST_F(PageEvents, TitledPageRaisesTheEventsInOrder)
{
    const QString a = server.url(QStringLiteral("/a"));
    ASSERT_TRUE(load(a));
    EXPECT_EQ(rec->only({QStringLiteral("BfrNav2"), QStringLiteral("NavComplete2"), QStringLiteral("DwnComplete"),
                         QStringLiteral("DocComplete"), QStringLiteral("SetScrLckIcon")}),
              QStringList({QStringLiteral("BfrNav2 ") + a, QStringLiteral("NavComplete2 ") + a,
                           QStringLiteral("SetScrLckIcon 0"), QStringLiteral("DwnComplete"),
                           QStringLiteral("DocComplete ") + a}));
    EXPECT_EQ(rec->only({QStringLiteral("TtlChange")}).last(), QStringLiteral("TtlChange Page A"));
    EXPECT_EQ(web->LocationName(), QStringLiteral("Page A"));
    EXPECT_EQ(web->LocationURL(), a);
    EXPECT_TRUE(rec->events.contains(QStringLiteral("StaTxtChange 完成")));
    ASSERT_FALSE(rec->percents.isEmpty());
    EXPECT_EQ(rec->percents.last(), -1); // the end of a load
    EXPECT_TRUE(rec->percents.contains(100));
    EXPECT_EQ(web->SecureVal(), 0);
    EXPECT_NE(web->Docoment(), nullptr);
}

TEST_F(PageEvents, FailedLoadsShowTheErrorPanelUntilTheNextNavigation)
{
    struct Case
    {
        QString url;
        QString codeText; // what the error text ends with: the code and its words
        bool panel;
    };
    const QList<Case> cases = {
        {server.url(QStringLiteral("/missing")), QStringLiteral("错误代码 404（找不到该网页）"), true},
        {refusedUrl(QStringLiteral("/x")), QStringLiteral("错误代码 -102（服务器拒绝了连接）"), true},
        {refusedUrl(QStringLiteral("/JaVa/x")), QString(), false},
        {refusedUrl(QStringLiteral("/s?h=WWW.BAIDU.COM")), QString(), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.url.toStdString());
        rec->clear();
        ASSERT_TRUE(load(c.url));
        EXPECT_EQ(web->picError->isVisible(), c.panel);
        EXPECT_EQ(web->bErrShown, c.panel);
        if (c.panel) {
            EXPECT_TRUE(web->lblShow[1]->text().endsWith(c.codeText)) << web->lblShow[1]->text().toStdString();
            EXPECT_TRUE(web->lblShow[1]->text().startsWith(QStringLiteral("这个页面暂时无法显示")));
            EXPECT_EQ(web->LocationName(), QStringLiteral("Tessivane 无法载入页面"));
        } else {
            EXPECT_NE(web->LocationName(), QStringLiteral("Tessivane 无法载入页面"));
        }
        // The next navigation takes the panel away.
        ASSERT_TRUE(load(server.url(QStringLiteral("/a"))));
        EXPECT_FALSE(web->picError->isVisible());
        EXPECT_FALSE(web->bErrShown);
        EXPECT_EQ(web->LocationName(), QStringLiteral("Page A"));
    }
}

TEST_F(PageEvents, AboutNavIsRecognisedExactlyAndReportedAsItself)
{
    ASSERT_TRUE(load(QStringLiteral("about:nav")));
    EXPECT_TRUE(web->picNav->isVisible());
    EXPECT_EQ(web->LocationURL(), QStringLiteral("about:nav"));
    EXPECT_EQ(web->LocationName(), QStringLiteral("Tessivane 导航"));
    EXPECT_EQ(rec->only({QStringLiteral("BfrNav2"), QStringLiteral("NavComplete2"), QStringLiteral("DocComplete")}),
              QStringList({QStringLiteral("BfrNav2 about:nav"), QStringLiteral("NavComplete2 about:nav"),
                           QStringLiteral("DocComplete about:nav")}));
    // Any other document hides it again; going back shows it as "about:nav".
    ASSERT_TRUE(load(server.url(QStringLiteral("/a"))));
    EXPECT_FALSE(web->picNav->isVisible());
    rec->clear();
    web->DoCommand(0);
    ASSERT_TRUE(WaitFor([&] { return rec->docCompletes >= 1; }));
    EXPECT_TRUE(rec->events.contains(QStringLiteral("BfrNav2 about:nav")));
    EXPECT_TRUE(web->picNav->isVisible());
    EXPECT_EQ(web->LocationURL(), QStringLiteral("about:nav"));

    // Another spelling goes to the engine like any address.
    rec->clear();
    web->GoURL(QStringLiteral("About:Nav"));
    WaitFor([&] { return rec->docCompletes >= 1; }, 3000);
    EXPECT_FALSE(rec->events.contains(QStringLiteral("BfrNav2 about:nav")));
    EXPECT_FALSE(web->picNav->isVisible());
}

TEST_F(PageEvents, CancelInBeforeNavigateStopsTheNavigation)
{
    ASSERT_TRUE(load(server.url(QStringLiteral("/a"))));
    rec->clear();
    rec->cancelNext = true;
    web->GoURL(server.url(QStringLiteral("/b")));
    ASSERT_TRUE(WaitFor([&] { return !rec->events.isEmpty(); }));
    // The server never sees the cancelled request; a later navigation still works.
    ASSERT_TRUE(load(server.url(QStringLiteral("/a"))));
    EXPECT_TRUE(server.requestsFor("/b").isEmpty());
}

TEST_F(PageEvents, MobileModeReissuesWholePageNavigationsWithTheAgentHeader)
{
    WriteSet(QStringLiteral("MobileMode"), QStringLiteral("1"));
    const QString b = server.url(QStringLiteral("/b"));
    ASSERT_TRUE(load(b));
    EXPECT_EQ(rec->only({QStringLiteral("BfrNav2")}),
              QStringList({QStringLiteral("BfrNav2 ") + b,
                           QStringLiteral("BfrNav2 ") + b + QStringLiteral(" [User-Agent: TessivaneMobile/1.0]")}));
    const auto seen = server.requestsFor("/b");
    ASSERT_EQ(seen.size(), 1);
    EXPECT_EQ(seen[0].headers.value("user-agent"), QByteArray("TessivaneMobile/1.0"));
    EXPECT_FALSE(web->bUANav); // cleared by the document-complete

    // A form's POST and a frame's navigation pass unchanged: nothing is lost.
    server.page("/form", "<html><body><form id=f method=post action='/posted'><input name=q value=abc></form>"
                         "<iframe src='/a'></iframe></body></html>");
    server.page("/posted", "<html><head><title>Posted</title></head></html>");
    ASSERT_TRUE(load(server.url(QStringLiteral("/form"))));
    ASSERT_TRUE(WaitFor([&] { return !server.requestsFor("/a").isEmpty(); }));
    EXPECT_EQ(server.requestsFor("/a").size(), 1);
    rec->clear();
    web->Wb->page()->runJavaScript(QStringLiteral("document.getElementById('f').submit()"));
    ASSERT_TRUE(WaitFor([&] { return web->LocationName() == QStringLiteral("Posted"); }));
    const auto posted = server.requestsFor("/posted");
    ASSERT_EQ(posted.size(), 1);
    EXPECT_EQ(posted[0].method, QByteArray("POST"));

    // about:nav is issued again too and shows the page.
    rec->clear();
    ASSERT_TRUE(load(QStringLiteral("about:nav")));
    EXPECT_EQ(rec->only({QStringLiteral("BfrNav2")}).size(), 2);
    EXPECT_TRUE(web->picNav->isVisible());
}

TEST_F(PageEvents, NewWindowOpensInThePageTheHostSupplies)
{
    ucWeb second;
    second.resize(400, 300);
    second.show();
    EventRecorder rec2(&second);
    rec->newWindow = [&](QObject **pp, bool *) { *pp = second.wObject(); };
    server.page("/opener", "<html><head><title>Opener</title></head><body>"
                           "<script>window.open('/a')</script></body></html>");
    ASSERT_TRUE(load(server.url(QStringLiteral("/opener"))));
    ASSERT_TRUE(WaitFor([&] { return second.LocationName() == QStringLiteral("Page A"); }));
    EXPECT_TRUE(rec->events.contains(QStringLiteral("NewWndw2")));
    EXPECT_EQ(second.LocationURL(), server.url(QStringLiteral("/a")));

    // Cancelled: no window, no crash.
    rec->clear();
    rec->newWindow = [&](QObject **, bool *cancel) { *cancel = true; };
    ASSERT_TRUE(load(server.url(QStringLiteral("/opener"))));
    ASSERT_TRUE(WaitFor([&] { return rec->events.contains(QStringLiteral("NewWndw2")); }));
}

TEST_F(PageEvents, SnapshotIsTwentyPixelsSmallerThanTheWebView)
{
    server.page("/red", "<html><body style='margin:0;background:#ff0000'></body></html>");
    web->resize(797, 597);
    ASSERT_EQ(web->Wb->size(), QSize(800, 600));
    ASSERT_TRUE(load(server.url(QStringLiteral("/red"))));
    QPixmap img;
    ASSERT_TRUE(WaitFor([&] {
        img = web->GetWebImg();
        return img.toImage().pixelColor(200, 200) == QColor(255, 0, 0);
    }));
    EXPECT_EQ(img.size(), QSize(780, 580));
}

TEST_F(PageEvents, StatusTextNeverCarriesTheEngineErrorPage)
{
    // An address whose failure shows the engine's own error page: its link
    // points into the engine's internal error document.
    ASSERT_TRUE(load(refusedUrl(QStringLiteral("/java/x"))));
    ASSERT_FALSE(web->picError->isVisible());
    QPointF link(-1, -1);
    bool answered = false;
    web->Wb->page()->runJavaScript(
        QStringLiteral("(function () { var a = document.querySelectorAll('a[href]');"
                       " for (var i = 0; i < a.length; ++i) { var r = a[i].getBoundingClientRect();"
                       " if (r.width > 0 && r.height > 0) return [r.x + r.width / 2, r.y + r.height / 2]; }"
                       " return []; })()"),
        [&](const QVariant &v) {
            const QVariantList xy = v.toList();
            if (xy.size() == 2)
                link = QPointF(xy.at(0).toDouble(), xy.at(1).toDouble());
            answered = true;
        });
    ASSERT_TRUE(WaitFor([&] { return answered; }));
    ASSERT_GE(link.x(), 0) << "the engine's error page shows no link";

    // Hovering the link reports it, but never as the engine's address.
    rec->clear();
    QWidget *surface = web->Wb->focusProxy();
    ASSERT_NE(surface, nullptr);
    const QPoint at = surface->mapFrom(web->Wb, link.toPoint());
    QTest::mouseMove(surface, at + QPoint(0, 60));
    QTest::mouseMove(surface, at);
    ASSERT_TRUE(WaitFor([&] { return !rec->only({QStringLiteral("StaTxtChange")}).isEmpty(); }));
    for (const QString &e : rec->only({QStringLiteral("StaTxtChange")}))
        EXPECT_FALSE(e.contains(QLatin1String("chrome-error"), Qt::CaseInsensitive)) << e.toStdString();

    // The next good load ends with "完成", and nothing of the error page comes back.
    rec->clear();
    ASSERT_TRUE(load(server.url(QStringLiteral("/a"))));
    QTest::mouseMove(surface, at + QPoint(0, 1));
    const QStringList status = rec->only({QStringLiteral("StaTxtChange")});
    ASSERT_FALSE(status.isEmpty());
    EXPECT_EQ(status.last(), QStringLiteral("StaTxtChange 完成"));
    for (const QString &e : status)
        EXPECT_FALSE(e.contains(QLatin1String("chrome-error"), Qt::CaseInsensitive)) << e.toStdString();
}

} // namespace
