// The app panel in the real main window: icons, run on click, drag out to
// remove, install through the panel's dialog.
#include "AppEngines.h"
#include "FakeFileDialogs.h"
#include "FakeMessageBoxes.h"
#include "FakeProcesses.h"
#include "Files.h"
#include "TestArchive.h"
#include "ProgramFolder.h"
#include "Twips.h"
#include "frmMain.h"
#include "ucWeb.h"

#include "MainWindowSetup.h"
#include "PackageCopy.h"
#include "WaitUntil.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

using tessivane::frmMain;

namespace {

QByteArray ReadBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
}

class AppPanel : public ::testing::Test
{
protected:
    void SetUp() override
    {
        w = OpenMainWindow(folder.path(), {{QStringLiteral("Unload"), QStringLiteral("0")}});
        ASSERT_TRUE(w);
    }
    void TearDown() override
    {
        delete w;
        setProgramFolderOverride(QString());
    }
    QString p(const QString &rel) const { return folder.path() + QLatin1Char('/') + rel; }
    // Registers n address apps named A1..An; app k opens "data:text/html,<title>Pk</title>".
    void Apps(int n)
    {
        QByteArray reg = "[Apps]\r\nCount=" + QByteArray::number(n) + "\r\n";
        for (int k = 1; k <= n; ++k) {
            const QByteArray name = "A" + QByteArray::number(k);
            reg += "app" + QByteArray::number(k) + "=" + name + "\\" + name + ".ini\r\n";
            WriteFile(p(QStringLiteral("Apps/%1/%1.ini").arg(QString::fromLatin1(name))),
                      "[App]\r\nName=" + name + "\r\nType=url\r\nUrl=Apps\\" + name + "\\u.txt\r\nAbout=au" + name + "\r\n");
            WriteFile(p(QStringLiteral("Apps/%1/u.txt").arg(QString::fromLatin1(name))),
                      "data:text/html,<title>P" + QByteArray::number(k) + "</title>x");
        }
        WriteFile(p(QStringLiteral("Apps/Apps.ini")), reg);
    }

    QTemporaryDir folder;
    frmMain *w = nullptr;
};

TEST_F(AppPanel, IconsFollowTheRegistry)
{
    w->RfshApps();
    EXPECT_TRUE(w->picAppCore->isHidden());
    EXPECT_FALSE(w->lblShow[2]->isHidden());
    EXPECT_TRUE(w->sroApp->isHidden());

    Apps(11);
    w->RfshApps();
    EXPECT_FALSE(w->picAppCore->isHidden());
    EXPECT_TRUE(w->lblShow[2]->isHidden());
    ASSERT_EQ(w->picAIco.ubound(), 11);
    EXPECT_EQ(TLeft(w->picAIco(5)), 4890);
    EXPECT_EQ(TTop(w->picAIco(5)), 544);
    EXPECT_EQ(w->picAIco(3)->toolTip(), QStringLiteral("A3    版权: auA3"));
    EXPECT_FALSE(w->sroApp->isHidden());
    EXPECT_EQ(w->sroApp->maximum(), 1); // 4336 twips of content in 4335
    w->sroApp->setValue(w->sroApp->maximum());
    EXPECT_EQ(TTop(w->picAppCore), -TTop(w->lblAddApp[1]));

    Apps(2);
    w->RfshApps();
    EXPECT_EQ(w->picAIco.ubound(), 2);
    EXPECT_TRUE(w->sroApp->isHidden());
}

TEST_F(AppPanel, DamagedCountDoesNotHang)
{
    WriteFile(p(QStringLiteral("Apps/Apps.ini")), "[Apps]\r\nCount=1e9\r\napp1=A\\A.ini\r\n");
    QElapsedTimer t;
    t.start();
    w->RfshApps();
    EXPECT_EQ(w->picAIco.ubound(), 1);
    EXPECT_LT(t.elapsed(), 5000);
}

