#include "AppEngines.h"
#include "ScriptControl.h"
#include "frmTasks.h"

#include <QCoreApplication>
#include <QApplication>
#include <QPointer>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

using tessivane::frmTasks;

namespace {

void LoadApps(const QStringList &names)
{
    for (const QString &n : names)
        AppEngines::Engine(AppEngines::Load())->setTag(n);
}

QStringList Rows(const frmTasks &w)
{
    QStringList out;
    for (int k = 1; k <= w.lblTasks.ubound(); ++k)
        out << w.lblTasks(k)->text() + QLatin1Char('@') + QString::number(w.RowEngine(k));
    return out;
}

class TasksWindow : public ::testing::Test
{
protected:
    void TearDown() override
    {
        AppEngines::EndAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

TEST_F(TasksWindow, ListsLoadedEnginesSkippingGapsAndEndsTheSelectedOne)
{
    frmTasks w;
    EXPECT_FALSE(w.picNone->isHidden());
    EXPECT_TRUE(w.lblSel->isHidden());

    LoadApps({QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三"), QStringLiteral("四")});
    AppEngines::End(2);
    w.RfshLst();
    EXPECT_EQ(Rows(w), QStringList({QStringLiteral("一@1"), QStringLiteral("三@3"), QStringLiteral("四@4")}));
    EXPECT_TRUE(w.picNone->isHidden());
    EXPECT_TRUE(w.sroApp->isHidden());

    w.lblTasks_Click(2);
    EXPECT_EQ(w.lblSel->y(), w.lblTasks(2)->y() - 8);
    w.btnEndTsk_Click();
    EXPECT_EQ(AppEngines::Indices(), QList<int>({1, 4}));
    EXPECT_EQ(Rows(w), QStringList({QStringLiteral("一@1"), QStringLiteral("四@4")}));

    // The selection stays on row 2, which is engine 4 now; then a row that is gone.
    w.btnEndTsk_Click();
    EXPECT_EQ(AppEngines::Indices(), QList<int>({1}));
    w.btnEndTsk_Click(); // row 2 no longer exists: nothing ended
    EXPECT_EQ(AppEngines::Indices(), QList<int>({1}));
}

TEST_F(TasksWindow, WithoutAClickTheFirstRowEndsAndManyAppsScroll)
{
    QStringList names;
    for (int i = 0; i < 80; ++i)
        names << QStringLiteral("App%1").arg(i);
    LoadApps(names);
    frmTasks w;
    EXPECT_EQ(w.lblTasks.ubound(), 80);
    EXPECT_FALSE(w.sroApp->isHidden());
    w.setSroAppValue(-40000);
    EXPECT_EQ(w.sroAppValue(), -32768); // beyond 16 bits the range stops
    EXPECT_EQ(w.sroApp->singleStep(), 495); // twips, one row
    w.setSroAppValue(-495);
    EXPECT_EQ(w.picLst->y(), -33);
    w.btnEndTsk_Click();
    EXPECT_EQ(AppEngines::Indices().first(), 2);
}

// The list follows the scroll bar the way the user moves it: thumb dragged
// down, the lower arrow, the track below the thumb and the wheel turned
// towards the user all show rows further down (the content moves up).
TEST_F(TasksWindow, ScrollBarMovesTheListTheWayItIsMoved)
{
    QStringList names;
    for (int i = 0; i < 20; ++i)
        names << QStringLiteral("App%1").arg(i);
    LoadApps(names);
    frmTasks w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QScrollBar *bar = w.sroApp;
    ASSERT_TRUE(bar->isVisible());
    EXPECT_EQ(w.picLst->y(), 0);

    // One arrow step down: one row further.
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 3));
    EXPECT_EQ(w.sroAppValue(), -495);
    EXPECT_EQ(w.picLst->y(), -33);
    // The upper arrow goes back.
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, 3));
    EXPECT_EQ(w.picLst->y(), 0);
    // A click in the track below the thumb: two rows further.
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - bar->width() - 3));
    EXPECT_EQ(w.sroAppValue(), -990);
    EXPECT_EQ(w.picLst->y(), -66);
    // The wheel turned towards the user: further down.
    QWheelEvent wheel(QPointF(4, 40), bar->mapToGlobal(QPointF(4, 40)), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(bar, &wheel);
    EXPECT_LT(w.picLst->y(), -66);

    // The thumb dragged from the top to the bottom: the last rows come into view.
    w.setSroAppValue(0);
    const int from = bar->width() + 3;
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, from));
    QTest::mouseMove(bar, QPoint(bar->width() / 2, bar->height() - 2));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 2));
    EXPECT_EQ(w.picLst->y() + w.picLst->height(), w.picTasks->height());
}

TEST_F(TasksWindow, OpeningAgainShowsTheOneOpenManager)
{
    QPointer<frmTasks> first = frmTasks::Open();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
    first->showMinimized();
    EXPECT_EQ(frmTasks::Open(), first.data());
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(first->isMinimized());
    int managers = 0;
    for (QWidget *t : QApplication::topLevelWidgets())
        managers += qobject_cast<frmTasks *>(t) && t->isVisible() ? 1 : 0;
    EXPECT_EQ(managers, 1);

    // Closed, it is gone; the next opening makes a new one.
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    frmTasks *second = frmTasks::Open();
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->isVisible());
    second->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace
