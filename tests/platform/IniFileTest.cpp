#include "Gbk.h"
#include "IniFile.h"
#include "ProgramFolder.h"
#include "TextFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {
QByteArray gbk(const char *utf8) { return Gbk::encode(QString::fromUtf8(utf8)); }

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class IniFileTest : public ::testing::Test
{
protected:
    QString file(const char *name = "t.ini") const { return m_dir.path() + QLatin1Char('/') + QLatin1String(name); }
    QTemporaryDir m_dir;
};

TEST(Gbk, RoundTripAndCuts)
{
    const QString chinese = QStringLiteral("非常抱歉，出现了一个错误");
    EXPECT_EQ(Gbk::encode(chinese).size(), chinese.size() * 2);
    EXPECT_EQ(Gbk::decode(Gbk::encode(chinese)), chinese);
    EXPECT_EQ(Gbk::encode(QStringLiteral("a😀b")), QByteArray("a?b")); // not in GBK
    EXPECT_EQ(Gbk::decode(QByteArray("a\xff" "b", 3)).size(), 3);  // invalid byte: one replacement character
    const QByteArray mixed = gbk("a中b");
    struct Row { qsizetype max; qsizetype cut; };
    const Row rows[] = {{0, 0}, {1, 1}, {2, 1}, {3, 3}, {4, 4}, {10, 4}};
    for (const Row &r : rows)
        EXPECT_EQ(Gbk::safeCut(mixed, r.max), r.cut) << r.max;
    // A lead byte at the very end stands alone.
    EXPECT_EQ(Gbk::safeCut(QByteArray("ab\xb0", 3), 3), 3);
}

TEST_F(IniFileTest, LongValuesAreReadWhole)
{
    struct Row { QByteArray stored; QByteArray expected; };
    const QByteArray ascii200(200, 'x');
    QByteArray chinese200;
    for (int i = 0; i < 100; ++i)
        chinese200 += gbk("中");
    const Row rows[] = {
        {ascii200, ascii200},
        {chinese200, chinese200},
        {"a" + chinese200, "a" + chinese200},
        {QByteArray(127, 'y'), QByteArray(127, 'y')},
        {QByteArray(4000, 'u'), QByteArray(4000, 'u')},
        {"\"" + QByteArray(130, 'q') + "\"", QByteArray(130, 'q')},
    };
    for (const Row &r : rows) {
        writeBytes(file(), "[Setting]\r\nHomePage=" + r.stored + "\r\n");
        EXPECT_EQ(Gbk::encode(IniFile::readValue(file(), QStringLiteral("Setting"), QStringLiteral("HomePage"))),
                  r.expected);
    }
    // A write keeps the value whole, and it reads back whole.
    const QString longAddress = QStringLiteral("http://例子.cn/搜索?q=") + QString(300, QLatin1Char('z'));
    ASSERT_TRUE(IniFile::writeValue(file(), QStringLiteral("Setting"), QStringLiteral("LastPage"), longAddress));
    EXPECT_TRUE(readBytes(file()).contains("LastPage=" + Gbk::encode(longAddress) + "\r\n"));
    EXPECT_EQ(IniFile::readValue(file(), QStringLiteral("Setting"), QStringLiteral("LastPage")), longAddress);
}

TEST_F(IniFileTest, LookupRules)
{
    const QByteArray content = QByteArray(
        "; comment\r\n"
        "[Setting]\r\n"
        "  OnOpen = 1 \r\n"
        "HomePage=\"http://a/\"\r\n"
        "Quoted='x'\r\n"
        "Half=\"x\r\n"
        "Inner=a\"b\"c\r\n"
        "Empty=\r\n"
        "Dup=first\r\n"
        "DUP=second\r\n"
        "NoEquals\r\n"
        "[setting]\r\n"
        "OnOpen=2\r\n"
        "Later=in second copy\r\n"
        "[ Theme ]\r\n")
        + "Theme=" + gbk("默认.ini") + "\r\n[Other]\r\nKey=v";
    struct Row { const char *section; const char *key; QByteArray value; bool found; };
    const Row rows[] = {
        {"Setting", "OnOpen", "1", true},
        {"SETTING", "onopen", "1", true},
        {" Setting ", " OnOpen ", "1", true},
        {"Setting", "HomePage", "http://a/", true},
        {"Setting", "Quoted", "x", true},
        {"Setting", "Half", "\"x", true},
        {"Setting", "Inner", "a\"b\"c", true},
        {"Setting", "Empty", "", true},
        {"Setting", "Dup", "first", true},
        {"Setting", "NoEquals", "", false},
        {"Setting", "Later", "", false}, // the first section of a name wins
        {"Theme", "Theme", gbk("默认.ini"), true},
        {"Other", "Key", "v", true},
        {"Missing", "Key", "", false},
        {"Setting", "Missing", "", false},
    };
    for (const Row &r : rows) {
        bool found = !r.found;
        EXPECT_EQ(IniFile::readRaw(content, QString::fromUtf8(r.section), QString::fromUtf8(r.key), &found), r.value)
            << r.section << "/" << r.key;
        EXPECT_EQ(found, r.found) << r.section << "/" << r.key;
    }
    writeBytes(file(), content);
    EXPECT_EQ(IniFile::readValue(file(), QStringLiteral("Theme"), QStringLiteral("Theme")), QStringLiteral("默认.ini"));
    EXPECT_EQ(IniFile::readValue(file(QByteArrayLiteral("missing.ini").constData()), QStringLiteral("Setting"),
                                 QStringLiteral("OnOpen")), QString());
    EXPECT_EQ(IniFile::readValue(file(), QString(), QStringLiteral("OnOpen")), QString());
}

