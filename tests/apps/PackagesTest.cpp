#include "AppHost.h"
#include "AppPackages.h"
#include "Apps.h"
#include "Clipboard.h"
#include "FakeMessageBoxes.h"
#include "FakeProcesses.h"
#include "Files.h"
#include "ProgramFolder.h"
#include "TestProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <memory>

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

TEST_F(Packages, InstallGoesOnWhenTheToolHasEnded)
{
    InstallApp(QStringLiteral("/home/u/Demo.old.zelp"));
    ASSERT_EQ(processes.starts().size(), 1);
    const FakeProcesses::Start start = processes.starts().at(0);
    EXPECT_EQ(start.program, prog() + QStringLiteral("rar"));
    ASSERT_EQ(start.arguments.size(), 3);
    EXPECT_EQ(start.arguments.at(0), QStringLiteral("x"));
    EXPECT_EQ(start.arguments.at(1), QStringLiteral("/home/u/Demo.old.zelp"));
    // A fresh staging folder inside "Apps\", given as the browser writes paths.
    const QString staging = start.arguments.at(2);
    EXPECT_TRUE(staging.startsWith(prog() + QStringLiteral("Apps\\.zelp-"))) << qPrintable(staging);
    EXPECT_TRUE(staging.endsWith(QLatin1Char('\\')));
    EXPECT_TRUE(QFileInfo(toLocalPath(staging)).isDir());
    EXPECT_TRUE(start.hidden);
    EXPECT_TRUE(start.watched);
    EXPECT_EQ(Clipboard::text(), prog() + QStringLiteral("rar x \"/home/u/Demo.old.zelp\" \"") + prog()
                                     + QStringLiteral("Apps\\Demo\""));
    // Nothing is registered while the tool runs.
    EXPECT_EQ(folder.readBytes(QStringLiteral("Apps\\Apps.ini")), QByteArray("[Apps]\r\nCount=0\r\n"));
    EXPECT_EQ(host.slides, 0);

    folder.writeBytes(QString(staging).remove(0, prog().size()) + QStringLiteral("Demo\\Demo.ini"),
                      "[App]\r\nName=Demo\r\nAllowedExt=1\r\n");
    ASSERT_TRUE(processes.finish(0, 0));
    EXPECT_EQ(folder.readBytes(QStringLiteral("Apps\\Apps.ini")), QByteArray("[Apps]\r\nCount=1\r\napp1=Demo\\Demo.ini\r\n"));
    EXPECT_EQ(folder.readBytes(QStringLiteral("Apps\\Demo\\Demo.ini")), QByteArray("[App]\r\nName=Demo\r\nAllowedExt=0\r\n"));
    EXPECT_EQ(host.slides, 1);
    EXPECT_TRUE(boxes.asked().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(toLocalPath(staging)));
}

