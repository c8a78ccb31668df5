#include "ContentFilter.h"

#include <gtest/gtest.h>

namespace {

struct FilterCase
{
    const char *title;
    const char *useFilter;
    const char *filter;
    const char *filterText;
    bool found;
    const char *word; // the first word found
};

class CheckFilterTable : public ::testing::TestWithParam<FilterCase>
{
};

TEST_P(CheckFilterTable, FindsTheFirstEnabledWord)
{
    const FilterCase &c = GetParam();
    QString word;
    const bool found = ContentFilter::FindWord(QString::fromUtf8(c.title), QString::fromUtf8(c.useFilter),
                                               QString::fromUtf8(c.filter), QString::fromUtf8(c.filterText), &word);
    EXPECT_EQ(found, c.found);
    if (c.found) {
        EXPECT_EQ(word, QString::fromUtf8(c.word));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lists, CheckFilterTable,
    ::testing::Values(
        // each list on its own, on and off
        FilterCase{"免费裸聊网站", "1", "100", "", true, "裸聊"},
        FilterCase{"免费裸聊网站", "1", "011", "", false, ""},
        FilterCase{"爆头集锦", "1", "010", "", true, "爆头"},
        FilterCase{"爆头集锦", "1", "101", "", false, ""},
        FilterCase{"my casino page", "1", "001", "poker;casino", true, "casino"},
        FilterCase{"my casino page", "1", "110", "poker;casino", false, ""},
        // the main switch
        FilterCase{"免费裸聊网站", "0", "111", "", false, ""},
        FilterCase{"免费裸聊网站", "", "111", "", false, ""},
        FilterCase{"免费裸聊网站", "yes", "111", "", false, ""},
        FilterCase{"免费裸聊网站", "1.0", "111", "", true, "裸聊"},
        // letter case counts neither in the title nor in any list's words
        FilterCase{"FREE PORN", "1", "100", "", true, "porn"},
        FilterCase{"Some A片 site", "1", "100", "", true, "a片"},
        FilterCase{"Casino Royale", "1", "001", "Casino", true, "Casino"},
        FilterCase{"casino royale", "1", "001", "Casino", true, "Casino"},
        FilterCase{"Casino Royale", "1", "001", "casino", true, "casino"},
        FilterCase{"big POKER night", "1", "001", "PoKeR;dice", true, "PoKeR"},
        FilterCase{"赌场 VIP 房", "1", "001", "vip赌场;赌场 vip", true, "赌场 vip"},
        // one-character words match inside longer words
        FilterCase{"接吻鱼", "1", "100", "", true, "吻"},
        FilterCase{"虐待", "1", "010", "", true, "虐"},
        // order: A, then B, then the user's words, whatever the title order
        FilterCase{"杀人 裸体", "1", "111", "杀人", true, "裸体"},
        FilterCase{"杀人 做爱", "1", "011", "做爱", true, "杀人"},
        FilterCase{"x y", "1", "001", "y;x", true, "y"},
        // empty pieces of the user's words never match
        FilterCase{"an ordinary title", "1", "001", "", false, ""},
        FilterCase{"an ordinary title", "1", "001", ";;", false, ""},
        FilterCase{"an ordinary title", "1", "001", "poker;", false, ""},
        FilterCase{"an ordinary title", "1", "001", ";poker;;dice;", false, ""},
        FilterCase{"dice game", "1", "001", ";poker;;dice;", true, "dice"},
        // blanks in a user's word are kept
        FilterCase{"a dice game", "1", "001", " dice", true, " dice"},
        FilterCase{"dicegame", "1", "001", " dice", false, ""},
        // a Filter that is short or not made of digits counts its missing or bad places as 0
        FilterCase{"爆头", "1", "01", "", true, "爆头"},
        FilterCase{"dice", "1", "11", "dice", false, ""},
        FilterCase{"裸体", "1", "abc", "", false, ""},
        FilterCase{"裸体", "1", "", "", false, ""},
        FilterCase{"爆头", "1", "x1x", "", true, "爆头"}));

TEST(ContentFilter, BuiltInListsHaveTheirWordsInOrder)
{
    ASSERT_EQ(ContentFilter::ListA().size(), 24);
    ASSERT_EQ(ContentFilter::ListB().size(), 7);
    EXPECT_EQ(ContentFilter::ListA().constFirst(), QStringLiteral("性交"));
    EXPECT_EQ(ContentFilter::ListA().constLast(), QStringLiteral("porn"));
    EXPECT_EQ(ContentFilter::ListB().constLast(), QStringLiteral("虐"));
    // every built-in word is lower case, so the lower-cased title can hold it
    for (const QString &w : ContentFilter::ListA() + ContentFilter::ListB())
        EXPECT_EQ(w, w.toLower());
}

} // namespace