TEST_F(AppPanel, ClickRunsDragOutRemoves)
{
    Apps(3);
    w->RfshApps();
    w->picAIco_MouseDown(2, 2, 0, 10, 10);
    EXPECT_EQ(w->lblAddApp[1]->text(), QStringLiteral("将应用拖拽出应用库可以删除应用"));
    w->picAIco_MouseUp(2, 2, 0, 10, 10); // a right click runs too
    EXPECT_EQ(w->lblAddApp[1]->text(), QStringLiteral("添加应用"));
    EXPECT_EQ(w->tmrSApp->Tag, QStringLiteral("1"));
    ASSERT_TRUE(WaitUntil([&] { return w->Web(w->CurIdx)->LocationURL().contains(QLatin1String("P2")); }, 15000));

    // Dragged partly over the edge: runs, does not remove.
    w->picAIco_MouseMove(1, 0, 0, 0, 0);
    w->picAIco_MouseMove(1, 1, 0, -500, 0);
    w->picAIco_MouseUp(1, 1, 0, -500, 0);
    EXPECT_EQ(ReadAppsIni(QStringLiteral("Count")), QStringLiteral("3"));

    // Wholly outside: removed.
    w->picAIco_MouseMove(1, 0, 0, 0, 0);
    w->picAIco_MouseMove(1, 1, 0, -3000, 0);
    w->picAIco_MouseUp(1, 1, 0, -3000, 0);
    EXPECT_EQ(ReadAppsIni(QStringLiteral("Count")), QStringLiteral("2"));
    EXPECT_FALSE(QFileInfo::exists(p(QStringLiteral("Apps/A1"))));
    EXPECT_EQ(w->picAIco.ubound(), 2);
}

TEST_F(AppPanel, FailingRunShowsTheErrorText)
{
    WriteFile(p(QStringLiteral("Apps/Bad/Bad.ini")), "[App]\r\nName=Bad\r\nType=vbscript\r\nScript=Apps\\Bad\\m.vbs\r\nHasUI=0\r\n");
    WriteFile(p(QStringLiteral("Apps/Bad/m.vbs")), "AddTab\r\n");
    WriteFile(p(QStringLiteral("Apps/Apps.ini")), "[Apps]\r\nCount=1\r\napp1=Bad\\Bad.ini\r\n");
    w->RfshApps();
    FakeMessageBoxes boxes;
    w->picAIco_MouseUp(1, 1, 0, 10, 10);
    ASSERT_EQ(boxes.asked().size(), 1);
    EXPECT_EQ(boxes.asked().at(0).title, QStringLiteral("应用出现错误"));
    EXPECT_EQ(boxes.asked().at(0).icon, MsgIcon::Exclamation);
    EXPECT_TRUE(boxes.asked().at(0).text.startsWith(QStringLiteral("应用 Bad 运行时出现错误")));
}

TEST_F(AppPanel, InstallFromTheDialogCopiesIntoAppsOnce)
{
    WriteFile(p(QStringLiteral("rar")), "#!/bin/sh\n");
    QTemporaryDir outside;
    WriteFile(outside.path() + QStringLiteral("/Demo.v2.zelp"), "PKG");
    FakeFileDialogs dialogs;
    FakeProcesses processes;
    dialogs.queueAnswer(outside.path() + QStringLiteral("/Demo.v2.zelp"));
    w->lblAddApp_Click(1);
    ASSERT_EQ(dialogs.asked().size(), 1);
    EXPECT_EQ(dialogs.asked().at(0).title, QStringLiteral("载入Zelp安装包"));
    QFile copied(p(QStringLiteral("Apps/Demo.zelp")));
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
    EXPECT_EQ(copied.readAll(), QByteArray("PKG"));
    copied.close();
    ASSERT_EQ(processes.starts().size(), 1);
    EXPECT_EQ(processes.starts().at(0).arguments.at(1), GetAppPath() + QStringLiteral("Apps\\Demo.zelp"));
    // The tool unpacked the package into the staging folder it was given.
    WriteFile(toLocalPath(processes.starts().at(0).arguments.at(2)) + QStringLiteral("Demo/Demo.ini"), "[App]\r\nName=Demo\r\n");
    ASSERT_TRUE(processes.finish(0, 0));
    EXPECT_EQ(ReadAppsIni(QStringLiteral("app1")), QStringLiteral("Demo\\Demo.ini"));

    // The package already in place, chosen with "/": used as it is, not emptied.
    dialogs.queueAnswer(p(QStringLiteral("Apps/Demo.zelp")));
    w->lblAddApp_Click(0);
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
    EXPECT_EQ(copied.readAll(), QByteArray("PKG"));
    ASSERT_EQ(processes.starts().size(), 2);
    WriteFile(toLocalPath(processes.starts().at(1).arguments.at(2)) + QStringLiteral("Demo/Demo.ini"), "[App]\r\nName=Demo\r\n");
    ASSERT_TRUE(processes.finish(1, 0));
    EXPECT_EQ(ReadAppsIni(QStringLiteral("Count")), QStringLiteral("1"));

    dialogs.queueAnswer(QString()); // cancelled
    w->lblAddApp_Click(0);
    EXPECT_EQ(processes.starts().size(), 2);
}

