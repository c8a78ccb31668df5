#include "AppEngines.h"
#include "AppHost.h"
#include "AppPanelLayout.h"
#include "Apps.h"
#include "FakeMessageBoxes.h"
#include "FakeProcesses.h"
#include "Files.h"
#include "ScriptControl.h"
#include "TestProgramFolder.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class RecordingHost : public AppHost
{
public:
    void AddPage() override { calls << QStringLiteral("AddPage"); }
    void WebGoTo(const QString &url) override { calls << QStringLiteral("WebGoTo ") + url; }
    void ShowLock() override { calls << QStringLiteral("ShowLock"); }
    QObject *PageDocument() override { return nullptr; }
    void ClearHistory() override { calls << QStringLiteral("ClearHistory"); }
    void SlideAppPanel() override {}
    void RfshApps() override {}
    QWidget *MainWindow() override { return nullptr; }
    QStringList calls;
};

class RunAppTest : public ::testing::Test
{
protected:
    TestProgramFolder folder;
    RecordingHost host;
    FakeMessageBoxes boxes;
    void SetUp() override { AppHosting::setHost(&host); }
    void TearDown() override
    {
        AppEngines::EndAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        AppHosting::setHost(nullptr);
    }
    // Writes Apps\<name>\<name>.ini with the keys and the script; returns the ini's path.
    QString app(const QString &name, const QString &keys, const QString &script = QString())
    {
        const QString dir = QStringLiteral("Apps\\") + name + QStringLiteral("\\");
        folder.writeText(dir + name + QStringLiteral(".ini"), QStringLiteral("[App]\r\nName=") + name
                                                                 + QStringLiteral("\r\n") + keys);
        if (!script.isNull())
            folder.writeText(dir + QStringLiteral("main.txt"), script);
        return GetAppPath() + dir + name + QStringLiteral(".ini");
    }
    static QString scriptKey(const QString &name)
    {
        return QStringLiteral("Script=Apps\\") + name + QStringLiteral("\\main.txt\r\n");
    }
};

TEST_F(RunAppTest, VBScriptAndJScriptReachTheBrowserThroughGlobalMembers)
{
    const QString vb = app(QStringLiteral("Vb"), QStringLiteral("Type=VBScript\r\nUseExtent=0\r\nHasUI=0\r\n") + scriptKey(QStringLiteral("Vb")),
                           QStringLiteral("AppControl.AddTab\r\nGoToUrl \"http://a/\" & scIndex\r\nDelBrwHistory\r\n"
                                          "If AppPath() <> \"\" Then OpenPassword\r\n"));
    EXPECT_EQ(RunApp(vb), QString());
    const QString js = app(QStringLiteral("Js"), QStringLiteral("Type=JavaScript\r\nUseExtent=0\r\nHasUI=0\r\n") + scriptKey(QStringLiteral("Js")),
                           QStringLiteral("AppControl.AddTab(); GoToUrl('http://b/' + AppControl.scIndex);\r\n"));
    EXPECT_EQ(RunApp(js), QString());
    EXPECT_EQ(host.calls, QStringList({QStringLiteral("AddPage"), QStringLiteral("WebGoTo http://a/1"),
                                       QStringLiteral("ClearHistory"), QStringLiteral("ShowLock"),
                                       QStringLiteral("AddPage"), QStringLiteral("WebGoTo http://b/2")}));
    ASSERT_EQ(AppEngines::Indices(), QList<int>({1, 2}));
    EXPECT_EQ(AppEngines::Engine(1)->tag(), QStringLiteral("Vb"));
    EXPECT_EQ(AppEngines::Engine(2)->language(), QStringLiteral("JScript"));
}