TEST_F(IniFileTest, SectionNamesWithDoubleByteCharacters)
{
    // "乚" is 0x81 0x5D: its second byte is "]" and must not close the header.
    const QString name = QStringLiteral("乚");
    const QByteArray content = "[" + gbk("乚") + "]\r\nk=v\r\n[" + gbk("中") + "]\r\nk=w\r\n";
    EXPECT_EQ(IniFile::readRaw(content, name, QStringLiteral("k")), QByteArray("v"));
    EXPECT_EQ(IniFile::readRaw(content, QStringLiteral("中"), QStringLiteral("K")), QByteArray("w"));
    const QByteArray written = IniFile::withValue(QByteArray(), name, QStringLiteral("k"), QStringLiteral("x"));
    EXPECT_EQ(IniFile::readRaw(written, name, QStringLiteral("k")), QByteArray("x"));
    EXPECT_EQ(IniFile::withValue(written, name, QStringLiteral("k"), QStringLiteral("y")),
              "[" + gbk("乚") + "]\r\nk=y\r\n");
}

TEST_F(IniFileTest, WritesKeepEveryOtherByte)
{
    const QByteArray before =
        "[Setting]\r\n"
        "Zoom=100\r\n"
        "  Addr = 0 ; note\r\n"
        "Bad=\xff\xfe\x80\x81\r\n"
        "\r\n"
        "[Theme]\n"
        "Theme=a.ini";
    struct Row { const char *section; const char *key; const char *value; QByteArray after; };
    const Row rows[] = {
        {"Setting", "Zoom", "150",
         "[Setting]\r\nZoom=150\r\n  Addr = 0 ; note\r\nBad=\xff\xfe\x80\x81\r\n\r\n[Theme]\nTheme=a.ini"},
        {"setting", "ADDR", "1",
         "[Setting]\r\nZoom=100\r\nAddr=1\r\nBad=\xff\xfe\x80\x81\r\n\r\n[Theme]\nTheme=a.ini"},
        {"Setting", "LastPage", "http://x/",
         "[Setting]\r\nZoom=100\r\n  Addr = 0 ; note\r\nBad=\xff\xfe\x80\x81\r\nLastPage=http://x/\r\n\r\n[Theme]\nTheme=a.ini"},
        {"Theme", "New", "n",
         "[Setting]\r\nZoom=100\r\n  Addr = 0 ; note\r\nBad=\xff\xfe\x80\x81\r\n\r\n[Theme]\nTheme=a.ini\r\nNew=n\r\n"},
        {"Apps", "Count", "0",
         "[Setting]\r\nZoom=100\r\n  Addr = 0 ; note\r\nBad=\xff\xfe\x80\x81\r\n\r\n[Theme]\nTheme=a.ini\r\n[Apps]\r\nCount=0\r\n"},
        {"Setting", "Zoom", "a\r\nb\nc\r",
         "[Setting]\r\nZoom=abc\r\n  Addr = 0 ; note\r\nBad=\xff\xfe\x80\x81\r\n\r\n[Theme]\nTheme=a.ini"},
        {"Setting", "Zoom", "中文",
         "[Setting]\r\nZoom=\xd6\xd0\xce\xc4\r\n  Addr = 0 ; note\r\nBad=\xff\xfe\x80\x81\r\n\r\n[Theme]\nTheme=a.ini"},
    };
    for (const Row &r : rows) {
        writeBytes(file(), before);
        ASSERT_TRUE(IniFile::writeValue(file(), QString::fromUtf8(r.section), QString::fromUtf8(r.key),
                                        QString::fromUtf8(r.value)));
        EXPECT_EQ(readBytes(file()), r.after) << r.section << "/" << r.key;
    }
    // Invalid bytes read without harm and come back unchanged.
    writeBytes(file(), before);
    EXPECT_EQ(IniFile::readRaw(before, QStringLiteral("Setting"), QStringLiteral("Bad")), QByteArray("\xff\xfe\x80\x81"));
    EXPECT_FALSE(IniFile::readValue(file(), QStringLiteral("Setting"), QStringLiteral("Bad")).isEmpty());
}

