// Bookmark files in a temporary program folder: writing, listing, reading.
#include "BookmarkFiles.h"
#include "ProgramFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

class BookmarkFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        // The program folder lies one level down, so that a file escaping it can be seen.
        prog = root.path() + QStringLiteral("/prog");
        ASSERT_TRUE(QDir().mkpath(prog + QStringLiteral("/Data/Bookmarks")));
        setProgramFolderOverride(prog);
    }
    void TearDown() override { setProgramFolderOverride(QString()); }

    QString bmDir() const { return prog + QStringLiteral("/Data/Bookmarks/"); }
    QByteArray bytes(const QString &file) const
    {
        QFile f(bmDir() + file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    void put(const QString &file, const QByteArray &content) const
    {
        QFile f(bmDir() + file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    // Every file below the temporary root, relative to it.
    QStringList allFiles() const
    {
        QStringList out;
        std::function<void(const QString &)> walk = [&](const QString &d) {
            for (const QFileInfo &fi : QDir(d).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
                if (fi.isDir())
                    walk(fi.filePath());
                else
                    out << QDir(root.path()).relativeFilePath(fi.filePath());
            }
        };
        walk(root.path());
        out.sort();
        return out;
    }

    QTemporaryDir root;
    QString prog;
};

TEST_F(BookmarkFiles, SavingWritesTheAddressWithALineBreakInGbk)
{
    EXPECT_TRUE(SaveBookmark(QStringLiteral("http://example.com/"), QStringLiteral("示例 网站")));
    EXPECT_EQ(bytes(QStringLiteral("示例 网站.vkt")), QByteArray("http://example.com/\r\n"));

    // The name is used unchanged: a "." stays in the file name.
    EXPECT_TRUE(SaveBookmark(QStringLiteral("http://a/"), QStringLiteral("a.b")));
    EXPECT_EQ(bytes(QStringLiteral("a.b.vkt")), QByteArray("http://a/\r\n"));

    // Saving twice under one name keeps one file with the later address.
    EXPECT_TRUE(SaveBookmark(QStringLiteral("http://second/"), QStringLiteral("a.b")));
    EXPECT_EQ(bytes(QStringLiteral("a.b.vkt")), QByteArray("http://second/\r\n"));

    // Text is stored in GBK.
    EXPECT_TRUE(SaveBookmark(QStringLiteral("http://x/中"), QStringLiteral("gbk")));
    EXPECT_EQ(bytes(QStringLiteral("gbk.vkt")), QByteArray("http://x/\xD6\xD0\r\n"));
}

TEST_F(BookmarkFiles, NamesThatWouldLeaveTheFolderWriteNothing)
{
    const QStringList before = allFiles();
    const QString bad[] = {
        QString(),
        QStringLiteral("../escaped"),
        QStringLiteral("..\\..\\escaped"),
        QStringLiteral("sub/name"),
        QStringLiteral("sub\\name"),
        QStringLiteral("/tmp/abs"),
        QStringLiteral("nul") + QChar(0) + QStringLiteral("cut"),
        QStringLiteral("line\nbreak"),
        QStringLiteral("tab\tname"),
    };
    for (const QString &name : bad) {
        EXPECT_FALSE(IsBookmarkName(name)) << name.toStdString();
        EXPECT_FALSE(SaveBookmark(QStringLiteral("http://x/"), name)) << name.toStdString();
    }
    EXPECT_EQ(allFiles(), before);

    // Dots alone are ordinary names inside the folder.
    for (const QString &name : {QStringLiteral(".."), QStringLiteral("."), QStringLiteral("a:b|c?")})
        EXPECT_TRUE(SaveBookmark(QStringLiteral("http://x/"), name)) << name.toStdString();
    EXPECT_EQ(bytes(QStringLiteral("...vkt")), QByteArray("http://x/\r\n"));
    for (const QString &f : allFiles())
        EXPECT_TRUE(f.startsWith(QLatin1String("prog/Data/Bookmarks/"))) << f.toStdString();
}

TEST_F(BookmarkFiles, AMissingFolderOrAFolderUnderTheNameWritesNothing)
{
    ASSERT_TRUE(QDir(bmDir()).mkdir(QStringLiteral("taken.vkt")));
    EXPECT_FALSE(SaveBookmark(QStringLiteral("http://x/"), QStringLiteral("taken")));
    EXPECT_TRUE(QFileInfo(bmDir() + QStringLiteral("taken.vkt")).isDir());

    ASSERT_TRUE(QDir(bmDir()).removeRecursively());
    EXPECT_FALSE(SaveBookmark(QStringLiteral("http://x/"), QStringLiteral("a")));
    EXPECT_FALSE(QDir(bmDir()).exists()); // never created
    EXPECT_TRUE(BookmarkFileNames().isEmpty());
}

TEST_F(BookmarkFiles, TheListHoldsEveryVktFileSortedWithoutCase)
{
    put(QStringLiteral("beta.vkt"), "b\r\n");
    put(QStringLiteral("Alpha.VKT"), "a\r\n");
    put(QStringLiteral("gamma.txt"), "g\r\n");
    put(QStringLiteral(".hidden.vkt"), "h\r\n");
    put(QStringLiteral("c.d.vkt"), "c\r\n");
    ASSERT_TRUE(QDir(bmDir()).mkdir(QStringLiteral("folder.vkt")));
    EXPECT_EQ(BookmarkFileNames(), (QStringList{QStringLiteral(".hidden.vkt"), QStringLiteral("Alpha.VKT"),
                                                QStringLiteral("beta.vkt"), QStringLiteral("c.d.vkt")}));
}

TEST_F(BookmarkFiles, ChineseNamesAreInPinyinOrderWhateverTheLocale)
{
    // The order of a file list on a Chinese system: Han characters by pinyin,
    // Latin letters without regard to case where the Chinese collation puts them.
    for (const char *name : {"北京.vkt", "Zoo.vkt", "东京.vkt", "apple.vkt", "阿里.vkt", "Beta.vkt", "大连.vkt"})
        put(QString::fromUtf8(name), "x\r\n");
    const QStringList names = BookmarkFileNames();
    const auto at = [&](const char *name) { return names.indexOf(QString::fromUtf8(name)); };
    ASSERT_EQ(names.size(), 7);
    EXPECT_LT(at("阿里.vkt"), at("北京.vkt"));
    EXPECT_LT(at("北京.vkt"), at("大连.vkt"));
    EXPECT_LT(at("大连.vkt"), at("东京.vkt"));
    EXPECT_LT(at("apple.vkt"), at("Beta.vkt"));
    EXPECT_LT(at("Beta.vkt"), at("Zoo.vkt"));
}

TEST_F(BookmarkFiles, ReadingGivesTheWholeTextWithLineBreaks)
{
    struct Case
    {
        QByteArray content;
        QString expected;
    } cases[] = {
        {"http://a/\r\n", QStringLiteral("http://a/\r\n")},
        {"http://a/", QStringLiteral("http://a/\r\n")},
        {"one\ntwo\r\n", QStringLiteral("one\r\ntwo\r\n")},
        {"", QString()},
        {"http://x/\xD6\xD0\r\n", QStringLiteral("http://x/中\r\n")},
        // Not GBK: the bad bytes come out as replacement characters, nothing is lost around them.
        {"http://x/\xFF\xFF/y\r\n", QStringLiteral("http://x/\uFFFD\uFFFD/y\r\n")},
    };
    for (const Case &c : cases) {
        put(QStringLiteral("r.vkt"), c.content);
        const QString got = ReadBookmark(bmDir() + QStringLiteral("r.vkt"));
        if (!c.expected.contains(QChar(0xFFFD)))
            EXPECT_EQ(got, c.expected) << c.content.toStdString();
        else
            EXPECT_TRUE(got.startsWith(QLatin1String("http://x/")) && got.endsWith(QLatin1String("/y\r\n")));
    }
    EXPECT_EQ(ReadBookmark(bmDir() + QStringLiteral("missing.vkt")), QString());
    EXPECT_EQ(ReadBookmark(bmDir()), QString());

    // A huge file is not read at all.
    put(QStringLiteral("huge.vkt"), QByteArray(kMaxBookmarkBytes + 1, 'a'));
    EXPECT_EQ(ReadBookmark(bmDir() + QStringLiteral("huge.vkt")), QString());
    put(QStringLiteral("big.vkt"), QByteArray(kMaxBookmarkBytes - 2, 'a') + "\r\n");
    EXPECT_EQ(ReadBookmark(bmDir() + QStringLiteral("big.vkt")).size(), kMaxBookmarkBytes);
}

} // namespace