TEST_F(RunAppTest, AddressAppsMissingScriptsAndPathsOutsideTheFolder)
{
    folder.writeText(QStringLiteral("Apps\\Addr\\url.txt"), QStringLiteral("http://z/"));
    EXPECT_EQ(RunApp(app(QStringLiteral("Addr"), QStringLiteral("Type=\r\nUrl=Apps\\Addr\\url.txt\r\n"))), QString());
    EXPECT_EQ(host.calls, QStringList(QStringLiteral("WebGoTo http://z/\r\n")));

    EXPECT_EQ(RunApp(app(QStringLiteral("NoScript"), QStringLiteral("Type=vbscript\r\nScript=Apps\\NoScript\\none.vbs\r\n"))), QString());
    EXPECT_EQ(AppEngines::Count(), 1);

    // A script or address file outside the program folder is not read.
    folder.writeText(QStringLiteral("Apps\\Evil\\main.txt"), QStringLiteral("AddTab\r\n"));
    EXPECT_EQ(AppFile(QStringLiteral("..\\secret.txt")), QString());
    EXPECT_EQ(AppFile(QStringLiteral("Apps\\..\\..\\secret.txt")), QString());
    EXPECT_EQ(AppFile(QStringLiteral("Apps\\Evil\\main.txt")), GetAppPath() + QStringLiteral("Apps\\Evil\\main.txt"));
    EXPECT_EQ(RunApp(app(QStringLiteral("Evil"), QStringLiteral("Type=vbscript\r\nUseExtent=0\r\nHasUI=0\r\nScript=Apps\\Evil\\..\\..\\..\\etc\\passwd\r\n"))), QString());
    EXPECT_EQ(RunApp(app(QStringLiteral("Evil2"), QStringLiteral("Type=x\r\nUrl=..\\..\\etc\\hostname\r\n"))), QString());
    EXPECT_EQ(host.calls.last(), QStringLiteral("WebGoTo "));
    EXPECT_EQ(AppEngines::Count(), 1);
}

TEST_F(RunAppTest, FailuresGiveTheErrorTextAndKeepTheEngine)
{
    const QString syntax = app(QStringLiteral("Syn"), QStringLiteral("Type=vbscript\r\nUseExtent=0\r\nHasUI=0\r\n") + scriptKey(QStringLiteral("Syn")),
                               QStringLiteral("Dim a\r\na = 1\r\nIf a Then Then\r\n"));
    const QString r = RunApp(syntax);
    EXPECT_TRUE(r.startsWith(QStringLiteral("应用 Syn 运行时出现错误\r\n错误信息: "))) << r.toStdString();
    EXPECT_TRUE(r.contains(QStringLiteral("\r\n行 3 列 "))) << r.toStdString();

    const QString noExtent = app(QStringLiteral("NoExt"), QStringLiteral("Type=vbscript\r\nHasUI=0\r\n") + scriptKey(QStringLiteral("NoExt")),
                                 QStringLiteral("AddTab\r\n"));
    EXPECT_EQ(RunApp(noExtent), QStringLiteral("应用 NoExt 运行时出现错误\r\n错误信息: 类型不匹配\r\n行 0 列 0"));
    EXPECT_EQ(AppEngines::Count(), 3); // both engines stay for the task list
    EXPECT_TRUE(host.calls.isEmpty());
}

TEST_F(RunAppTest, PagePromptAsksUntilYesAndRemembersIt)
{
    const QString ini = app(QStringLiteral("Pg"), QStringLiteral("Type=vbscript\r\nUseExtent=1\r\nAllowedExt=0\r\nHasUI=0\r\n") + scriptKey(QStringLiteral("Pg")),
                            QStringLiteral("If Url Is Nothing Then AddTab\r\n"));
    boxes.queueAnswer(MsgAnswer::No);
    EXPECT_EQ(RunApp(ini), QString());
    ASSERT_EQ(boxes.asked().size(), 1);
    EXPECT_EQ(boxes.asked().at(0).title, QStringLiteral("请求权限"));
    EXPECT_EQ(boxes.asked().at(0).text, QStringLiteral("应用 Pg 请求控制您的网页。确认运行该应用吗？\r\n（您的选择将会被记住，以后将不再询问）"));
    EXPECT_EQ(boxes.asked().at(0).buttons, MsgButtons::YesNo);
    EXPECT_EQ(AppEngines::Engine(1)->tag(), QStringLiteral("Pg"));
    EXPECT_TRUE(host.calls.isEmpty());

    boxes.queueAnswer(MsgAnswer::Yes);
    EXPECT_EQ(RunApp(ini), QString());
    EXPECT_EQ(ReadIni(QStringLiteral("App"), QStringLiteral("AllowedExt"), ini), QStringLiteral("1"));
    EXPECT_EQ(host.calls, QStringList(QStringLiteral("AddPage"))); // no page kept yet: Url is Nothing
    EXPECT_EQ(RunApp(ini), QString());
    EXPECT_EQ(boxes.asked().size(), 2);
}