TEST_F(AppPanel, HostilePackageFromTheDialogIsReportedAndChangesNothing)
{
    ASSERT_TRUE(QFile::copy(QStringLiteral(RAR_TOOL_PATH), p(QStringLiteral("rar"))));
    Apps(1);
    w->RfshApps();
    const QByteArray registry = ReadBytes(p(QStringLiteral("Apps/Apps.ini")));
    QTemporaryDir outside;
    const QString pkg = outside.path() + QStringLiteral("/A1.zelp");
    ASSERT_TRUE(WriteArchive(pkg, {FileEntry("A1/A1.ini", "[App]\r\nName=Hijacked\r\nType=url\r\nUrl=x\r\n"),
                                   FileEntry("../Apps.ini", "[Apps]\r\nCount=0\r\n"),
                                   LinkEntry("A1/cfg", QFile::encodeName(p(QStringLiteral("config.ini"))), false)},
                             ArchiveFormat::Tar));
    FakeFileDialogs dialogs;
    FakeMessageBoxes boxes;
    dialogs.queueAnswer(pkg);
    w->lblAddApp_Click(1);
    ASSERT_TRUE(WaitUntil([&] { return !boxes.asked().isEmpty(); }, 15000));
    EXPECT_EQ(boxes.asked().at(0).title, QStringLiteral("应用安装时错误"));
    EXPECT_EQ(boxes.asked().at(0).text,
              QStringLiteral("应用 A1 安装失败：安装包已损坏或含有不允许的内容\r\n已安装的版本保持不变"));
    EXPECT_EQ(ReadBytes(p(QStringLiteral("Apps/Apps.ini"))), registry);
    EXPECT_TRUE(ReadBytes(p(QStringLiteral("Apps/A1/A1.ini"))).startsWith("[App]\r\nName=A1\r\n"));
    EXPECT_FALSE(QFileInfo::exists(p(QStringLiteral("Apps/A1/cfg"))));
    // The panel's own glide still runs: the install ended.
    EXPECT_TRUE(w->tmrSApp->isActive() || !w->tmrSApp->Tag.isEmpty());
}

TEST_F(AppPanel, EntryOfTheWrongFormIsNeitherRunNorRemoved)
{
    Apps(1);
    WriteFile(p(QStringLiteral("Apps/Apps.ini")), "[Apps]\r\nCount=1\r\napp1=A1\\u.ini\r\n");
    // Were it run, it would load an engine at once.
    WriteFile(p(QStringLiteral("Apps/A1/u.ini")),
              "[App]\r\nName=Evil\r\nType=javascript\r\nScript=Apps\\A1\\m.js\r\nUseExtent=0\r\nHasUI=0\r\n");
    WriteFile(p(QStringLiteral("Apps/A1/m.js")), "var x = 1;\r\n");
    w->RfshApps();
    ASSERT_EQ(w->picAIco.ubound(), 1);
    EXPECT_EQ(w->picAIco(1)->toolTip(), QStringLiteral("    版权: "));
    const int engines = AppEngines::UBound();
    w->picAIco_MouseUp(1, 1, 0, 10, 10);
    EXPECT_EQ(AppEngines::UBound(), engines);
    w->picAIco_MouseMove(1, 0, 0, 0, 0);
    w->picAIco_MouseMove(1, 1, 0, -3000, 0);
    w->picAIco_MouseUp(1, 1, 0, -3000, 0);
    EXPECT_TRUE(QFileInfo::exists(p(QStringLiteral("Apps/A1/u.ini"))));
    EXPECT_EQ(ReadAppsIni(QStringLiteral("app1")), QStringLiteral("A1\\u.ini"));
}

} // namespace
