// The app window and the page document bridge with real web views.
#include "AppEngines.h"
#include "AppHost.h"
#include "Apps.h"
#include "FakeMessageBoxes.h"
#include "PageObject.h"
#include "ScriptControl.h"
#include "TestProgramFolder.h"
#include "WebView.h"
#include "Files.h"
#include "frmApp.h"
#include "WaitUntil.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>

#include <gtest/gtest.h>

namespace {

class PageHost : public AppHost
{
public:
    void AddPage() override {}
    void WebGoTo(const QString &) override {}
    void ShowLock() override {}
    QObject *PageDocument() override { return page; }
    void ClearHistory() override {}
    void SlideAppPanel() override {}
    void RfshApps() override {}
    QWidget *MainWindow() override { return nullptr; }
    QObject *page = nullptr;
};

bool LoadHtml(WebView &view, const QString &html)
{
    QSignalSpy done(&view, &WebView::documentComplete);
    view.setHtml(html, QUrl(QStringLiteral("http://127.0.0.1/")));
    return done.wait(15000);
}

class AppWeb : public ::testing::Test
{
protected:
    void TearDown() override
    {
        AppEngines::EndAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        AppHosting::setHost(nullptr);
    }
};

TEST_F(AppWeb, ScriptsReadAndChangeThePageDocument)
{
    WebView view;
    view.resize(400, 300);
    view.show();
    ASSERT_TRUE(LoadHtml(view, QStringLiteral("<title>T1</title><body><h1 id=h>Hello</h1><a href='http://x/'>L</a></body>")));

    ScriptControl sc;
    sc.setLanguage(QStringLiteral("VBScript"));
    sc.addObject(QStringLiteral("Url"), ObjectRef(PageObject::document(view.page())), true);
    bool ok = false;
    EXPECT_EQ(sc.eval(QStringLiteral("Url.title"), &ok).toString(), QStringLiteral("T1"));
    EXPECT_TRUE(ok) << sc.error().description.toStdString();
    EXPECT_EQ(sc.eval(QStringLiteral("Url.getElementById(\"h\").innerText")).toString(), QStringLiteral("Hello"));
    EXPECT_EQ(sc.eval(QStringLiteral("UCase(Url.all(0).tagName)")).toString(), QStringLiteral("HTML"));
    EXPECT_EQ(sc.eval(QStringLiteral("Url.links.length")).toLong(), 1);
    EXPECT_TRUE(sc.addCode(QStringLiteral("Url.getElementById(\"h\").innerText = \"Changed\"\r\n"
                                          "n = 0\r\nFor Each l In Url.links\r\nn = n + 1\r\nNext\r\n")))
        << sc.error().description.toStdString();
    EXPECT_EQ(sc.eval(QStringLiteral("n")).toLong(), 1);

    ScriptControl js;
    js.setLanguage(QStringLiteral("JScript"));
    js.addObject(QStringLiteral("Url"), ObjectRef(PageObject::document(view.page())), true);
    EXPECT_EQ(js.eval(QStringLiteral("Url.getElementById('h').innerText")).toString(), QStringLiteral("Changed"));
    EXPECT_EQ(js.eval(QStringLiteral("Url.all(1).tagName")).toString(), QStringLiteral("HEAD"));

    // After the tab navigated on, the kept document is gone: object required.
    ASSERT_TRUE(LoadHtml(view, QStringLiteral("<title>T2</title>")));
    EXPECT_FALSE(sc.addCode(QStringLiteral("x = Url.title\r\n")));
    EXPECT_EQ(sc.error().number, 424);
}

frmApp *OpenAppWindow()
{
    frmApp *form = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *f = qobject_cast<frmApp *>(w); f && f->isVisible())
            form = f;
    }
    return form;
}