TEST_F(RunAppTest, EndingAppsFromTheirOwnScriptAndWhileTheySleep)
{
    const QString self = app(QStringLiteral("Self"), QStringLiteral("Type=vbscript\r\nUseExtent=0\r\nHasUI=0\r\n") + scriptKey(QStringLiteral("Self")),
                             QStringLiteral("EndApp\r\nAddTab\r\n"));
    EXPECT_EQ(RunApp(self), QString());
    EXPECT_TRUE(host.calls.isEmpty()); // nothing after EndApp runs
    EXPECT_EQ(AppEngines::Count(), 1);

    // The task list ends an app while it sleeps: the sleep returns into a
    // stopped script, nothing after it runs, nothing crashes.
    const QString sleeper = app(QStringLiteral("Sleep"), QStringLiteral("Type=javascript\r\nUseExtent=0\r\nHasUI=0\r\n") + scriptKey(QStringLiteral("Sleep")),
                                QStringLiteral("AppSleep(300); AddTab();\r\n"));
    // RunApp pumps the queue once before the script starts; the next pump is the sleep's.
    QTimer::singleShot(0, [] { QTimer::singleShot(0, [] { AppEngines::End(AppEngines::UBound()); }); });
    RunApp(sleeper);
    EXPECT_TRUE(host.calls.isEmpty());
    EXPECT_EQ(AppEngines::Count(), 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // A script that sleeps in an endless loop returns once it is ended.
    const QString loop = app(QStringLiteral("Loop"), QStringLiteral("Type=vbscript\r\nUseExtent=0\r\nHasUI=0\r\n") + scriptKey(QStringLiteral("Loop")),
                             QStringLiteral("On Error Resume Next\r\nDo\r\nAppSleep 20\r\nAddTab\r\nLoop\r\n"));
    QTimer::singleShot(0, [] { QTimer::singleShot(0, [] { AppEngines::End(AppEngines::UBound()); }); });
    EXPECT_EQ(RunApp(loop), QString());
    EXPECT_TRUE(host.calls.isEmpty());
    EXPECT_EQ(AppEngines::Count(), 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // Ended while RunApp pumps the queue, before its script starts: the script never runs.
    const QString early = app(QStringLiteral("Early"), QStringLiteral("Type=vbscript\r\nUseExtent=0\r\nHasUI=0\r\n") + scriptKey(QStringLiteral("Early")),
                              QStringLiteral("Do\r\nLoop\r\n"));
    QPointer<ScriptControl> ended;
    QTimer::singleShot(0, [&ended] {
        ended = AppEngines::Engine(AppEngines::UBound());
        AppEngines::End(AppEngines::UBound());
    });
    EXPECT_EQ(RunApp(early), QString());
    ASSERT_TRUE(ended);
    EXPECT_EQ(ended->error().number, 0) << qPrintable(ended->error().description); // no time-out: it never ran
    EXPECT_EQ(AppEngines::Count(), 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // AppSleep(0) pumps once and returns; a loaded index is reused after the top one ended.
    const QString zero = app(QStringLiteral("Zero"), QStringLiteral("Type=vbscript\r\nUseExtent=0\r\nHasUI=0\r\n") + scriptKey(QStringLiteral("Zero")),
                             QStringLiteral("AppSleep 0\r\nAddTab\r\n"));
    EXPECT_EQ(RunApp(zero), QString());
    EXPECT_EQ(AppEngines::Indices(), QList<int>({1}));
}

TEST_F(RunAppTest, RunLoadAppsStartsEveryOnLoadAppAgain)
{
    app(QStringLiteral("L1"), QStringLiteral("Type=vbscript\r\nUseExtent=0\r\nHasUI=0\r\nOnLoad=1\r\n") + scriptKey(QStringLiteral("L1")), QStringLiteral("AddTab\r\n"));
    app(QStringLiteral("L2"), QStringLiteral("Type=vbscript\r\nUseExtent=0\r\nHasUI=0\r\nOnLoad=x\r\n") + scriptKey(QStringLiteral("L2")), QStringLiteral("AddTab\r\n"));
    folder.writeText(QStringLiteral("Apps\\Apps.ini"), QStringLiteral("[Apps]\r\nCount=3\r\napp1=L1\\L1.ini\r\napp2=L2\\L2.ini\r\napp3=\r\n"));
    RunLoadApps();
    RunLoadApps();
    EXPECT_EQ(host.calls.size(), 2);
    ASSERT_EQ(AppEngines::Indices(), QList<int>({1, 2}));
    EXPECT_EQ(AppEngines::Engine(2)->tag(), QStringLiteral("L1"));
    folder.writeText(QStringLiteral("Apps\\Apps.ini"), QStringLiteral("[Apps]\r\nCount=1e300\r\n"));
    RunLoadApps(); // a damaged count does not hang
}

TEST_F(RunAppTest, DownloadsFilesAndInputHistory)
{
    FakeProcesses processes;
    folder.writeText(QStringLiteral("Data\\some.txt"), QStringLiteral("第一行\r\nsecond"));
    folder.writeText(QStringLiteral("Data\\InputHis.ini"), QStringLiteral("a.com@@b.com@@\r\n"));
    const QString ini = app(QStringLiteral("Dl"), QStringLiteral("Type=vbscript\r\nUseExtent=0\r\nHasUI=0\r\n") + scriptKey(QStringLiteral("Dl")),
                            QStringLiteral("NewDownload \"http://h/f.zip\", \"/tmp/f.zip\"\r\n"
                                           "GoToUrl GetFile(AppPath & \"Data\\some.txt\")\r\n"
                                           "GoToUrl \"[\" & GetFile(\"/nonexistent/x\") & \"]\"\r\n"
                                           "DelInuptHistory\r\n"));
    EXPECT_EQ(RunApp(ini), QString());
    EXPECT_TRUE(processes.starts().isEmpty()); // no Dunmora: nothing
    EXPECT_EQ(host.calls, QStringList({QStringLiteral("WebGoTo 第一行\r\nsecond\r\n"), QStringLiteral("WebGoTo []")}));
    EXPECT_EQ(GetInputHis(QString()), QString());

    folder.writeBytes(QStringLiteral("Dunmora"), "#!/bin/sh\n");
    EXPECT_EQ(RunApp(ini), QString());
    ASSERT_EQ(processes.starts().size(), 1);
    EXPECT_EQ(processes.starts().at(0).program, GetAppPath() + QStringLiteral("Dunmora"));
    EXPECT_EQ(processes.starts().at(0).arguments, QStringList(QStringLiteral("http://h/f.zip@@/tmp/f.zip")));
    EXPECT_FALSE(processes.starts().at(0).hidden);
}

TEST(AppPanelGrid, IconPlacesOfTheDesignPanel)
{
    const AppIconGrid g = AppGridFor(6015, 4335, 15);
    EXPECT_EQ(g.s, 720);
    EXPECT_EQ(g.h, 402);
    EXPECT_EQ(g.v, 544);
    const struct { int k; double left, top; } cases[] = {
        {1, 402, 544}, {5, 4890, 544}, {6, 402, 1808}, {10, 4890, 1808}, {11, 402, 3072},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(AppIconLeft(c.k, g), c.left) << c.k;
        EXPECT_EQ(AppIconTop(c.k, g), c.top) << c.k;
    }
    // Ten apps: 3072 high, fits; eleven: 4336, one more than the panel.
    EXPECT_EQ(AppIconTop(10, g) + g.s + g.v, 3072);
    EXPECT_EQ(AppIconTop(11, g) + g.s + g.v, 4336);
}

} // namespace
