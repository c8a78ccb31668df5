#include "AppEngines.h"
#include "ScriptControl.h"
#include "frmTasks.h"

#include <QCoreApplication>
#include <QScrollBar>

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
    EXPECT_EQ(w.sroApp->minimum(), -32768); // beyond 16 bits the range stops
    EXPECT_EQ(w.sroApp->singleStep(), 495); // twips, one row
    w.sroApp->setValue(-495);
    EXPECT_EQ(w.picLst->y(), -33);
    w.btnEndTsk_Click();
    EXPECT_EQ(AppEngines::Indices().first(), 2);
}

} // namespace
