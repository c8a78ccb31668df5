#include "TestProgramFolder.h"
#include "Twips.h"
#include "ucListBox.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr double H = ucListBox::H;

// Sends a mouse event to the selection bar at a vertical offset (twips) inside it.
void SendBar(ucListBox &list, QEvent::Type type, double yTwips, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    const QPointF local(5, yTwips / kTwipsPerPixel);
    QMouseEvent e(type, local, list.lblSel->mapToGlobal(local), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(list.lblSel, &e);
}

// Presses on the bar at grab (twips inside it), drags so that its top moves by
// dy, releases there.
void DragBar(ucListBox &list, double grab, double dy)
{
    SendBar(list, QEvent::MouseMove, grab, Qt::NoButton, Qt::NoButton);
    SendBar(list, QEvent::MouseButtonPress, grab, Qt::LeftButton, Qt::LeftButton);
    SendBar(list, QEvent::MouseMove, grab + dy, Qt::NoButton, Qt::LeftButton);
    SendBar(list, QEvent::MouseButtonRelease, grab, Qt::LeftButton, Qt::NoButton);
}

// Clicks the list where a user would at a vertical position (twips): the
// press and release go to the control under the mouse there.
void ClickList(ucListBox &list, double yTwips, Qt::MouseButton button = Qt::LeftButton)
{
    const QPoint at(40, int(yTwips / kTwipsPerPixel));
    QWidget *target = list.childAt(at);
    if (!target)
        target = &list;
    const QPoint local = target->mapFrom(&list, at);
    QTest::mousePress(target, button, Qt::NoModifier, local);
    QTest::mouseRelease(target, button, Qt::NoModifier, local);
}

QStringList Entries(int n, const QString &pattern)
{
    QStringList l;
    for (int i = 1; i <= n; ++i)
        l << pattern.arg(i);
    return l;
}

class ListBoxWidget : public ::testing::Test
{
protected:
    void SetUp() override
    {
        list.setGeometry(0, 0, 321, 129);
        list.show();
    }
    TestProgramFolder folder;
    ucListBox list;
};

TEST_F(ListBoxWidget, FixedRowsOnlyWithoutHistory)
{
    list.EnterTxt(QStringLiteral("hello"));
    EXPECT_EQ(THeight(&list), 3 * H);
    EXPECT_EQ(list.selRow(), 1);
    EXPECT_TRUE(list.SeledSearch());
    EXPECT_EQ(list.Selected(), QStringLiteral("hello"));
    EXPECT_EQ(list.lblGoto->text(), QStringLiteral("转到 hello"));
    EXPECT_EQ(list.lblSrch->text(), QStringLiteral("搜索 hello"));
    EXPECT_EQ(list.lblApp->text(), QStringLiteral("未找到与 hello 相关的应用"));
    EXPECT_EQ(list.hisRowCount(), 0);

    list.EnterTxt(QStringLiteral("hello.com"));
    EXPECT_EQ(list.selRow(), 0);
    EXPECT_FALSE(list.SeledSearch());
}

TEST_F(ListBoxWidget, CountsMatchingApps)
{
    folder.installApps({QStringLiteral("Demo"), QStringLiteral("Node"), QStringLiteral("Other")});
    list.EnterTxt(QStringLiteral("de"));
    EXPECT_EQ(list.lblApp->text(), QStringLiteral("找到 2 个关于 de 的应用"));
    EXPECT_EQ(list.lblApp->toolTip(), QStringLiteral("找到 2 个关于 de 的应用"));
    EXPECT_EQ(THeight(&list), 3 * H);
}

TEST_F(ListBoxWidget, NineHistoryRowsOnTheGridAndKeysStopAtTheEnds)
{
    folder.writeHistory(Entries(12, QStringLiteral("http://site%1.example/")) + QStringList{QStringLiteral("other")});
    list.EnterTxt(QStringLiteral("site"));
    ASSERT_EQ(list.hisRowCount(), 9);
    EXPECT_EQ(THeight(&list), 12 * H);
    for (int k = 1; k <= 9; ++k) {
        ASSERT_TRUE(list.lblHis.exists(k));
        EXPECT_EQ(TTop(list.lblHis(k)), 1605 + 495 * (k - 1)) << k;
        EXPECT_EQ(list.lblHis(k)->text(), QStringLiteral("http://site%1.example/").arg(k));
    }
    EXPECT_FALSE(list.lblHis.exists(10));
    EXPECT_EQ(list.selRow(), 3);
    EXPECT_EQ(list.Selected(), QStringLiteral("http://site1.example/"));
    EXPECT_FALSE(list.SeledSearch());

    for (int i = 0; i < 20; ++i)
        list.ChangeSelect(1);
    EXPECT_EQ(list.selRow(), 11);
    EXPECT_EQ(list.Selected(), QStringLiteral("http://site9.example/"));

    // up through the fixed rows: app row and go-to row take the typed text,
    // the search row searches for it; up on row 0 stays there
    for (int i = 0; i < 8; ++i)
        list.ChangeSelect(0);
    EXPECT_EQ(list.selRow(), 3);
    const struct
    {
        int row;
        bool search;
    } steps[] = {{2, false}, {1, true}, {0, false}, {0, false}};
    for (const auto &s : steps) {
        list.ChangeSelect(0);
        EXPECT_EQ(list.selRow(), s.row);
        EXPECT_EQ(list.Selected(), QStringLiteral("site"));
        EXPECT_EQ(list.SeledSearch(), s.search);
    }

    // a new text removes the old rows
    list.EnterTxt(QStringLiteral("other"));
    EXPECT_EQ(list.hisRowCount(), 1);
    EXPECT_EQ(THeight(&list), 4 * H);
}

TEST_F(ListBoxWidget, ReleaseOnTheBarTakesTheRowUnderIt)
{
    folder.writeHistory({QStringLiteral("ab.com"), QStringLiteral("abc.com"), QStringLiteral("abd.com")});
    QSignalSpy clicked(&list, &ucListBox::MouseClicked);

    const struct
    {
        int startRow; // where the keys put the bar first
        double dy;    // drag distance in twips
        const char *selected;
        bool search;
    } cases[] = {
        {3, 0, "ab.com", false},           // press and release where the bar stands
        {0, 4 * H, "abc.com", false},      // dragged from the go-to row to the second entry
        {0, H, "ab", true},                // dragged onto the search row
        {5, -3 * H, "ab", false},          // dragged up onto the app row
        {3, -20 * H, "ab", false},         // above the top: the go-to row
        {3, 20 * H, "abd.com", false},     // below the bottom: the last row
        {1, 0.6 * H, "ab", false},         // between search and app rows: the nearest row
        {2, 0.4 * H, "ab", false},         // a place whose formula gives the template's row
        {4, 0.45 * H, "abc.com", false},   // slightly off a history row
    };
    for (const auto &c : cases) {
        list.EnterTxt(QStringLiteral("ab"));
        while (list.selRow() > c.startRow)
            list.ChangeSelect(0);
        while (list.selRow() < c.startRow)
            list.ChangeSelect(1);
        const int before = int(clicked.count());
        DragBar(list, 150, c.dy);
        EXPECT_EQ(clicked.count(), before + 1);
        EXPECT_EQ(list.Selected(), QString::fromUtf8(c.selected)) << c.startRow << " " << c.dy;
        EXPECT_EQ(list.SeledSearch(), c.search) << c.startRow << " " << c.dy;
        // the bar goes back to the first row; the taken row is kept
        EXPECT_EQ(TTop(list.lblSel), 0);
    }
}

TEST_F(ListBoxWidget, AClickTakesTheRowUnderTheMouseHighlightedOrNot)
{
    folder.writeHistory({QStringLiteral("ab.com"), QStringLiteral("abc.com"), QStringLiteral("abd.com")});
    QSignalSpy clicked(&list, &ucListBox::MouseClicked);

    const struct
    {
        double y; // where the click lands, twips from the list's top
        const char *selected;
        bool search;
    } cases[] = {
        {3.5 * H, "ab.com", false},   // the highlighted first entry
        {4.5 * H, "abc.com", false},  // a second entry, not highlighted
        {5.2 * H, "abd.com", false},  // the last entry, near its top
        {0.5 * H, "ab", false},       // the go-to row
        {1.5 * H, "ab", true},        // the search row
        {2.9 * H, "ab", false},       // the app row, near its bottom
    };
    for (const auto &c : cases) {
        list.EnterTxt(QStringLiteral("ab"));
        ASSERT_EQ(list.selRow(), 3);
        const int before = int(clicked.count());
        ClickList(list, c.y);
        EXPECT_EQ(clicked.count(), before + 1) << c.y;
        EXPECT_EQ(list.Selected(), QString::fromUtf8(c.selected)) << c.y;
        EXPECT_EQ(list.SeledSearch(), c.search) << c.y;
        EXPECT_EQ(TTop(list.lblSel), 0);
    }

    // Pressed on a row that is not highlighted and dragged: the bar follows
    // and the release takes the row where it ends.
    list.EnterTxt(QStringLiteral("ab"));
    const QPoint press(40, int(4.5 * H / kTwipsPerPixel));
    const QPoint drop(40, int(1.5 * H / kTwipsPerPixel));
    QTest::mousePress(&list, Qt::LeftButton, Qt::NoModifier, press);
    QMouseEvent move(QEvent::MouseMove, QPointF(drop), list.mapToGlobal(QPointF(drop)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&list, &move);
    EXPECT_EQ(list.selRow(), 1);
    QTest::mouseRelease(&list, Qt::LeftButton, Qt::NoModifier, drop);
    EXPECT_EQ(list.Selected(), QStringLiteral("ab"));
    EXPECT_TRUE(list.SeledSearch());
}

TEST_F(ListBoxWidget, ColoursReachTheRowsMadeLater)
{
    folder.writeHistory({QStringLiteral("abc")});
    list.setForeColor(0xFFFFFF);
    list.setSelColor(0x123456);
    list.setBackColor(0x654321);
    EXPECT_EQ(list.SelColor(), 0x123456);
    EXPECT_EQ(list.BackColor(), 0x654321);
    list.EnterTxt(QStringLiteral("a"));
    ASSERT_TRUE(list.lblHis.exists(1));
    EXPECT_EQ(list.lblHis(1)->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(list.lblGoto->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(list.lblSel->palette().color(QPalette::Window), QColor(0x56, 0x34, 0x12));
}

TEST_F(ListBoxWidget, EntriesShowAsPlainText)
{
    folder.writeHistory({QStringLiteral("<b>x</b>.com")});
    list.EnterTxt(QStringLiteral("x"));
    ASSERT_TRUE(list.lblHis.exists(1));
    EXPECT_EQ(list.lblHis(1)->textFormat(), Qt::PlainText);
    EXPECT_EQ(list.Selected(), QStringLiteral("<b>x</b>.com"));
    EXPECT_FALSE(list.lblHis(1)->toolTip().contains(QStringLiteral("<b>")));
}

} // namespace
