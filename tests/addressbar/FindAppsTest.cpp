#include "Apps.h"
#include "TestProgramFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(FindApps, MatchesNamesWithoutRegardToCaseInRegistryOrder)
{
    TestProgramFolder folder;
    folder.installApps({QStringLiteral("Demo"), QStringLiteral("Other"), QStringLiteral("Node"),
                        QStringLiteral("天气助手")});
    const struct
    {
        QString txt;
        QString expected;
    } cases[] = {
        {QStringLiteral("de"), QStringLiteral("Demo@@Node@@")},
        {QStringLiteral("DE"), QStringLiteral("Demo@@Node@@")},
        {QStringLiteral("other"), QStringLiteral("Other@@")},
        {QStringLiteral("天气"), QStringLiteral("天气助手@@")},
        {QStringLiteral("zzz"), QString()},
        {QString(), QStringLiteral("Demo@@Other@@Node@@天气助手@@")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FindApps(c.txt), c.expected) << c.txt.toStdString();
}

TEST(FindApps, DamagedRegistryGivesNoMatchesAndNoHang)
{
    TestProgramFolder folder;
    EXPECT_EQ(FindApps(QStringLiteral("a")), QString()); // no Apps.ini at all

    const struct
    {
        const char *registry;
        const char *expectedForEmptyText;
    } cases[] = {
        {"[Apps]\r\nCount=abc\r\napp1=x\\x.ini\r\n", ""},
        {"[Apps]\r\nCount=\r\n", ""},
        {"[Apps]\r\nCount=-3\r\n", ""},
        // an entry whose ini is missing has an empty name: it matches only the empty text
        {"[Apps]\r\nCount=2\r\napp1=gone\\gone.ini\r\n", "@@@@"},
        // a huge count is walked only up to the highest app number
        {"[Apps]\r\nCount=4000000000\r\n", nullptr},
    };
    for (const auto &c : cases) {
        folder.writeBytes(QStringLiteral("Apps\\Apps.ini"), c.registry);
        if (c.expectedForEmptyText) {
            EXPECT_EQ(FindApps(QString()), QString::fromUtf8(c.expectedForEmptyText)) << c.registry;
        }
        EXPECT_EQ(FindApps(QStringLiteral("a")), QString()) << c.registry;
    }
    EXPECT_EQ(AppCountFromText(QStringLiteral("4000000000")), kMaxAppNumber);
    EXPECT_EQ(AppCountFromText(QStringLiteral("2.9")), 2);
    EXPECT_EQ(AppCountFromText(QStringLiteral("&H3")), 3);
}

} // namespace
