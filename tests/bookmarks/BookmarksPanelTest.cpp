// The bookmarks panel offscreen: save box, list, selection bar, deleting, scrolling.
#include "BookmarkFiles.h"
#include "FakeMessageBoxes.h"
#include "ProgramFolder.h"
#include "Twips.h"
#include "ucBookmarks.h"
#include "ucCmdBtn.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

class BookmarksPanel : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        ASSERT_TRUE(QDir().mkpath(root.path() + QStringLiteral("/Data/Bookmarks")));
        setProgramFolderOverride(root.path());
        bm = new ucBookmarks;
        bm->show();
    }
    void TearDown() override
    {
        delete bm;
        setProgramFolderOverride(QString());
    }
    void save(int n)
    {
        for (int i = 1; i <= n; ++i)
            ASSERT_TRUE(SaveBookmark(QStringLiteral("http://site/%1").arg(i), QStringLiteral("bm%1").arg(i, 2, 10, QLatin1Char('0'))));
    }
    QString path(const QString &name) const { return BookmarkFolder() + name + QStringLiteral(".vkt"); }
    double barTop() const { return TTop(bm->lblSel); }

    QTemporaryDir root;
    ucBookmarks *bm = nullptr;
};

TEST_F(BookmarksPanel, SaveBoxAndListSwitchTheHeight)
{
    EXPECT_EQ(TWidth(bm), 4830);
    EXPECT_EQ(THeight(bm), 2910); // the save box shows at design
    EXPECT_EQ(bm->rowCount(), 0);
    EXPECT_TRUE(bm->selTag().isEmpty());
    EXPECT_TRUE(bm->sroBM->isHidden());
    EXPECT_EQ(TTop(bm->imgDel), 60);

    bm->GetBookmarks();
    EXPECT_TRUE(bm->picSave->isHidden());
    EXPECT_EQ(THeight(bm), 5670);
    bm->ShowSave(QStringLiteral("页面标题"));
    EXPECT_FALSE(bm->picSave->isHidden());
    EXPECT_EQ(bm->txtCap->text(), QStringLiteral("页面标题"));
    EXPECT_EQ(THeight(bm), 2910);

    // The host cannot give the panel another size.
    TwipsMove(bm, 0, 0, 9000, 9000);
    EXPECT_EQ(TWidth(bm), 4830);
    EXPECT_EQ(THeight(bm), 2910);
}

TEST_F(BookmarksPanel, AddingRaisesTheTypedNameAndAnEmptyBoxRaisesNothing)
{
    QSignalSpy added(bm, &ucBookmarks::BookmarkAdded);
    bm->ShowSave(QString());
    QTest::mouseClick(bm->btnAdd, Qt::LeftButton);
    EXPECT_EQ(added.count(), 0);
    bm->txtCap->setText(QStringLiteral("我的书签"));
    QTest::mouseClick(bm->btnAdd, Qt::LeftButton);
    ASSERT_EQ(added.count(), 1);
    EXPECT_EQ(added.at(0).at(0).toString(), QStringLiteral("我的书签"));
    // The box stays; nothing is listed.
    EXPECT_FALSE(bm->picSave->isHidden());
    EXPECT_EQ(bm->rowCount(), 0);
}

TEST_F(BookmarksPanel, RowsShowTheNameUpToTheFirstDot)
{
    ASSERT_TRUE(SaveBookmark(QStringLiteral("http://a/"), QStringLiteral("a.b")));
    ASSERT_TRUE(SaveBookmark(QStringLiteral("http://c/"), QStringLiteral("a.c")));
    ASSERT_TRUE(SaveBookmark(QStringLiteral("http://z/"), QStringLiteral("Zed")));
    bm->GetBookmarks();
    ASSERT_EQ(bm->rowCount(), 3);
    const QString captions[] = {QStringLiteral("a"), QStringLiteral("a"), QStringLiteral("Zed")};
    const QString files[] = {QStringLiteral("a.b"), QStringLiteral("a.c"), QStringLiteral("Zed")};
    for (int j = 1; j <= 3; ++j) {
        EXPECT_EQ(bm->lblItems(j)->text(), captions[j - 1]);
        EXPECT_EQ(bm->itemTag(j), path(files[j - 1]));
        EXPECT_EQ(TLeft(bm->lblItems(j)), 120);
        EXPECT_EQ(TTop(bm->lblItems(j)), 495 * (j - 1) + 120);
        EXPECT_FALSE(bm->lblItems(j)->isHidden());
    }
    EXPECT_EQ(THeight(bm->picBMLst), 3 * 495);

    // A rebuild drops rows whose files are gone.
    QFile::remove(toLocalPath(path(QStringLiteral("Zed"))));
    bm->GetBookmarks();
    EXPECT_EQ(bm->rowCount(), 2);
}

TEST_F(BookmarksPanel, NineRowsFitATenthShowsTheScrollBar)
{
    save(9);
    bm->GetBookmarks();
    EXPECT_TRUE(bm->sroBM->isHidden());
    save(10);
    bm->GetBookmarks();
    EXPECT_FALSE(bm->sroBM->isHidden());
    EXPECT_EQ(bm->sroBM->maximum(), 495);
    EXPECT_EQ(bm->sroBM->singleStep(), 495);
    EXPECT_EQ(bm->sroBM->pageStep(), 990);
    bm->sroBM->setValue(495);
    EXPECT_EQ(TTop(bm->picBMLst), 1215 - 495);

    // A listing that fits again leaves the bar and the position alone.
    for (int i = 1; i <= 10; ++i)
        QFile::remove(toLocalPath(path(QStringLiteral("bm%1").arg(i, 2, 10, QLatin1Char('0')))));
    bm->GetBookmarks();
    EXPECT_FALSE(bm->sroBM->isHidden());
    EXPECT_EQ(TTop(bm->picBMLst), 1215 - 495);
}