TEST_F(IniFileTest, MissingFileIsCreatedMissingFolderIsNot)
{
    ASSERT_TRUE(IniFile::writeValue(file("new.ini"), QStringLiteral("Setting"), QStringLiteral("Addr"), QStringLiteral("1")));
    EXPECT_EQ(readBytes(file("new.ini")), QByteArray("[Setting]\r\nAddr=1\r\n"));
    EXPECT_FALSE(IniFile::writeValue(m_dir.path() + QStringLiteral("/nofolder/x.ini"), QStringLiteral("S"),
                                     QStringLiteral("K"), QStringLiteral("v")));
    EXPECT_FALSE(QFile::exists(m_dir.path() + QStringLiteral("/nofolder")));
    // Stored paths with "\" below the program folder reach the file system with "/".
    setProgramFolderOverride(m_dir.path());
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("Data")));
    ASSERT_TRUE(IniFile::writeValue(m_dir.path() + QStringLiteral("/Data\\back.ini"), QStringLiteral("S"),
                                    QStringLiteral("K"), QStringLiteral("v")));
    EXPECT_EQ(IniFile::readValue(m_dir.path() + QStringLiteral("/Data/back.ini"), QStringLiteral("S"), QStringLiteral("K")),
              QStringLiteral("v"));
    setProgramFolderOverride(QString());
}

TEST_F(IniFileTest, LargeFileReadsAndWritesOneKey)
{
    QByteArray big = "[Setting]\r\nZoom=100\r\n";
    int i = 0;
    while (big.size() < 10 * 1024 * 1024) {
        big += "[Section" + QByteArray::number(i) + "]\r\nKey" + QByteArray::number(i) + "=value value value value\r\n";
        ++i;
    }
    big += "[Last]\r\nKey=end\r\n";
    writeBytes(file(), big);
    EXPECT_EQ(IniFile::readValue(file(), QStringLiteral("Last"), QStringLiteral("Key")), QStringLiteral("end"));
    ASSERT_TRUE(IniFile::writeValue(file(), QStringLiteral("Last"), QStringLiteral("Key"), QStringLiteral("new")));
    ASSERT_TRUE(IniFile::writeValue(file(), QStringLiteral("Setting"), QStringLiteral("Zoom"), QStringLiteral("120")));
    const QByteArray after = readBytes(file());
    QByteArray expected = big;
    expected.replace("Zoom=100", "Zoom=120");
    expected.replace("[Last]\r\nKey=end", "[Last]\r\nKey=new");
    EXPECT_TRUE(after == expected);
}

TEST_F(IniFileTest, ReaderSeesOldOrNewNeverHalf)
{
    const QByteArray a = "[S]\r\nK=" + QByteArray(100000, 'a') + "\r\n";
    writeBytes(file(), a);
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        for (int i = 0; i < 60 && !stop; ++i)
            IniFile::writeValue(file(), QStringLiteral("S"), QStringLiteral("K"),
                                QString(100000, QLatin1Char(i % 2 ? 'b' : 'a')));
        stop = true;
    });
    int reads = 0;
    while (!stop) {
        const QByteArray seen = readBytes(file());
        const QByteArray v = IniFile::readRaw(seen, QStringLiteral("S"), QStringLiteral("K"));
        ASSERT_EQ(v.size(), 100000);
        ASSERT_TRUE(v == QByteArray(100000, 'a') || v == QByteArray(100000, 'b'));
        ++reads;
    }
    writer.join();
    EXPECT_GT(reads, 0);
}

TEST_F(IniFileTest, TextFileLinesAndWholeText)
{
    struct Row { QByteArray bytes; QString whole; };
    const Row rows[] = {
        {"", QString()},
        {"x", QStringLiteral("x\r\n")},
        {"a\r\nb", QStringLiteral("a\r\nb\r\n")},
        {"a\nb\n", QStringLiteral("a\r\nb\r\n")},
        {"a\rb", QStringLiteral("a\r\nb\r\n")},
        {"\r\n", QStringLiteral("\r\n")},
        {"\r\n\r\n", QStringLiteral("\r\n\r\n")},
        {gbk("中文\r\n"), QStringLiteral("中文\r\n")},
    };
    for (const Row &r : rows) {
        writeBytes(file("t.txt"), r.bytes);
        EXPECT_EQ(TextFile::readWhole(file("t.txt")), r.whole) << r.bytes.toHex().constData();
    }
    EXPECT_EQ(TextFile::readWhole(file("none.txt")), QString());
    ASSERT_TRUE(TextFile::writeWhole(file("w.txt"), QStringLiteral("书签\r\n")));
    EXPECT_EQ(readBytes(file("w.txt")), gbk("书签\r\n"));
}
} // namespace