TEST_F(AppWeb, ClosingTheAppWindowEndsItsAppButNotALaterOne)
{
    TestProgramFolder folder;
    PageHost host;
    AppHosting::setHost(&host);
    FakeMessageBoxes boxes;
    folder.writeText(QStringLiteral("Apps\\W\\W.ini"),
                     QStringLiteral("[App]\r\nName=W\r\nType=vbscript\r\nScript=Apps\\W\\m.vbs\r\nUseExtent=0\r\nHasUI=1\r\nUI=Apps\\W\\ui.htm\r\n"));
    folder.writeText(QStringLiteral("Apps\\W\\m.vbs"), QStringLiteral("Form.Caption = \"Mine\"\r\n"));
    folder.writeText(QStringLiteral("Apps\\W\\ui.htm"), QStringLiteral("<title>UiPage</title>hi"));
    // an app without a window that stays running
    folder.writeText(QStringLiteral("Apps\\L\\L.ini"),
                     QStringLiteral("[App]\r\nName=Later\r\nType=vbscript\r\nScript=Apps\\L\\l.vbs\r\nUseExtent=0\r\nHasUI=0\r\n"));
    folder.writeText(QStringLiteral("Apps\\L\\l.vbs"), QStringLiteral("x = 1\r\n"));
    EXPECT_EQ(RunApp(GetAppPath() + QStringLiteral("Apps\\W\\W.ini")), QString());
    ASSERT_EQ(AppEngines::Indices(), QList<int>({1}));
    frmApp *form = OpenAppWindow();
    ASSERT_TRUE(form);
    EXPECT_EQ(form->Tag, QStringLiteral("1"));
    ASSERT_TRUE(WaitUntil([&] { return form->windowTitle() == QStringLiteral("UiPage"); }, 15000));
    form->close();
    EXPECT_TRUE(AppEngines::Indices().isEmpty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // A window whose app ended itself does not end the next app on that index.
    folder.writeText(QStringLiteral("Apps\\W\\m.vbs"), QStringLiteral("EndApp\r\n"));
    EXPECT_EQ(RunApp(GetAppPath() + QStringLiteral("Apps\\W\\W.ini")), QString());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(AppEngines::Indices().isEmpty());
    frmApp *old = OpenAppWindow();
    ASSERT_TRUE(old);
    EXPECT_EQ(RunApp(GetAppPath() + QStringLiteral("Apps\\L\\L.ini")), QString());
    ASSERT_EQ(AppEngines::Indices(), QList<int>({1}));
    old->close();
    ASSERT_EQ(AppEngines::Indices(), QList<int>({1}));
    EXPECT_EQ(AppEngines::Engine(1)->tag(), QStringLiteral("Later"));
    // Nor does the ended app's own AppControl, called again.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(AppEngines::Indices(), QList<int>({1}));
}

// "Html.Document" is the document object of the app window's page.
TEST_F(AppWeb, HtmlDocumentIsThePageOfTheAppWindow)
{
    TestProgramFolder folder;
    PageHost host;
    AppHosting::setHost(&host);
    FakeMessageBoxes boxes;
    folder.writeText(QStringLiteral("Apps\\D\\D.ini"),
                     QStringLiteral("[App]\r\nName=D\r\nType=vbscript\r\nScript=Apps\\D\\d.vbs\r\nUseExtent=0\r\nHasUI=1\r\nUI=Apps\\D\\ui.htm\r\n"));
    folder.writeText(QStringLiteral("Apps\\D\\d.vbs"), QStringLiteral("Dim seen\r\n"));
    folder.writeText(QStringLiteral("Apps\\D\\ui.htm"),
                     QStringLiteral("<title>AppUi</title><body><p id=p>first</p></body>"));
    EXPECT_EQ(RunApp(GetAppPath() + QStringLiteral("Apps\\D\\D.ini")), QString());
    frmApp *form = OpenAppWindow();
    ASSERT_TRUE(form);
    ASSERT_TRUE(WaitUntil([&] { return form->windowTitle() == QStringLiteral("AppUi"); }, 15000));
    ScriptControl *sc = AppEngines::Engine(1);
    ASSERT_TRUE(sc);
    bool ok = false;
    EXPECT_EQ(sc->eval(QStringLiteral("Html.Document.title"), &ok).toString(), QStringLiteral("AppUi"));
    EXPECT_TRUE(ok) << sc->error().description.toStdString();
    EXPECT_TRUE(sc->addCode(QStringLiteral("Set d = Html.Document\r\nd.getElementById(\"p\").innerText = \"changed\"\r\n"
                                           "seen = d.getElementById(\"p\").innerText\r\n")))
        << sc->error().description.toStdString();
    EXPECT_EQ(sc->eval(QStringLiteral("seen")).toString(), QStringLiteral("changed"));
    EXPECT_EQ(sc->eval(QStringLiteral("TypeName(Document)")).toString(), QStringLiteral("HTMLDocument"));
    form->close();
}

} // namespace
