#include "AddressLogic.h"

#include <gtest/gtest.h>

namespace {

using namespace AddressLogic;

TEST(Zoom, StepsStayBetween50And1000)
{
    const struct
    {
        const char *caption;
        int index;
        int expected; // -1: refused
    } cases[] = {
        {"100%", 0, 150}, {"100%", 1, 50},  {"50%", 1, -1},   {"50%", 0, 100},  {"75%", 1, -1},
        {"75%", 0, 125},  {"1000%", 0, -1}, {"1000%", 1, 950}, {"975%", 0, -1}, {"950%", 0, 1000},
        // the label's value is rounded halves to even before the step
        {"62.5%", 0, 112}, {"87.5%", 1, -1}, {"112.5%", 1, 62},
        // a label that is no number counts as 100
        {"abc%", 0, 150}, {"%", 1, 50},
    };
    for (const auto &c : cases) {
        const auto r = ZoomStep(QString::fromUtf8(c.caption), c.index);
        if (c.expected < 0)
            EXPECT_FALSE(r.has_value()) << c.caption << " " << c.index;
        else
            EXPECT_EQ(r.value_or(-1), c.expected) << c.caption << " " << c.index;
    }
}

TEST(Zoom, LabelValue)
{
    EXPECT_EQ(ZoomValue(QStringLiteral("125%")), 125);
    EXPECT_EQ(ZoomValue(QStringLiteral("1%2%5")), 125);
    EXPECT_EQ(ZoomValue(QStringLiteral("wide%")), 100);
}

TEST(Enter, SearchAppendsTheEncodedTextOtherRowsNavigateAndRecordTheirText)
{
    const QString prefix = QStringLiteral("http://127.0.0.1/s?q=");
    const struct
    {
        QString box, selected;
        bool search;
        QString url, record;
    } cases[] = {
        {QStringLiteral("a b&c"), QStringLiteral("a b&c"), true, prefix + QStringLiteral("a%20b%26c"), QString()},
        {QStringLiteral("C# & x+y"), QStringLiteral("C# & x+y"), true, prefix + QStringLiteral("C%23%20%26%20x%2By"),
         QString()},
        {QStringLiteral("天气"), QStringLiteral("天气"), true, prefix + QStringLiteral("%E5%A4%A9%E6%B0%94"), QString()},
        {QStringLiteral("50%=a/b?"), QStringLiteral("50%=a/b?"), true, prefix + QStringLiteral("50%25%3Da%2Fb%3F"),
         QString()},
        // the search address itself is used as it stands
        {QStringLiteral("x"), QStringLiteral("x"), true, prefix + QStringLiteral("x"), QString()},
        {QStringLiteral("ex"), QStringLiteral("http://example.com/"), false, QStringLiteral("http://example.com/"),
         QStringLiteral("http://example.com/")},
        {QStringLiteral("x.org"), QStringLiteral("x.org"), false, QStringLiteral("x.org"), QStringLiteral("x.org")},
        // an empty box navigates nothing, even with an old selection
        {QString(), QStringLiteral("x.org"), false, QString(), QString()},
        {QString(), QStringLiteral("x"), true, QString(), QString()},
        {QStringLiteral("x"), QString(), false, QString(), QString()},
    };
    for (const auto &c : cases) {
        const EnterAction a = Enter(c.box, c.selected, c.search, prefix);
        EXPECT_EQ(a.url, c.url) << c.selected.toStdString();
        EXPECT_EQ(a.record, c.record) << c.selected.toStdString();
    }
}

} // namespace
