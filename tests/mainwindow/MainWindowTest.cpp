// The main window as a user drives it: toolbar, tools menu, hotkeys, shutdown.
#include "FakeFileDialogs.h"
#include "FakeMessageBoxes.h"
#include "FakeProcesses.h"
#include "clsCdlg.h"
#include "Files.h"
#include "Mouse.h"
#include "ProgramFolder.h"
#include "ThemeColors.h"
#include "Twips.h"
#include "frmMain.h"
#include "ucTabs.h"
#include "ucWeb.h"

#include "MainWindowSetup.h"
#include "PackageCopy.h"
#include "WaitUntil.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

using tessivane::frmMain;

namespace {

class MainWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        w = OpenMainWindow(folder.path(), {{QStringLiteral("Unload"), QStringLiteral("1")}});
        ASSERT_TRUE(w);
    }
    void TearDown() override
    {
        delete w;
        UnhookMouse();
        setProgramFolderOverride(QString());
    }
    int openTabs() const { return OpenTabCount(w); }
    QString location() const { return CurrentPageAddress(w); }
    void go(const char *title) { ASSERT_TRUE(GoAndWait(w, title)); }

    QTemporaryDir folder;
    frmMain *w = nullptr;
};

TEST_F(MainWindow, BackButtonGoesBackAndADragToTheRightGoesForward)
{
    go("first");
    go("second");
    const QImage back = w->imgBtn[0]->pixmap().toImage();

    // A release without a qualifying drag goes back.
    w->imgBtn_MouseMove(0, 0, 0, 50, 10);
    w->imgBtn_MouseMove(0, 1, 0, 150, 10); // exactly 100 twips further: not yet armed
    EXPECT_EQ(w->imgBtn[0]->pixmap().toImage(), back);
    w->imgBtn_MouseUp(0, 1, 0, 150, 10);
    ASSERT_TRUE(WaitUntil([&] { return location().contains(QLatin1String("first")); }, 15000));

    // More than 100 twips to the right of the last hover arms forward and shows its picture.
    w->imgBtn_MouseMove(0, 0, 0, 50, 10);
    w->imgBtn_MouseMove(0, 1, 0, 151, 10);
    EXPECT_NE(w->imgBtn[0]->pixmap().toImage(), back);
    w->imgBtn_MouseMove(0, 1, 0, 0, 10); // moving back left does not disarm
    w->imgBtn_MouseUp(0, 2, 0, 0, 10);   // any button releases
    ASSERT_TRUE(WaitUntil([&] { return location().contains(QLatin1String("second")); }, 15000));
    EXPECT_EQ(w->imgBtn[0]->pixmap().toImage(), back);
}

TEST_F(MainWindow, AddressesAreTrimmedOfBlanksAndLineBreaks)
{
    // The text of a bookmark file, as a forwarded request carries it.
    w->WebGoTo(QStringLiteral(" about:nav\r\n"));
    ASSERT_TRUE(WaitUntil([&] { return location() == QStringLiteral("about:nav"); }, 15000)) << qPrintable(location());
}

TEST_F(MainWindow, StopRaisesRefreshAgain)
{
    w->ZOrderTop(w->imgBtn[2]);
    w->imgBtn_MouseUp(2, 1, 0, 0, 0);
    const QObjectList order = w->picCaption->children();
    EXPECT_GT(order.indexOf(w->imgBtn[1]), order.indexOf(w->imgBtn[2]));
}

TEST_F(MainWindow, ToolsMenuItems)
{
    w->AddPage();
    w->AddPage();
    ASSERT_EQ(openTabs(), 3);
    w->mnuMc_Click(4); // close all: the last one stays
    EXPECT_EQ(openTabs(), 1);

    // Gestures on, toggled twice: "1" again and one hook.
    WriteSet(QStringLiteral("Mouse"), QStringLiteral("1"));
    w->mnuMc[11]->setChecked(true);
    HookMouse();
    w->mnuMc_Click(11);
    EXPECT_EQ(ReadSet(QStringLiteral("Mouse")), QStringLiteral("0"));
    EXPECT_FALSE(MouseHooked());
    w->mnuMc_Click(11);
    EXPECT_EQ(ReadSet(QStringLiteral("Mouse")), QStringLiteral("1"));
    EXPECT_TRUE(MouseHooked());
    EXPECT_TRUE(w->mnuMc[11]->isChecked());
    // Triggering the item from the menu inverts the mark once.
    w->mnuMc[11]->trigger();
    EXPECT_FALSE(w->mnuMc[11]->isChecked());
    EXPECT_EQ(ReadSet(QStringLiteral("Mouse")), QStringLiteral("0"));
}