TEST_F(Packages, ExitStatusOfTheToolIsRead)
{
    for (int exitCode : {1, 2, -1}) {
        boxes.clear();
        InstallApp(QStringLiteral("/p/Demo.zelp"));
        const int i = int(processes.starts().size()) - 1;
        const QString staging = processes.starts().at(i).arguments.at(2);
        // What the tool managed to write looks whole; its status says it is not.
        folder.writeBytes(QString(staging).remove(0, prog().size()) + QStringLiteral("Demo\\Demo.ini"), "[App]\r\nName=Demo\r\n");
        ASSERT_TRUE(processes.finish(i, exitCode));
        ASSERT_EQ(boxes.asked().size(), 1) << exitCode;
        EXPECT_EQ(boxes.asked().at(0).title, QStringLiteral("应用安装时错误"));
        EXPECT_EQ(boxes.asked().at(0).text, QStringLiteral("应用 Demo 安装失败：安装包已损坏或含有不允许的内容"));
        EXPECT_EQ(boxes.asked().at(0).icon, MsgIcon::Exclamation);
        EXPECT_EQ(folder.readBytes(QStringLiteral("Apps\\Apps.ini")), QByteArray("[Apps]\r\nCount=0\r\n"));
        EXPECT_FALSE(QFileInfo::exists(prog() + QStringLiteral("Apps/Demo")));
        EXPECT_FALSE(QFileInfo::exists(toLocalPath(staging)));
    }
    EXPECT_EQ(host.slides, 3);

    // The staging folder is gone before the user is told.
    {
        struct Probe : FakeMessageBoxes
        {
            QString apps;
            QStringList seen;
            MsgAnswer ask(const MsgBoxRequest &request, QWidget *parent) override
            {
                seen = QDir(apps).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
                return FakeMessageBoxes::ask(request, parent);
            }
        } probe;
        probe.apps = prog() + QStringLiteral("Apps");
        InstallApp(QStringLiteral("/p/Demo.zelp"));
        ASSERT_TRUE(processes.finish(int(processes.starts().size()) - 1, 1));
        EXPECT_EQ(probe.seen, QStringList(QStringLiteral("Apps.ini")));
    }

    // With an installed version the message says it is kept.
    folder.writeBytes(QStringLiteral("Apps\\Demo\\Demo.ini"), "[App]\r\nName=Demo\r\nAllowedExt=1\r\n");
    boxes.clear();
    InstallApp(QStringLiteral("/p/Demo.zelp"));
    ASSERT_TRUE(processes.finish(int(processes.starts().size()) - 1, 1));
    ASSERT_EQ(boxes.asked().size(), 1);
    EXPECT_EQ(boxes.asked().at(0).text,
              QStringLiteral("应用 Demo 安装失败：安装包已损坏或含有不允许的内容\r\n已安装的版本保持不变"));
    EXPECT_EQ(folder.readBytes(QStringLiteral("Apps\\Demo\\Demo.ini")), QByteArray("[App]\r\nName=Demo\r\nAllowedExt=1\r\n"));
}

TEST_F(Packages, StagingFolderGoesWhenTheToolNeverReports)
{
    auto pending = std::make_unique<FakeProcesses>();
    InstallApp(QStringLiteral("/p/Demo.zelp"));
    const QString staging = toLocalPath(pending->starts().at(0).arguments.at(2));
    EXPECT_TRUE(QFileInfo(staging).isDir());
    pending.reset();
    EXPECT_FALSE(QFileInfo::exists(staging));
    EXPECT_EQ(folder.readBytes(QStringLiteral("Apps\\Apps.ini")), QByteArray("[Apps]\r\nCount=0\r\n"));
}

TEST_F(Packages, PackageNameThatCannotBeAnAppIsRefused)
{
    for (const QString &path : {QStringLiteral("/p/.zelp"), QStringLiteral("/p/a\x1b[2Jb.zelp"), QStringLiteral("/p/ x.zelp"),
                                QStringLiteral("/p/a:b.zelp")}) {
        boxes.clear();
        InstallApp(path);
        ASSERT_EQ(boxes.asked().size(), 1) << qPrintable(path);
        EXPECT_EQ(boxes.asked().at(0).title, QStringLiteral("应用安装时错误"));
        EXPECT_EQ(boxes.asked().at(0).text, QStringLiteral("应用安装包的文件名不能用作应用的名称，应用未安装"));
    }
    EXPECT_TRUE(processes.starts().isEmpty());
    EXPECT_EQ(folder.readBytes(QStringLiteral("Apps\\Apps.ini")), QByteArray("[Apps]\r\nCount=0\r\n"));
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

    // Entries that would reach out of "Apps\" delete nothing and are left in the registry.
    folder.writeBytes(QStringLiteral("keep.txt"), "x");
    for (const char *bad : {"..\\x.ini", ".\\x.ini", "/tmp\\x.ini", "..", "a/../..\\x.ini"}) {
        const QByteArray registry = QByteArray("[Apps]\r\nCount=1\r\napp1=") + bad + "\r\n";
        folder.writeBytes(QStringLiteral("Apps\\Apps.ini"), registry);
        DelApp(1);
        EXPECT_TRUE(QFileInfo::exists(prog() + QStringLiteral("keep.txt"))) << bad;
        EXPECT_TRUE(QFileInfo::exists(prog() + QStringLiteral("Apps"))) << bad;
        EXPECT_EQ(folder.readBytes(QStringLiteral("Apps\\Apps.ini")), registry) << bad;
    }
}

