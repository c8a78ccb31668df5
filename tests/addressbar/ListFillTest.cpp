#include "ucListBoxFill.h"

#include <gtest/gtest.h>

namespace {

struct PreselectCase
{
    const char *txt;
    const char *history; // the history search result
    int selRow;
    const char *selected;
    bool seledSearch;
    int rowCount;
};

class Preselection : public ::testing::TestWithParam<PreselectCase>
{
};

TEST_P(Preselection, PicksTheRowTheTextCallsFor)
{
    const PreselectCase &c = GetParam();
    const auto f = ucListBoxFill::make(QString::fromUtf8(c.txt), QString::fromUtf8(c.history), QString());
    EXPECT_EQ(f.selRow, c.selRow);
    EXPECT_EQ(f.selected, QString::fromUtf8(c.selected));
    EXPECT_EQ(f.seledSearch, c.seledSearch);
    EXPECT_EQ(f.rowCount, c.rowCount);
    EXPECT_EQ(f.gotoCaption, QStringLiteral("转到 ") + QString::fromUtf8(c.txt));
    EXPECT_EQ(f.searchCaption, QStringLiteral("搜索 ") + QString::fromUtf8(c.txt));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Preselection,
    ::testing::Values(
        // no history match: search words go to the search row
        PreselectCase{"hello", "", 1, "hello", true, 3},
        PreselectCase{"天气 预报", "", 1, "天气 预报", true, 3},
        // anything address-like goes to the go-to row
        PreselectCase{"example.com", "", 0, "example.com", false, 3},
        PreselectCase{"a/b", "", 0, "a/b", false, 3},
        PreselectCase{"localhost:8080", "", 0, "localhost:8080", false, 3},
        PreselectCase{".", "", 0, ".", false, 3},
        // a history match wins whatever the punctuation
        PreselectCase{"ex", "http://example.com/@@http://ex.org/@@", 3, "http://example.com/", false, 5},
        PreselectCase{"example.com", "http://example.com/@@", 3, "http://example.com/", false, 4},
        // history entries come escaped so that each splits whole; the rows show them as typed
        PreselectCase{"@@", "http://x.org/%40%40b@@a%40@@", 3, "http://x.org/@@b", false, 5}));

TEST(ListFill, ShowsAtMostNineHistoryEntriesInOrder)
{
    QString his;
    for (int i = 1; i <= 12; ++i)
        his += QStringLiteral("e%1.com@@").arg(i);
    const auto f = ucListBoxFill::make(QStringLiteral("e"), his, QString());
    ASSERT_EQ(f.hisRows.size(), 9);
    EXPECT_EQ(f.hisRows.constFirst(), QStringLiteral("e1.com"));
    EXPECT_EQ(f.hisRows.constLast(), QStringLiteral("e9.com"));
    EXPECT_EQ(f.rowCount, 12);
}

TEST(ListFill, AppRowCountsMatchesOrSaysNoneFound)
{
    const auto none = ucListBoxFill::make(QStringLiteral("de"), QString(), QString());
    EXPECT_EQ(none.appCaption, QStringLiteral("未找到与 de 相关的应用"));
    EXPECT_FALSE(none.appTooltip);
    EXPECT_EQ(none.appCount, 0);

    const auto two = ucListBoxFill::make(QStringLiteral("de"), QString(), QStringLiteral("Demo@@Node@@"));
    EXPECT_EQ(two.appCaption, QStringLiteral("找到 2 个关于 de 的应用"));
    EXPECT_TRUE(two.appTooltip);
    EXPECT_EQ(two.appCount, 2);
    // apps only count: they never add rows or change the preselection
    EXPECT_EQ(two.rowCount, 3);
    EXPECT_TRUE(two.seledSearch);

    // an app without a name still counts for the text that matches every name
    const auto unnamed = ucListBoxFill::make(QStringLiteral("x"), QString(), QStringLiteral("@@"));
    EXPECT_EQ(unnamed.appCount, 1);
}

} // namespace
