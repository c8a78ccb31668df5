#include "Files.h"
#include "TestProgramFolder.h"

#include <gtest/gtest.h>

#include <iterator>

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
        {"ab@@c@@\r\n", QStringLiteral("b"), "b@@ab@@c@@\r\n"},
        {"a@@c@@\r\n", QStringLiteral("c"), "c@@a@@\r\n"},
        {"\r\n", QStringLiteral("x.org"), "x.org@@\r\n"},
        {"", QStringLiteral(" x.org "), "x.org@@\r\n"},
    };
    for (const auto &c : cases) {
        folder.writeBytes(QStringLiteral("Data\\InputHis.ini"), c.before);
        AddInputHis(c.add);
        EXPECT_EQ(folder.readBytes(QStringLiteral("Data\\InputHis.ini")), c.after) << c.before.constData();
    }
}

// However often the user navigates, the file holds each entry once and one
// line break: nothing grows but the entries.
TEST(InputHistory, HundredAdditionsLeaveOnlyTheEntries)
{
    TestProgramFolder folder;
    const QString his = QStringLiteral("Data\\InputHis.ini");
    folder.writeBytes(his, "\r\n"); // as the history's clearing leaves it
    const QStringList typed = {QStringLiteral("a.org"), QStringLiteral("b.org"), QStringLiteral("user@@mail.org"),
                               QStringLiteral("c.org")};
    for (int i = 0; i < 100; ++i) {
        AddInputHis(typed.at(i % typed.size()));
        QStringList expected;
        for (int k = i; k >= 0 && expected.size() < qMin(i + 1, int(typed.size())); --k)
            expected << typed.at(k % typed.size());
        const QByteArray bytes = folder.readBytes(his);
        ASSERT_TRUE(bytes.endsWith("@@\r\n")) << i;
        ASSERT_EQ(bytes.count("\r\n"), 1) << i;
        QStringList back;
        const QString result = GetInputHis(QString());
        for (const QString &piece : result.split(QStringLiteral("@@"), Qt::SkipEmptyParts))
            back << InputHisDecode(piece);
        ASSERT_EQ(back, expected) << i;
    }
    EXPECT_EQ(folder.readBytes(his), QByteArray("c.org@@user%40%40mail.org@@b.org@@a.org@@\r\n"));
}

// An entry holding "@@" (or ending in "@") stays one entry, comes back as
// typed, is found by what it contains and is put first once.
TEST(InputHistory, EntriesWithTheSeparatorStayWhole)
{
    TestProgramFolder folder;
    const QString his = QStringLiteral("Data\\InputHis.ini");
    const QString entries[] = {
        QStringLiteral("http://x.org/a@@b"), QStringLiteral("a@"), QStringLiteral("@"), QStringLiteral("@@@"),
        QStringLiteral("x%40y"), QStringLiteral("100%25"), QStringLiteral("50%"), QStringLiteral("%%40@"),
        QStringLiteral("邮件@@新浪"),
    };
    for (const QString &e : entries) {
        EXPECT_EQ(InputHisDecode(InputHisEncode(e)), e) << e.toStdString();
        EXPECT_FALSE(InputHisEncode(e).contains(QLatin1Char('@'))) << e.toStdString();
    }
    folder.writeBytes(his, "\r\n");
    for (const QString &e : entries)
        AddInputHis(e);
    AddInputHis(QStringLiteral("http://x.org/a@@b")); // again: moves to the head, once
    const QStringList rows = GetInputHis(QString()).split(QStringLiteral("@@"), Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), int(std::size(entries)));
    EXPECT_EQ(InputHisDecode(rows.at(0)), QStringLiteral("http://x.org/a@@b"));
    EXPECT_EQ(InputHisDecode(rows.at(1)), QStringLiteral("邮件@@新浪"));
    EXPECT_EQ(InputHisDecode(rows.at(2)), QStringLiteral("%%40@"));
    // searching looks at the entries as typed
    EXPECT_EQ(InputHisDecode(QString(GetInputHis(QStringLiteral("a@@")).chopped(2))), QStringLiteral("http://x.org/a@@b"));
    EXPECT_EQ(GetInputHis(QStringLiteral("%40")).split(QStringLiteral("@@"), Qt::SkipEmptyParts),
              (QStringList{InputHisEncode(QStringLiteral("%%40@")), InputHisEncode(QStringLiteral("x%40y"))}));
    EXPECT_EQ(GetInputHis(QStringLiteral("@@@")).split(QStringLiteral("@@"), Qt::SkipEmptyParts),
              QStringList{InputHisEncode(QStringLiteral("@@@"))});
}

// Files written before read as they always did: entries as typed, and a
// plain "%" (as in "%20") untouched.
TEST(InputHistory, OldFilesReadAsBefore)
{
    TestProgramFolder folder;
    const QString his = QStringLiteral("Data\\InputHis.ini");
    folder.writeBytes(his, "http://a.org/?q=%20x@@me@mail.org@@b.org@@\r\n\r\n\r\n");
    const QStringList rows = GetInputHis(QString()).split(QStringLiteral("@@"), Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(InputHisDecode(rows.at(0)), QStringLiteral("http://a.org/?q=%20x"));
    EXPECT_EQ(InputHisDecode(rows.at(1)), QStringLiteral("me@mail.org"));
    // the old entry matches the same text typed again and is not doubled
    AddInputHis(QStringLiteral("me@mail.org"));
    EXPECT_EQ(folder.readBytes(his), QByteArray("me%40mail.org@@http://a.org/?q=%20x@@b.org@@\r\n"));
}

} // namespace
