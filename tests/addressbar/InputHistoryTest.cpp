#include "Files.h"
#include "TestProgramFolder.h"

#include <gtest/gtest.h>

namespace {

// The list searches the history at every keystroke; these are the rules it
// relies on, on the bytes of the file.
TEST(InputHistory, SearchKeepsFileOrderAndCase)
{
    TestProgramFolder folder;
    EXPECT_EQ(GetInputHis(QStringLiteral("o")), QString()); // no file yet
    folder.writeBytes(QStringLiteral("Data\\InputHis.ini"), "xo@@yo@@\r\n");
    EXPECT_EQ(GetInputHis(QStringLiteral("o")), QStringLiteral("xo@@yo@@"));
    EXPECT_EQ(GetInputHis(QStringLiteral("Y")), QString());
    EXPECT_EQ(GetInputHis(QString()), QStringLiteral("xo@@yo@@"));
    // the text after the last "@@" is no entry, even when it is not a line break
    folder.writeBytes(QStringLiteral("Data\\InputHis.ini"), "ab@@tail");
    EXPECT_EQ(GetInputHis(QStringLiteral("a")), QStringLiteral("ab@@"));
    // GBK text comes back as typed
    folder.writeText(QStringLiteral("Data\\InputHis.ini"), QStringLiteral("天气预报@@天安门@@\r\n"));
    EXPECT_EQ(GetInputHis(QStringLiteral("天")), QStringLiteral("天气预报@@天安门@@"));
}

TEST(InputHistory, AddingPutsTheEntryFirstOnce)
{
    TestProgramFolder folder;
    const struct
    {
        QByteArray before;
        QString add;
        QByteArray after;
    } cases[] = {
        {"ab@@c@@\r\n", QStringLiteral("b"), "b@@ab@@c@@\r\n\r\n"},
        {"a@@c@@\r\n", QStringLiteral("c"), "c@@a@@\r\n\r\n"},
        {"\r\n", QStringLiteral("x.org"), "x.org@@\r\n\r\n"},
        {"", QStringLiteral(" x.org "), "x.org@@\r\n"},
    };
    for (const auto &c : cases) {
        folder.writeBytes(QStringLiteral("Data\\InputHis.ini"), c.before);
        AddInputHis(c.add);
        EXPECT_EQ(folder.readBytes(QStringLiteral("Data\\InputHis.ini")), c.after) << c.before.constData();
    }
}

} // namespace
