// The bookmarks panel in the real main window: the bookmark button, the
// glide, the tools-menu items and the panel's two events.
#include "BookmarkFiles.h"
#include "Files.h"
#include "Mouse.h"
#include "ProgramFolder.h"
#include "Twips.h"
#include "frmMain.h"
#include "ucBookmarks.h"
#include "ucCmdBtn.h"
#include "ucWeb.h"

#include "MainWindowSetup.h"
#include "PackageCopy.h"
#include "WaitUntil.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>

using tessivane::frmMain;

namespace {

const QString kSource = QStringLiteral(TESSIVANE_SOURCE_DIR);

class BookmarksHost : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        prog = folder.path() + QStringLiteral("/prog");
        ASSERT_TRUE(CopyTree(kSource + QStringLiteral("/package"), prog));
        ASSERT_TRUE(QDir(prog + QStringLiteral("/Data/Bookmarks")).removeRecursively());
    ASSERT_TRUE(QDir().mkpath(prog + QStringLiteral("/Data/Bookmarks")));
        setProgramFolderOverride(prog);
        WriteSet(QStringLiteral("OnOpen"), QStringLiteral("3"));
        WriteSet(QStringLiteral("AutoDelete"), QStringLiteral("0"));
        w = new frmMain;
        ASSERT_TRUE(w->LoadTheme());
        w->resize(900, 600);
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
        w->AddPage();
    }
    void TearDown() override
    {
        delete w;
        UnhookMouse();
        setProgramFolderOverride(QString());
    }
    ucWeb *cur() const { return w->Web(w->CurIdx); }
    void go(const char *title)
    {
        w->WebGoTo(PageUrl(title));
        ASSERT_TRUE(WaitUntil([&] { return cur()->LocationURL().contains(QLatin1String(title)); }, 15000));
        ASSERT_TRUE(WaitUntil([&] { return cur()->LocationName() == QLatin1String(title); }, 15000));
    }
    double openLeft() const { return TScaleWidth(w) - TWidth(w->BM); }
    void waitOpen()
    {
        ASSERT_TRUE(WaitUntil([&] { return w->tmrSBM->Tag == QStringLiteral("1"); }, 5000));
        EXPECT_FALSE(w->tmrSBM->isEnabled());
        EXPECT_EQ(TLeft(w->BM), openLeft());
        EXPECT_EQ(TTop(w->BM), THeight(w->picCaption) + THeight(w->picAddr));
    }
    void waitClosed()
    {
        ASSERT_TRUE(WaitUntil([&] { return !w->tmrSBM->isEnabled(); }, 5000));
        EXPECT_TRUE(w->tmrSBM->Tag.isEmpty());
        EXPECT_EQ(TLeft(w->BM), TScaleWidth(w));
    }

    QTemporaryDir folder;
    QString prog;
    frmMain *w = nullptr;
};

TEST_F(BookmarksHost, TheButtonOpensTheSaveBoxAndClosesAnOpenPanel)
{
    go("PageOne");
    EXPECT_EQ(TLeft(w->BM), TScaleWidth(w)); // parked outside at start
    w->imgBM_Click();
    EXPECT_FALSE(w->BM->picSave->isHidden());
    EXPECT_EQ(w->BM->txtCap->text(), QStringLiteral("PageOne"));
    // A second click while gliding in fills the box again and lets the glide finish.
    w->BM->txtCap->setText(QStringLiteral("typed"));
    w->imgBM_Click();
    EXPECT_EQ(w->BM->txtCap->text(), QStringLiteral("PageOne"));
    waitOpen();
    EXPECT_EQ(THeight(w->BM), 2910);

    // Open: Ctrl+D's menu item glides it out and leaves the box alone.
    w->BM->txtCap->setText(QStringLiteral("typed"));
    w->mnuMc_Click(6);
    waitClosed();
    EXPECT_EQ(w->BM->txtCap->text(), QStringLiteral("typed"));
}

TEST_F(BookmarksHost, DoubleClickAndMenuItemSevenOpenTheList)
{
    ASSERT_TRUE(SaveBookmark(QStringLiteral("http://a/"), QStringLiteral("one")));
    ASSERT_TRUE(SaveBookmark(QStringLiteral("http://b/"), QStringLiteral("two")));

    // The real double click: press, release, press, double click, release.
    ASSERT_TRUE(w->imgBM->isVisible());
    QTest::mouseClick(w->imgBM, Qt::LeftButton);
    QTest::mouseDClick(w->imgBM, Qt::LeftButton);
    QTest::mouseRelease(w->imgBM, Qt::LeftButton);
    waitOpen();
    EXPECT_TRUE(w->BM->picSave->isHidden());
    EXPECT_EQ(THeight(w->BM), 5670);
    EXPECT_EQ(w->BM->rowCount(), 2);

    w->imgBM_Click();
    waitClosed();
    w->mnuMc_Click(7);
    waitOpen();
    EXPECT_TRUE(w->BM->picSave->isHidden());
    EXPECT_EQ(w->BM->rowCount(), 2);
    // The panel stays the topmost control.
    w->ZOrderTop(cur());
    EXPECT_EQ(w->children().last(), w->BM);
}

TEST_F(BookmarksHost, ConfirmingSavesTheCurrentAddressAndGlidesOut)
{
    go("SaveMe");
    w->imgBM_Click();
    waitOpen();
    w->BM->txtCap->setText(QStringLiteral("我的 书签"));
    QTest::mouseClick(w->BM->btnAdd, Qt::LeftButton);
    waitClosed();
    const QString file = prog + QStringLiteral("/Data/Bookmarks/我的 书签.vkt");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromLatin1(f.readAll()), cur()->LocationURL() + QStringLiteral("\r\n"));

    // A name with separators writes nothing anywhere, and the panel still glides out.
    const QStringList before = QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    w->imgBM_Click();
    waitOpen();
    w->BM->txtCap->setText(QStringLiteral("..\\..\\..\\escaped"));
    QTest::mouseClick(w->BM->btnAdd, Qt::LeftButton);
    waitClosed();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    EXPECT_EQ(QDir(prog + QStringLiteral("/Data/Bookmarks")).entryList(QDir::Files).size(), 1);
}

TEST_F(BookmarksHost, OpeningABookmarkGlidesOutAndNavigates)
{
    go("Before");
    ASSERT_TRUE(SaveBookmark(PageUrl("Target"), QStringLiteral("target")));
    w->mnuMc_Click(7);
    waitOpen();
    ASSERT_EQ(w->BM->rowCount(), 1);
    QTest::mouseClick(w->BM->lblItems(1), Qt::LeftButton);
    QTest::mouseDClick(w->BM->lblItems(1), Qt::LeftButton);
    QTest::mouseRelease(w->BM->lblItems(1), Qt::LeftButton);
    waitClosed();
    ASSERT_TRUE(WaitUntil([&] { return cur()->LocationName() == QStringLiteral("Target"); }, 15000));

    // A file removed behind the list's back navigates nowhere.
    w->mnuMc_Click(7);
    waitOpen();
    QFile::remove(toLocalPath(BookmarkFolder() + QStringLiteral("target.vkt")));
    int loads = 0;
    QObject::connect(cur()->Docoment(), &QWebEnginePage::loadStarted, cur(), [&] { ++loads; });
    w->BM->lblItems_DblClick(1);
    waitClosed();
    ASSERT_TRUE(PageCaughtUp(cur()));
    EXPECT_EQ(loads, 0);
    EXPECT_EQ(cur()->LocationName(), QStringLiteral("Target"));
}

} // namespace