TEST_F(Packages, CorruptCountAndAboutText)
{
    folder.writeBytes(QStringLiteral("Apps\\Apps.ini"), "[Apps]\r\nCount=99999999999\r\n");
    InstallApp(QStringLiteral("/p/Demo.zelp")); // a damaged count does not hang the duplicate walk
    folder.writeBytes(QString(processes.starts().at(0).arguments.at(2)).remove(0, prog().size()) + QStringLiteral("Demo\\Demo.ini"), "");
    ASSERT_TRUE(processes.finish(0, 0));
    folder.writeBytes(QStringLiteral("Apps\\Apps.ini"), "[Apps]\r\nCount=zz\r\n");
    InstallApp(QStringLiteral("/p/Demo.zelp"));
    folder.writeBytes(QString(processes.starts().at(1).arguments.at(2)).remove(0, prog().size()) + QStringLiteral("Demo\\Demo.ini"), "");
    ASSERT_TRUE(processes.finish(1, 0));
    EXPECT_EQ(ReadAppsIni(QStringLiteral("Count")), QStringLiteral("1"));
    EXPECT_EQ(ReadAppsIni(QStringLiteral("app1")), QStringLiteral("Demo\\Demo.ini"));

    folder.writeText(QStringLiteral("Apps\\Demo\\Demo.ini"), QStringLiteral("[App]\r\nName=Demo\r\nAbout=某作者\r\n"));
    EXPECT_EQ(GetAppAbout(1), QStringLiteral("某作者"));
    EXPECT_EQ(GetAppAbout(2), QString());
}

TEST(AppNames, EntriesAndPackageNames)
{
    const struct { const char *entry; const char *name; } entries[] = {
        {"Demo\\Demo.ini", "Demo"}, {"\xe6\x97\xb6\xe9\x92\x9f\\\xe6\x97\xb6\xe9\x92\x9f.ini", "\xe6\x97\xb6\xe9\x92\x9f"},
        {"Demo", ""}, {"Demo\\Other.ini", ""}, {"Demo\\demo.ini", ""}, {"Demo\\Demo.ini\\x", ""},
        {"..\\..\\x.ini", ""}, {"..\\...ini", ""}, {"/tmp\\/tmp.ini", ""}, {"C:\\C:.ini", ""},
        {"Demo/Demo.ini", ""}, {"a\nb\\a\nb.ini", ""}, {" Demo\\ Demo.ini", ""}, {"", ""},
    };
    for (const auto &e : entries)
        EXPECT_EQ(AppNameOfEntry(QString::fromUtf8(e.entry)), QString::fromUtf8(e.name)) << e.entry;

    EXPECT_TRUE(IsAppName(QStringLiteral("My App")));
    EXPECT_FALSE(IsAppName(QStringLiteral("a\x7f")));
    EXPECT_FALSE(IsAppName(QString::fromUtf8("\xf0\x9f\x98\x80"))); // not in the registry's code page
    EXPECT_TRUE(IsAppName(QString(251, QLatin1Char('a'))));          // 251.ini: the longest file name
    EXPECT_FALSE(IsAppName(QString(252, QLatin1Char('a'))));
    EXPECT_TRUE(IsAppName(QString(83, QChar(0x5e94))));              // 83 Han characters: 249 + 4 bytes
}

} // namespace
