#include "Unpack.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <archive.h>
#include <archive_entry.h>

#include <gtest/gtest.h>

namespace {

struct Entry
{
    QByteArray name;
    QByteArray data;
    mode_t type = AE_IFREG;
    QByteArray link;      // symlink target
    QByteArray hardlink;  // hard link target
    qint64 zeros = 0;     // a run of zero bytes instead of data
};

Entry File(const QByteArray &name, const QByteArray &data)
{
    Entry e;
    e.name = name;
    e.data = data;
    return e;
}
Entry Special(const QByteArray &name, mode_t type)
{
    Entry e;
    e.name = name;
    e.type = type;
    return e;
}
Entry Link(const QByteArray &name, const QByteArray &target, bool hard)
{
    Entry e;
    e.name = name;
    (hard ? e.hardlink : e.link) = target;
    if (!hard)
        e.type = AE_IFLNK;
    return e;
}
Entry Zeros(const QByteArray &name, qint64 n)
{
    Entry e;
    e.name = name;
    e.zeros = n;
    return e;
}

enum class Fmt { Zip, SevenZip, Tar };

void WritePackage(const QString &path, const QList<Entry> &entries, Fmt fmt = Fmt::Zip)
{
    archive *a = archive_write_new();
    if (fmt == Fmt::Zip)
        archive_write_set_format_zip(a);
    else if (fmt == Fmt::SevenZip)
        archive_write_set_format_7zip(a);
    else
        archive_write_set_format_pax_restricted(a);
    ASSERT_EQ(archive_write_open_filename(a, QFile::encodeName(path).constData()), ARCHIVE_OK);
    for (const Entry &e : entries) {
        archive_entry *en = archive_entry_new();
        archive_entry_set_pathname(en, e.name.constData());
        archive_entry_set_filetype(en, e.type);
        archive_entry_set_perm(en, e.type == AE_IFDIR ? 0755 : 0644);
        if (!e.link.isEmpty())
            archive_entry_set_symlink(en, e.link.constData());
        if (!e.hardlink.isEmpty())
            archive_entry_set_hardlink(en, e.hardlink.constData());
        if (e.type == AE_IFCHR)
            archive_entry_set_rdev(en, dev_t((1 << 8) | 3));
        const qint64 size = e.type == AE_IFREG && e.hardlink.isEmpty()
            ? (e.zeros ? e.zeros : e.data.size()) : 0;
        archive_entry_set_size(en, size);
        archive_write_header(a, en);
        if (e.zeros) {
            const QByteArray block(1 << 20, '\0');
            for (qint64 done = 0; done < e.zeros; done += block.size())
                archive_write_data(a, block.constData(), size_t(qMin<qint64>(block.size(), e.zeros - done)));
        } else if (size) {
            archive_write_data(a, e.data.constData(), size_t(e.data.size()));
        }
        archive_entry_free(en);
    }
    archive_write_close(a);
    archive_write_free(a);
}

QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

class ArchiverTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString target() const { return dir.path() + QStringLiteral("/prog/Apps"); }
    QString pkg() const { return dir.path() + QStringLiteral("/Demo.zelp"); }
    void SetUp() override { ASSERT_TRUE(QDir().mkpath(target())); }
    // Nothing but the target folder may have appeared in the test folder.
    void ExpectNothingOutside()
    {
        const QStringList top = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
        EXPECT_EQ(top, QStringList({QStringLiteral("Demo.zelp"), QStringLiteral("prog")}));
        const QStringList prog = QDir(dir.path() + QStringLiteral("/prog")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
        EXPECT_EQ(prog, QStringList(QStringLiteral("Apps")));
    }
};

TEST_F(ArchiverTest, UnpacksEveryWritableFormatWithFolders)
{
    for (Fmt fmt : {Fmt::Zip, Fmt::SevenZip, Fmt::Tar}) {
        QDir(target()).removeRecursively();
        QDir().mkpath(target());
        WritePackage(pkg(), {Special("Demo/", AE_IFDIR), File("Demo/Demo.ini", "[App]\r\nName=Demo\r\n"),
                             File("Demo/sub/main.vbs", "AppControl.AddTab\r\n")}, fmt);
        const UnpackResult r = UnpackArchive(pkg(), target());
        EXPECT_TRUE(r.opened);
        EXPECT_EQ(r.written, 2);
        EXPECT_EQ(r.skipped, 0);
        EXPECT_TRUE(r.error.isEmpty()) << qPrintable(r.error);
        EXPECT_EQ(ReadAll(target() + QStringLiteral("/Demo/Demo.ini")), QByteArray("[App]\r\nName=Demo\r\n"));
        EXPECT_EQ(ReadAll(target() + QStringLiteral("/Demo/sub/main.vbs")), QByteArray("AppControl.AddTab\r\n"));
    }
}

TEST_F(ArchiverTest, SafeEntryPathTable)
{
    const struct { const char *in; const char *out; } cases[] = {
        {"Demo/Demo.ini", "Demo/Demo.ini"}, {"Demo\\Demo.ini", "Demo/Demo.ini"}, {"./Demo//a", "Demo/a"},
        {"../evil", ""}, {"Demo/../../evil", ""}, {"..\\evil", ""}, {"/etc/passwd", ""},
        {"\\evil", ""}, {"C:evil", ""}, {"C:\\evil", ""}, {"", ""}, {".", ""}, {"a/..", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SafeEntryPath(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST_F(ArchiverTest, HostileNamesLinksAndDevicesStayOutside)
{
    WritePackage(pkg(), {
        File("../escape1", "x"),
        File("Demo/../../escape2", "x"),
        File("..\\escape3", "x"),
        File(QFile::encodeName(dir.path() + QStringLiteral("/escape4")), "x"),
        Link("Demo/out", QFile::encodeName(dir.path()), false),   // symlink out
        File("Demo/out/escape5", "x"),                                     // through it
        Link("Demo/hard", "../../escape6", true),
        Special("Demo/null", AE_IFCHR),
        Special("Demo/fifo", AE_IFIFO),
        File("Demo/Demo.ini", "ok"),
    }, Fmt::Tar);
    const UnpackResult r = UnpackArchive(pkg(), target());
    EXPECT_TRUE(r.opened);
    // The refused link leaves "out" free for a real folder inside the target.
    EXPECT_EQ(r.written, 2);
    EXPECT_EQ(r.skipped, 8);
    EXPECT_EQ(ReadAll(target() + QStringLiteral("/Demo/out/escape5")), QByteArray("x"));
    EXPECT_EQ(ReadAll(target() + QStringLiteral("/Demo/Demo.ini")), QByteArray("ok"));
    EXPECT_FALSE(QFileInfo::exists(target() + QStringLiteral("/Demo/null")));
    EXPECT_FALSE(QFileInfo(target() + QStringLiteral("/Demo/out")).isSymLink());
    ExpectNothingOutside();
}

TEST_F(ArchiverTest, ExistingLinksInTheTargetAreNotFollowed)
{
    const QString outside = dir.path() + QStringLiteral("/outside");
    QDir().mkpath(outside);
    QFile::link(outside, target() + QStringLiteral("/Demo"));
    QFile::link(outside + QStringLiteral("/victim"), target() + QStringLiteral("/top.txt"));
    WritePackage(pkg(), {File("Demo/Demo.ini", "x"), File("top.txt", "x")});
    const UnpackResult r = UnpackArchive(pkg(), target());
    EXPECT_EQ(r.written, 0);
    EXPECT_EQ(r.skipped, 2);
    EXPECT_TRUE(QDir(outside).isEmpty());
}

TEST_F(ArchiverTest, LimitsStopBombsAndLeaveNoPartialFile)
{
    WritePackage(pkg(), {File("Demo/small", "abc"), Zeros("Demo/bomb", 8 << 20)});
    UnpackLimits limits;
    limits.maxFileBytes = 1 << 20;
    const UnpackResult r = UnpackArchive(pkg(), target(), limits);
    EXPECT_TRUE(r.truncated);
    EXPECT_EQ(ReadAll(target() + QStringLiteral("/Demo/small")), QByteArray("abc"));
    EXPECT_FALSE(QFileInfo::exists(target() + QStringLiteral("/Demo/bomb")));

    QList<Entry> many;
    for (int i = 0; i < 30; ++i)
        many.append(File("Demo/f" + QByteArray::number(i), "x"));
    WritePackage(pkg(), many);
    limits = UnpackLimits();
    limits.maxEntries = 10;
    const UnpackResult r2 = UnpackArchive(pkg(), target(), limits);
    EXPECT_TRUE(r2.truncated);
    EXPECT_EQ(r2.written, 10);
}

TEST_F(ArchiverTest, CorruptAndMissingPackagesFailCleanly)
{
    QFile f(pkg());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("PK\x03\x04 this is not really a zip file at all");
    f.close();
    const UnpackResult r = UnpackArchive(pkg(), target());
    EXPECT_EQ(r.written, 0);
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_FALSE(UnpackArchive(dir.path() + QStringLiteral("/none.zelp"), target()).opened);
}

TEST_F(ArchiverTest, ToolTakesTheBrowsersCommandForms)
{
    WritePackage(pkg(), {File("Demo/Demo.ini", "ini")});
    // As the browser starts it: paths written with "\", the target with a trailing "\".
    QString pkgArg = pkg();
    QString targetArg = target() + QStringLiteral("\\");
    pkgArg.replace(QLatin1Char('/'), QLatin1Char('\\'));
    targetArg.replace(QLatin1Char('/'), QLatin1Char('\\'));
    EXPECT_EQ(QProcess::execute(QStringLiteral(RAR_TOOL_PATH), {QStringLiteral("x"), pkgArg, targetArg}), 0);
    EXPECT_EQ(ReadAll(target() + QStringLiteral("/Demo/Demo.ini")), QByteArray("ini"));
    // The clipboard form names the app's own folder.
    EXPECT_EQ(QProcess::execute(QStringLiteral(RAR_TOOL_PATH),
                                {QStringLiteral("x"), pkg(), target() + QStringLiteral("/Demo")}), 0);
    EXPECT_EQ(ReadAll(target() + QStringLiteral("/Demo/Demo/Demo.ini")), QByteArray("ini"));
    EXPECT_NE(QProcess::execute(QStringLiteral(RAR_TOOL_PATH), {QStringLiteral("l"), pkg(), target()}), 0);
    EXPECT_NE(QProcess::execute(QStringLiteral(RAR_TOOL_PATH), {QStringLiteral("x"), pkg()}), 0);
}

} // namespace
