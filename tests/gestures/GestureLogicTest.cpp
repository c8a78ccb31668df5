// The gesture recogniser: direction of a move, the string a pointer path
// gives, and what each string does and is called.
#include "GestureLogic.h"

#include <gtest/gtest.h>

#include <QList>
#include <QPoint>

TEST(GestureDirection, ThresholdAndDiagonals)
{
    struct Case
    {
        int dx, up, dir;
    } cases[] = {
        {0, 0, -1},   {5, 0, -1},   {3, 4, -1},  {-3, -4, -1}, {0, -5, -1}, // at most 5 pixels
        {6, 0, 0},    {4, 4, 0},    {0, 6, 1},   {-6, 0, 2},   {0, -6, 3},
        {4, -4, 0},   // diagonal down-right: right
        {10, 10, 0},  // diagonal up-right: right
        {-10, 10, 1}, // diagonal up-left: up
        {-10, -10, 2}, // diagonal down-left: left
        {7, 3, 0},    {3, 7, 1},    {-7, 3, 2},  {-3, -7, 3},  {2, -9, 3},
        {1 << 20, 1 << 20, 0}, // far jumps do not overflow
    };
    for (const Case &c : cases)
        EXPECT_EQ(GestureDirection(c.dx, c.up), c.dir) << c.dx << "," << c.up;
}

TEST(GestureDirection, Words)
{
    EXPECT_EQ(DirName(0), QStringLiteral("右"));
    EXPECT_EQ(DirName(1), QStringLiteral("上"));
    EXPECT_EQ(DirName(2), QStringLiteral("左"));
    EXPECT_EQ(DirName(3), QStringLiteral("下"));
    EXPECT_EQ(DirName(-1), QStringLiteral("无"));
    EXPECT_EQ(DirName(4), QStringLiteral("无"));
}

// Screen y grows downwards; "up" is a smaller y.
TEST(GestureTracker, PathsGiveStrings)
{
    struct Case
    {
        QList<QPoint> path;
        const char *ss;
    } cases[] = {
        {{{100, 100}, {103, 102}, {98, 97}}, ""},                       // a click that wobbles
        {{{100, 100}, {80, 100}, {60, 101}, {40, 99}}, "左"},            // one word per stroke
        {{{100, 100}, {100, 130}, {130, 130}, {130, 160}}, "下右下"},
        {{{100, 100}, {100, 60}, {100, 100}}, "上下"},
        {{{100, 100}, {100, 130}, {100, 100}}, "下上"},
        {{{100, 100}, {104, 100}, {108, 100}}, "右"},                    // short steps add up from the last point
        {{{100, 100}, {102, 101}, {103, 101}, {104, 102}}, ""},          // never more than 5 from the last point
    };
    for (const Case &c : cases) {
        GestureTracker t;
        t.start(c.path.first());
        for (int i = 1; i < c.path.size(); ++i)
            t.track(c.path.at(i));
        EXPECT_EQ(t.MouseSS, QString::fromUtf8(c.ss));
    }
}

TEST(GestureTracker, ShortMovesChangeNothingAndRepeatsAddNothing)
{
    GestureTracker t;
    t.start({0, 0});
    bool extended = true;
    EXPECT_EQ(t.track({3, 4}, &extended), -1);
    EXPECT_FALSE(extended);
    EXPECT_EQ(t.LastPt, QPoint(0, 0));
    EXPECT_EQ(t.LastDir, -1);
    EXPECT_EQ(t.track({10, 0}, &extended), 0);
    EXPECT_TRUE(extended);
    EXPECT_EQ(t.track({20, 0}, &extended), 0);
    EXPECT_FALSE(extended);
    EXPECT_EQ(t.LastPt, QPoint(20, 0));
    t.start({5, 5});
    EXPECT_TRUE(t.MouseSS.isEmpty());
    EXPECT_EQ(t.LastDir, -1);
}

TEST(GestureTable, ActionsAndNames)
{
    struct Case
    {
        const char *ss;
        GestureAction action;
        const char *name;
    } cases[] = {
        {"左", GestureAction::Back, "网页后退"},
        {"右", GestureAction::Forward, "网页前进"},
        {"下左", GestureAction::CloseTab, "关闭标签"},
        {"下右", GestureAction::NewTab, "新建标签"},
        {"下上", GestureAction::Refresh, "刷新"},
        {"上下", GestureAction::Refresh, "刷新"},
        {"左右", GestureAction::None, "无动作"},
        {"下右下", GestureAction::None, "无动作"},
        {"上", GestureAction::None, "无动作"},
        {"左 ", GestureAction::None, "无动作"}, // compared exactly
        {"", GestureAction::None, ""},
    };
    for (const Case &c : cases) {
        const QString ss = QString::fromUtf8(c.ss);
        EXPECT_EQ(GestureActionFor(ss), c.action) << c.ss;
        EXPECT_EQ(GestureName(ss), QString::fromUtf8(c.name)) << c.ss;
    }
}
