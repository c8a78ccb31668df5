#include "AppHost.h"
#include "AppPackages.h"
#include "Apps.h"
#include "Clipboard.h"
#include "FakeMessageBoxes.h"
#include "FakeProcesses.h"
#include "Files.h"
#include "TestProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class CountingHost : public AppHost
{
public:
    void AddPage() override {}
    void WebGoTo(const QString &) override {}
    void ShowLock() override {}
    QObject *PageDocument() override { return nullptr; }
    void ClearHistory() override {}
    void SlideAppPanel() override { ++slides; }
    void RfshApps() override { ++rebuilds; }
    QWidget *MainWindow() override { return nullptr; }
    int slides = 0;
    int rebuilds = 0;
};

class Packages : public ::testing::Test
{
protected:
    TestProgramFolder folder;
    FakeProcesses processes;
    FakeMessageBoxes boxes;
    CountingHost host;
    void SetUp() override
    {
        AppHosting::setHost(&host);
        folder.writeBytes(QStringLiteral("rar"), "#!/bin/sh\n");
        folder.writeBytes(QStringLiteral("Apps\\Apps.ini"), "[Apps]\r\nCount=0\r\n");
    }
    void TearDown() override { AppHosting::setHost(nullptr); }
    QString prog() const { return folder.path() + QLatin1Char('/'); }
};

TEST_F(Packages, FirstInstallRegistersStartsToolAndGlides)
{
    folder.writeBytes(QStringLiteral("Apps\\Demo\\Demo.ini"), "[App]\r\nName=Demo\r\nAllowedExt=1\r\n");
    InstallApp(QStringLiteral("/home/u/Demo.old.zelp"));
    EXPECT_EQ(folder.readBytes(QStringLiteral("Apps\\Apps.ini")), QByteArray("[Apps]\r\nCount=1\r\napp1=Demo\\Demo.ini\r\n"));
    ASSERT_EQ(processes.starts().size(), 1);
    EXPECT_EQ(processes.starts().at(0).program, prog() + QStringLiteral("rar"));
    EXPECT_EQ(processes.starts().at(0).arguments,
              QStringList({QStringLiteral("x"), QStringLiteral("/home/u/Demo.old.zelp"), prog() + QStringLiteral("Apps\\")}));
    EXPECT_TRUE(processes.starts().at(0).hidden);
    EXPECT_EQ(Clipboard::text(), prog() + QStringLiteral("rar x \"/home/u/Demo.old.zelp\" \"") + prog()
                                     + QStringLiteral("Apps\\Demo\""));
    EXPECT_EQ(ReadIni(QStringLiteral("App"), QStringLiteral("AllowedExt"), prog() + QStringLiteral("Apps\\Demo\\Demo.ini")),
              QStringLiteral("0"));
    EXPECT_EQ(host.slides, 1);
    EXPECT_TRUE(boxes.asked().isEmpty());

    // The same package again: one entry, the answer kept.
    WriteIni(QStringLiteral("App"), QStringLiteral("AllowedExt"), QStringLiteral("1"), prog() + QStringLiteral("Apps\\Demo\\Demo.ini"));
    AppAllowedExtAnswered(prog() + QStringLiteral("Apps\\Demo\\Demo.ini"));
    InstallApp(QStringLiteral("/home/u/Demo.zelp"));
    EXPECT_EQ(folder.readBytes(QStringLiteral("Apps\\Apps.ini")), QByteArray("[Apps]\r\nCount=1\r\napp1=Demo\\Demo.ini\r\n"));
    EXPECT_EQ(ReadIni(QStringLiteral("App"), QStringLiteral("AllowedExt"), prog() + QStringLiteral("Apps\\Demo\\Demo.ini")),
              QStringLiteral("1"));
    EXPECT_EQ(host.slides, 2);
}

TEST_F(Packages, LateUnpackedIniGetsItsAnswerResetAgain)
{
    InstallApp(QStringLiteral("/p/Late.zelp"));
    // The tool writes the package's own ini after the install returned.
    folder.writeBytes(QStringLiteral("Apps\\Late\\Late.ini"), "[App]\r\nName=Late\r\nAllowedExt=1\r\n");
    const QString ini = prog() + QStringLiteral("Apps\\Late\\Late.ini");
    QTRY_COMPARE_WITH_TIMEOUT(ReadIni(QStringLiteral("App"), QStringLiteral("AllowedExt"), ini), QStringLiteral("0"), 3000);
    AppAllowedExtAnswered(ini);
}