TEST_F(BookmarksPanel, ClickSelectsDoubleClickAndBarReleaseOpen)
{
    save(4);
    bm->GetBookmarks();
    QSignalSpy opened(bm, &ucBookmarks::BookmarkOpened);

    QTest::mouseClick(bm->lblItems(3), Qt::LeftButton);
    EXPECT_EQ(bm->selTag(), QStringLiteral("3"));
    EXPECT_EQ(barTop(), 990);
    EXPECT_EQ(TTop(bm->imgDel), 990 + 60);
    EXPECT_EQ(opened.count(), 0);

    // A double click: its first click selects the row, its second release does not click again.
    QTest::mouseClick(bm->lblItems(2), Qt::LeftButton);
    QTest::mouseDClick(bm->lblItems(2), Qt::LeftButton);
    EXPECT_EQ(bm->selTag(), QStringLiteral("2"));
    ASSERT_EQ(opened.count(), 1);
    EXPECT_EQ(opened.at(0).at(0).toString(), path(QStringLiteral("bm02")));

    // Releases on the bar open the row under it, with any button; the Tag stays.
    struct Drop
    {
        double top;
        int button;
        int row;
    } drops[] = {
        {990, 1, 3}, {990, 2, 3}, {-5000, 1, 1}, {5000, 1, 4}, {1200, 1, 3}, {1300, 1, 4}, {740, 1, 2}, {745, 1, 3},
    };
    for (const Drop &d : drops) {
        opened.clear();
        SetTTop(bm->lblSel, d.top);
        bm->lblSel_MouseUp(d.button, 0, 100, 100);
        ASSERT_EQ(opened.count(), 1) << d.top;
        EXPECT_EQ(opened.at(0).at(0).toString(), path(QStringLiteral("bm%1").arg(d.row, 2, 10, QLatin1Char('0'))))
            << d.top;
        EXPECT_EQ(barTop(), 495 * (d.row - 1)) << d.top;
        EXPECT_EQ(TTop(bm->imgDel), barTop() + 60);
        EXPECT_EQ(bm->selTag(), QStringLiteral("2"));
    }

    // Dragging: hover sets the grab point, a left-button move follows it.
    SetTTop(bm->lblSel, 0);
    bm->lblSel_MouseMove(0, 0, 10, 200);
    bm->lblSel_MouseMove(1, 0, 10, 900);
    EXPECT_EQ(barTop(), 700);
    EXPECT_EQ(TTop(bm->imgDel), 760);
}

TEST_F(BookmarksPanel, ReleasingTheBarOfAnEmptyListOpensNothing)
{
    bm->GetBookmarks();
    QSignalSpy opened(bm, &ucBookmarks::BookmarkOpened);
    bm->lblSel_MouseUp(1, 0, 0, 0);
    EXPECT_EQ(opened.count(), 0);
}

TEST_F(BookmarksPanel, DeletingAsksAndTheBarKeepsItsRow)
{
    FakeMessageBoxes boxes;
    save(3);
    bm->GetBookmarks();

    // Nothing selected yet: nothing asked, nothing deleted.
    bm->imgDel_Click();
    EXPECT_TRUE(boxes.asked().isEmpty());
    EXPECT_EQ(bm->rowCount(), 3);

    bm->lblItems_Click(2);
    boxes.queueAnswer(MsgAnswer::No);
    QTest::mouseClick(bm->imgDel, Qt::LeftButton);
    ASSERT_EQ(boxes.asked().size(), 1);
    const MsgBoxRequest &q = boxes.asked().at(0);
    EXPECT_EQ(q.text, QStringLiteral("确认删除书签 bm02 吗？"));
    EXPECT_EQ(q.title, QStringLiteral("删除书签"));
    EXPECT_EQ(q.buttons, MsgButtons::YesNo);
    EXPECT_EQ(q.icon, MsgIcon::Information);
    EXPECT_TRUE(QFile::exists(toLocalPath(path(QStringLiteral("bm02")))));

    // After the bar was dragged elsewhere the image deletes the row last clicked.
    SetTTop(bm->lblSel, 0);
    bm->lblSel_MouseUp(1, 0, 0, 0);
    boxes.queueAnswer(MsgAnswer::Yes);
    bm->imgDel_Click();
    EXPECT_EQ(boxes.asked().last().text, QStringLiteral("确认删除书签 bm02 吗？"));
    EXPECT_FALSE(QFile::exists(toLocalPath(path(QStringLiteral("bm02")))));
    ASSERT_EQ(bm->rowCount(), 2);
    EXPECT_EQ(bm->selTag(), QStringLiteral("2"));
    EXPECT_EQ(bm->lblItems(2)->text(), QStringLiteral("bm03"));

    // Row 2 now names the next bookmark; delete it too, then the Tag is stale.
    boxes.queueAnswer(MsgAnswer::Yes);
    bm->imgDel_Click();
    EXPECT_EQ(boxes.asked().last().text, QStringLiteral("确认删除书签 bm03 吗？"));
    ASSERT_EQ(bm->rowCount(), 1);
    const qsizetype asked = boxes.asked().size();
    bm->imgDel_Click();
    EXPECT_EQ(boxes.asked().size(), asked);
    EXPECT_EQ(bm->rowCount(), 1);
}

} // namespace
