// Which picture the quick-hide window shows, where it stands, and which typed
// character ends the mode.
#include "QuickHideLogic.h"

#include <gtest/gtest.h>

TEST(QuickHidePicture, SettingChoosesAPicture)
{
    struct Case
    {
        const char *value;
        int index;
    } cases[] = {
        {"0", 0},    {"1", 1},     {"2", 2},    {"3", 3},   {"", 0},     {"abc", 0},  {" 2 ", 2},
        {"1.5", 2},  {"2.5", 2},   {"0.5", 0},  {"3.4", 3}, {"3.5", -1}, {"4", -1},   {"-1", -1},
        {"-0.5", 0}, {"2abc", 2},  {"1e308", 1}, {"99999999999999999999", -1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(QuickHidePictureIndex(QString::fromUtf8(c.value)), c.index) << c.value;
}

TEST(QuickHideKey, OnlyTheWholeKeyExactlyMatches)
{
    struct Case
    {
        const char *typed, *key;
        bool match;
    } cases[] = {
        {"q", "q", true}, {"Q", "q", false}, {"q", "Q", false}, {"a", "q", false}, {"q", "", false},
        {"", "", false},  {"q", "qq", false}, {"qq", "qq", false}, {"中", "中", true}, {" ", " ", true},
    };
    for (const Case &c : cases)
        EXPECT_EQ(QuickHideKeyMatches(QString::fromUtf8(c.typed), QString::fromUtf8(c.key)), c.match)
            << c.typed << "/" << c.key;
    EXPECT_TRUE(QuickHideKeyUsable(QStringLiteral("q")));
    EXPECT_FALSE(QuickHideKeyUsable(QString()));
    EXPECT_FALSE(QuickHideKeyUsable(QStringLiteral("ab")));
}

TEST(QuickHidePlace, BottomRightAboveTheTaskbar)
{
    EXPECT_EQ(QuickHidePlacement(QSize(1280, 900), 40, QSize(166, 25)), QRect(1114, 835, 166, 25));
    EXPECT_EQ(QuickHidePlacement(QSize(1280, 900), 0, QSize(169, 22)), QRect(1111, 878, 169, 22));
}

TEST(QuickHidePlace, LargePicturesShrinkToTheScreen)
{
    const QSize screen(1280, 900);
    EXPECT_EQ(QuickHidePictureSize(QSize(200, 30), screen, 40), QSize(200, 30));
    EXPECT_EQ(QuickHidePictureSize(QSize(1280, 860), screen, 40), QSize(1280, 860));
    EXPECT_EQ(QuickHidePictureSize(QSize(2560, 400), screen, 40), QSize(1280, 200));
    EXPECT_EQ(QuickHidePictureSize(QSize(400, 8600), screen, 40), QSize(40, 860));
    EXPECT_EQ(QuickHidePictureSize(QSize(100000, 10), screen, 40), QSize(1280, 1));
    EXPECT_EQ(QuickHidePictureSize(QSize(), screen, 40), QSize());
}