TEST_F(Packages, MissingToolWarnsAndRegistersNothing)
{
    QFile::remove(prog() + QStringLiteral("rar"));
    InstallApp(QStringLiteral("/p/Demo.zelp"));
    ASSERT_EQ(boxes.asked().size(), 1);
    EXPECT_EQ(boxes.asked().at(0).text, QStringLiteral("应用解压缩模块已被删除，无法正常安装应用"));
    EXPECT_EQ(boxes.asked().at(0).title, QStringLiteral("应用安装时错误"));
    EXPECT_EQ(boxes.asked().at(0).icon, MsgIcon::Exclamation);
    EXPECT_TRUE(processes.starts().isEmpty());
    EXPECT_EQ(folder.readBytes(QStringLiteral("Apps\\Apps.ini")), QByteArray("[Apps]\r\nCount=0\r\n"));
    EXPECT_EQ(host.slides, 0);
}

TEST_F(Packages, UninstallRenumbersAndDeletesOnlyInsideApps)
{
    folder.installApps({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    DelApp(2);
    EXPECT_EQ(folder.readBytes(QStringLiteral("Apps\\Apps.ini")),
              QByteArray("[Apps]\r\nCount=2\r\napp1=app1x\\app1x.ini\r\napp2=app3x\\app3x.ini\r\n"));
    EXPECT_FALSE(QFileInfo::exists(prog() + QStringLiteral("Apps/app2x")));
    EXPECT_TRUE(QFileInfo::exists(prog() + QStringLiteral("Apps/app1x/app1x.ini")));
    EXPECT_EQ(host.rebuilds, 1);
    DelApp(5); // no such entry: nothing happens
    EXPECT_EQ(host.rebuilds, 1);
    DelApp(1);
    DelApp(1);
    EXPECT_EQ(folder.readBytes(QStringLiteral("Apps\\Apps.ini")), QByteArray("[Apps]\r\nCount=0\r\n"));

    // Entries that would reach out of "Apps\" delete nothing.
    folder.writeBytes(QStringLiteral("keep.txt"), "x");
    for (const char *bad : {"..\\x.ini", ".\\x.ini", "/tmp\\x.ini", "..", "a/../..\\x.ini"}) {
        folder.writeBytes(QStringLiteral("Apps\\Apps.ini"), QByteArray("[Apps]\r\nCount=1\r\napp1=") + bad + "\r\n");
        DelApp(1);
        EXPECT_TRUE(QFileInfo::exists(prog() + QStringLiteral("keep.txt"))) << bad;
        EXPECT_TRUE(QFileInfo::exists(prog() + QStringLiteral("Apps"))) << bad;
        EXPECT_EQ(folder.readBytes(QStringLiteral("Apps\\Apps.ini")), QByteArray("[Apps]\r\nCount=0\r\n")) << bad;
    }
}

TEST_F(Packages, CorruptCountAndAboutText)
{
    folder.writeBytes(QStringLiteral("Apps\\Apps.ini"), "[Apps]\r\nCount=99999999999\r\n");
    InstallApp(QStringLiteral("/p/Demo.zelp")); // a damaged count does not hang the duplicate walk
    folder.writeBytes(QStringLiteral("Apps\\Apps.ini"), "[Apps]\r\nCount=zz\r\n");
    InstallApp(QStringLiteral("/p/Demo.zelp"));
    EXPECT_EQ(ReadAppsIni(QStringLiteral("Count")), QStringLiteral("1"));
    EXPECT_EQ(ReadAppsIni(QStringLiteral("app1")), QStringLiteral("Demo\\Demo.ini"));

    folder.writeText(QStringLiteral("Apps\\Demo\\Demo.ini"), QStringLiteral("[App]\r\nName=Demo\r\nAbout=某作者\r\n"));
    EXPECT_EQ(GetAppAbout(1), QStringLiteral("某作者"));
    EXPECT_EQ(GetAppAbout(2), QString());
    EXPECT_EQ(AppFolderOfEntry(QStringLiteral("Demo\\Demo.ini")), QStringLiteral("Demo"));
    EXPECT_EQ(AppFolderOfEntry(QStringLiteral("Demo")), QStringLiteral("Demo"));
    EXPECT_EQ(AppFolderOfEntry(QStringLiteral("..\\Demo.ini")), QString());
}

} // namespace