TEST_F(MainWindow, ClosingSeveralTabsAsksAndANoKeepsEverything)
{
    FakeMessageBoxes boxes;
    WriteSet(QStringLiteral("Mouse"), QStringLiteral("1"));
    HookMouse();
    w->AddPage();
    go("kept");
    const QByteArray before = [&] {
        QFile f(folder.filePath(QStringLiteral("config.ini")));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();

    boxes.queueAnswer(MsgAnswer::No);
    EXPECT_FALSE(w->close());
    ASSERT_EQ(boxes.asked().size(), 1);
    EXPECT_EQ(boxes.asked().at(0).title, QStringLiteral("关闭多个标签页"));
    EXPECT_EQ(boxes.asked().at(0).text,
              QStringLiteral("您的操作会关闭所有已经打开的标签页\r\n您确定要继续吗？"));
    EXPECT_EQ(boxes.asked().at(0).buttons, MsgButtons::YesNo);
    EXPECT_EQ(openTabs(), 2);
    EXPECT_TRUE(MouseHooked()); // gestures keep working after a No
    QFile f(folder.filePath(QStringLiteral("config.ini")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

} // namespace

namespace {

TEST(DownloadNames, ExtensionAndTarget)
{
    EXPECT_EQ(DownloadExtension(QStringLiteral("setup.exe")), QStringLiteral("exe"));
    EXPECT_EQ(DownloadExtension(QStringLiteral("a.tar.gz")), QStringLiteral("gz"));
    EXPECT_EQ(DownloadExtension(QStringLiteral("README")), QString());
    EXPECT_EQ(DownloadTarget(QStringLiteral("/d/setup"), QStringLiteral("exe")), QStringLiteral("/d/setup.exe"));
    EXPECT_EQ(DownloadTarget(QStringLiteral("/d/setup.exe"), QStringLiteral("exe")), QStringLiteral("/d/setup.exe"));
    EXPECT_EQ(DownloadTarget(QStringLiteral("/d/x"), QString()), QStringLiteral("/d/x"));
}

class Downloads : public MainWindow
{
protected:
    void placeDunmora()
    {
        QFile f(folder.filePath(QStringLiteral("Dunmora")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    FakeFileDialogs dialogs;
    FakeProcesses processes;
};

TEST_F(Downloads, AnOfferedFileGoesToDunmoraWithTheChosenTarget)
{
    placeDunmora();
    WriteSet(QStringLiteral("AutoDownload"), QStringLiteral("1"));
    dialogs.queueAnswer(QStringLiteral("/tmp/got/setup"));
    QString name = QStringLiteral("setup.exe");
    w->Web_FilDwn(1, QStringLiteral("http://h/setup.exe"), &name);
    ASSERT_EQ(dialogs.asked().size(), 1);
    EXPECT_EQ(dialogs.asked().at(0).title, QStringLiteral("新建下载"));
    EXPECT_EQ(dialogs.asked().at(0).kind, FileDialogRequest::Save);
    EXPECT_EQ(dialogs.asked().at(0).initialName, QStringLiteral("setup.exe"));
    EXPECT_EQ(dialogs.asked().at(0).filter, QStringLiteral("exe 文件") + QChar(0) + QStringLiteral("*.exe"));
    ASSERT_EQ(processes.starts().size(), 1);
    EXPECT_EQ(processes.starts().at(0).program, folder.filePath(QStringLiteral("Dunmora")));
    EXPECT_EQ(processes.starts().at(0).arguments,
              QStringList{QStringLiteral("http://h/setup.exe@@/tmp/got/setup.exe")});
    bool taken = false;
    w->Web_DownloadHandOff(1, QStringLiteral("http://h/setup.exe"), &taken);
    EXPECT_TRUE(taken); // the engine drops its own transfer

    // The download icon shows Dunmora's window.
    w->imgDwn_MouseUp(2, 0, 0, 0);
    ASSERT_EQ(processes.starts().size(), 2);
    EXPECT_EQ(processes.starts().at(1).arguments, QStringList{QStringLiteral("Show")});
}

TEST_F(Downloads, NothingGoesToDunmoraWhenOffCancelledOrMissing)
{
    QString name = QStringLiteral("a.tar.gz");
    bool taken = true;

    WriteSet(QStringLiteral("AutoDownload"), QStringLiteral("0"));
    placeDunmora();
    w->Web_FilDwn(1, QStringLiteral("http://h/a.tar.gz"), &name);
    EXPECT_TRUE(dialogs.asked().isEmpty());
    w->Web_DownloadHandOff(1, QString(), &taken);
    EXPECT_FALSE(taken); // the page control saves the file itself

    WriteSet(QStringLiteral("AutoDownload"), QStringLiteral("1"));
    dialogs.queueAnswer(QString()); // cancelled
    w->Web_FilDwn(1, QStringLiteral("http://h/a.tar.gz"), &name);
    EXPECT_EQ(dialogs.asked().size(), 1);
    EXPECT_EQ(dialogs.asked().at(0).filter, QStringLiteral("gz 文件") + QChar(0) + QStringLiteral("*.gz"));
    EXPECT_TRUE(processes.starts().isEmpty());

    QFile::remove(folder.filePath(QStringLiteral("Dunmora")));
    dialogs.queueAnswer(QStringLiteral("/tmp/a.tar"));
    w->Web_FilDwn(1, QStringLiteral("http://h/a.tar.gz"), &name);
    w->imgDwn_MouseUp(1, 0, 0, 0);
    EXPECT_TRUE(processes.starts().isEmpty());
    taken = true;
    w->Web_DownloadHandOff(1, QString(), &taken);
    EXPECT_FALSE(taken);
}

} // namespace
