#include "TestArchive.h"
#include "Unpack.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

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
    for (ArchiveFormat fmt : {ArchiveFormat::Zip, ArchiveFormat::SevenZip, ArchiveFormat::Tar}) {
        QDir(target()).removeRecursively();
        QDir().mkpath(target());
        WriteArchive(pkg(), {FolderEntry("Demo/"), FileEntry("Demo/Demo.ini", "[App]\r\nName=Demo\r\n"),
                             FileEntry("Demo/sub/main.vbs", "AppControl.AddTab\r\n")}, fmt);
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
        // Control characters in a name: line breaks, escapes, tabs, DEL, C1 controls.
        {"Demo/a\nb.txt", ""}, {"Demo/\x1b[31mred", ""}, {"Demo/a\tb", ""}, {"Demo/a\x7f", ""},
        {"Demo/\xc2\x85x", ""}, {"De\rmo/a", ""}, {"Demo/\xe4\xb8\xad.txt", "Demo/\xe4\xb8\xad.txt"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SafeEntryPath(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST_F(ArchiverTest, HostileNamesLinksAndDevicesStayOutside)
{
    WriteArchive(pkg(), {
        FileEntry("../escape1", "x"),
        FileEntry("Demo/../../escape2", "x"),
        FileEntry("..\\escape3", "x"),
        FileEntry(QFile::encodeName(dir.path() + QStringLiteral("/escape4")), "x"),
        LinkEntry("Demo/out", QFile::encodeName(dir.path()), false),   // symlink out
        FileEntry("Demo/out/escape5", "x"),                                     // through it
        LinkEntry("Demo/hard", "../../escape6", true),
        SpecialEntry("Demo/null", AE_IFCHR),
        SpecialEntry("Demo/fifo", AE_IFIFO),
        FileEntry("Demo/Demo.ini", "ok"),
    }, ArchiveFormat::Tar);
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
    WriteArchive(pkg(), {FileEntry("Demo/Demo.ini", "x"), FileEntry("top.txt", "x")});
    const UnpackResult r = UnpackArchive(pkg(), target());
    EXPECT_EQ(r.written, 0);
    EXPECT_EQ(r.skipped, 2);
    EXPECT_TRUE(QDir(outside).isEmpty());
}

TEST_F(ArchiverTest, LimitsStopBombsAndLeaveNoPartialFile)
{
    WriteArchive(pkg(), {FileEntry("Demo/small", "abc"), ZerosEntry("Demo/bomb", 8 << 20)});
    UnpackLimits limits;
    limits.maxFileBytes = 1 << 20;
    const UnpackResult r = UnpackArchive(pkg(), target(), limits);
    EXPECT_TRUE(r.truncated);
    EXPECT_EQ(ReadAll(target() + QStringLiteral("/Demo/small")), QByteArray("abc"));
    EXPECT_FALSE(QFileInfo::exists(target() + QStringLiteral("/Demo/bomb")));

    QList<ArchiveEntry> many;
    for (int i = 0; i < 30; ++i)
        many.append(FileEntry("Demo/f" + QByteArray::number(i), "x"));
    WriteArchive(pkg(), many);
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
    WriteArchive(pkg(), {FileEntry("Demo/Demo.ini", "ini")});
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

// The tool's exit status tells the browser whether the package came out
// whole: every refused entry kind makes it fail, each on its own.
TEST_F(ArchiverTest, ToolFailsOnEveryRefusedEntryKind)
{
    const QByteArray outsideFile = QFile::encodeName(dir.path() + QStringLiteral("/escape"));
    const struct { const char *kind; ArchiveEntry entry; } cases[] = {
        {"absolute path", FileEntry(outsideFile, "x")},
        {"dot-dot", FileEntry("Demo/../../escape", "x")},
        {"symlink out", LinkEntry("Demo/out", QFile::encodeName(dir.path()), false)},
        {"symlink inside", LinkEntry("Demo/in", "Demo.ini", false)},
        {"hardlink out", LinkEntry("Demo/hard", outsideFile, true)},
        {"character device", SpecialEntry("Demo/null", AE_IFCHR)},
        {"block device", SpecialEntry("Demo/disk", AE_IFBLK)},
        {"fifo", SpecialEntry("Demo/fifo", AE_IFIFO)},
        {"line break in name", FileEntry("Demo/a\nb", "x")},
        {"escape in name", FileEntry("Demo/\x1b[2J", "x")},
    };
    for (const auto &c : cases) {
        QDir(target()).removeRecursively();
        QDir().mkpath(target());
        ASSERT_TRUE(WriteArchive(pkg(), {FileEntry("Demo/Demo.ini", "ok"), c.entry}, ArchiveFormat::Tar)) << c.kind;
        EXPECT_NE(QProcess::execute(QStringLiteral(RAR_TOOL_PATH), {QStringLiteral("x"), pkg(), target()}), 0)
            << c.kind;
        EXPECT_EQ(QDir(target() + QStringLiteral("/Demo")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
                  QStringList(QStringLiteral("Demo.ini")))
            << c.kind;
        ExpectNothingOutside();
    }
}

TEST_F(ArchiverTest, ExistingHardLinkIsReplacedNotWrittenThrough)
{
    const QString victim = dir.path() + QStringLiteral("/victim");
    QFile v(victim);
    ASSERT_TRUE(v.open(QIODevice::WriteOnly));
    v.write("old");
    v.close();
    QDir().mkpath(target() + QStringLiteral("/Demo"));
    ASSERT_EQ(::link(QFile::encodeName(victim).constData(),
                     QFile::encodeName(target() + QStringLiteral("/Demo/Demo.ini")).constData()), 0);
    WriteArchive(pkg(), {FileEntry("Demo/Demo.ini", "new")});
    EXPECT_EQ(QProcess::execute(QStringLiteral(RAR_TOOL_PATH), {QStringLiteral("x"), pkg(), target()}), 0);
    EXPECT_EQ(ReadAll(target() + QStringLiteral("/Demo/Demo.ini")), QByteArray("new"));
    EXPECT_EQ(ReadAll(victim), QByteArray("old"));
}

TEST_F(ArchiverTest, ExistingSymlinkIsNotWrittenThroughAndFailsTheTool)
{
    const QString victim = dir.path() + QStringLiteral("/victim");
    QFile v(victim);
    ASSERT_TRUE(v.open(QIODevice::WriteOnly));
    v.write("old");
    v.close();
    QDir().mkpath(target() + QStringLiteral("/Demo"));
    ASSERT_TRUE(QFile::link(victim, target() + QStringLiteral("/Demo/Demo.ini")));
    WriteArchive(pkg(), {FileEntry("Demo/Demo.ini", "new")});
    EXPECT_NE(QProcess::execute(QStringLiteral(RAR_TOOL_PATH), {QStringLiteral("x"), pkg(), target()}), 0);
    EXPECT_EQ(ReadAll(victim), QByteArray("old"));
    EXPECT_TRUE(QFileInfo(target() + QStringLiteral("/Demo/Demo.ini")).isSymLink());
}

// A new file is written beside the old one and renamed over it: an entry
// that fails half-way leaves the old file as it was, and no part file.
TEST_F(ArchiverTest, FailedEntryLeavesTheOldFile)
{
    QByteArray big;
    for (int i = 0; big.size() < 200000; ++i)
        big += "line " + QByteArray::number(i * 7919 % 100003) + "\r\n";
    const auto prepareOld = [&] {
        QDir(target()).removeRecursively();
        QDir().mkpath(target() + QStringLiteral("/Demo"));
        QFile f(target() + QStringLiteral("/Demo/Demo.ini"));
        f.open(QIODevice::WriteOnly);
        f.write("old");
    };
    const auto expectOld = [&](const char *what) {
        EXPECT_EQ(ReadAll(target() + QStringLiteral("/Demo/Demo.ini")), QByteArray("old")) << what;
        EXPECT_EQ(QDir(target() + QStringLiteral("/Demo")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
                  QStringList(QStringLiteral("Demo.ini")))
            << what;
    };

    // Cut short in the middle of the file's data.
    prepareOld();
    ASSERT_TRUE(WriteArchive(pkg(), {FileEntry("Demo/Demo.ini", big)}, ArchiveFormat::Tar));
    ASSERT_TRUE(TruncateFile(pkg(), 512 + big.size() / 2));
    EXPECT_NE(QProcess::execute(QStringLiteral(RAR_TOOL_PATH), {QStringLiteral("x"), pkg(), target()}), 0);
    expectOld("truncated");

    // Compressed data damaged in the middle.
    prepareOld();
    ASSERT_TRUE(WriteArchive(pkg(), {FileEntry("Demo/Demo.ini", big)}, ArchiveFormat::Zip));
    ASSERT_TRUE(CorruptFile(pkg(), QFileInfo(pkg()).size() / 2, 64));
    EXPECT_NE(QProcess::execute(QStringLiteral(RAR_TOOL_PATH), {QStringLiteral("x"), pkg(), target()}), 0);
    expectOld("corrupt");

    // Over the size limit.
    prepareOld();
    ASSERT_TRUE(WriteArchive(pkg(), {ZerosEntry("Demo/Demo.ini", 3 << 20)}));
    UnpackLimits limits;
    limits.maxFileBytes = 1 << 20;
    EXPECT_TRUE(UnpackArchive(pkg(), target(), limits).truncated);
    expectOld("too big");
}

TEST_F(ArchiverTest, ReplacingFilesLeavesNoTemporaryFiles)
{
    QDir().mkpath(target() + QStringLiteral("/Demo"));
    QFile f(target() + QStringLiteral("/Demo/Demo.ini"));
    f.open(QIODevice::WriteOnly);
    f.write("old");
    f.close();
    WriteArchive(pkg(), {FileEntry("Demo/Demo.ini", "new"), FileEntry("Demo/a.txt", "a")});
    EXPECT_EQ(QProcess::execute(QStringLiteral(RAR_TOOL_PATH), {QStringLiteral("x"), pkg(), target()}), 0);
    EXPECT_EQ(ReadAll(target() + QStringLiteral("/Demo/Demo.ini")), QByteArray("new"));
    EXPECT_EQ(QDir(target() + QStringLiteral("/Demo")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
              QStringList({QStringLiteral("a.txt"), QStringLiteral("Demo.ini")}));
}

} // namespace
