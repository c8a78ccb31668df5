#include "FakeMessageBoxes.h"
#include "FileName.h"
#include "Files.h"
#include "Gbk.h"
#include "ProgramFolder.h"
#include "ThemeColors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
QByteArray gbk(const char *utf8) { return Gbk::encode(QString::fromUtf8(utf8)); }

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A program folder of its own for each test, with its "Data\" folder.
class FilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setProgramFolderOverride(m_dir.path());
        QDir(m_dir.path()).mkpath(QStringLiteral("Data"));
    }
    void TearDown() override { setProgramFolderOverride(QString()); }
    QString path(const char *rel) const { return m_dir.path() + QLatin1Char('/') + QLatin1String(rel); }

    QTemporaryDir m_dir;
};

TEST(ProgramFolder, EndsInExactlyOneSlash)
{
    struct Row { const char *set; const char *expected; };
    const Row rows[] = {{"/opt/t", "/opt/t/"}, {"/opt/t/", "/opt/t/"}, {"/opt/t///", "/opt/t/"}, {"/", "/"}};
    for (const Row &r : rows) {
        setProgramFolderOverride(QString::fromLatin1(r.set));
        EXPECT_EQ(GetAppPath(), QString::fromLatin1(r.expected)) << r.set;
    }
    setProgramFolderOverride(QString());
    EXPECT_EQ(GetAppPath(), QCoreApplication::applicationDirPath() + QLatin1Char('/'));
}

TEST(ProgramFolder, BackslashesBecomeSlashesOnlyInsideTheProgramFolder)
{
    setProgramFolderOverride(QStringLiteral("/p"));
    EXPECT_EQ(toLocalPath(QStringLiteral("/p/Apps\\a\\a.ini")), QStringLiteral("/p/Apps/a/a.ini"));
    EXPECT_EQ(toLocalPath(QStringLiteral("Data\\NavPic\\n1.bmp")), QStringLiteral("Data/NavPic/n1.bmp"));
    // Outside the program folder a backslash is part of a file name.
    EXPECT_EQ(toLocalPath(QStringLiteral("/home/u/下载/a\\b.zip")), QStringLiteral("/home/u/下载/a\\b.zip"));
    EXPECT_EQ(toLocalPath(QStringLiteral("/pp\\x")), QStringLiteral("/pp\\x"));
    setProgramFolderOverride(QString());
}

TEST(FileName, Parts)
{
    struct Row { const char *path; bool withExt; const char *expected; };
    const Row rows[] = {
        {"C:\\x\\a.b.c", false, "a"},   {"C:\\x\\a.b.c", true, "a.b.c"}, {"C:\\x\\", true, ""},
        {"C:\\x\\", false, ""},         {"", true, ""},                  {"a.tar.gz", false, "a"},
        {"/home/u/书签.vkt", false, "书签"}, {"/home/u/", true, ""},      {"noext", false, "noext"},
        {".hidden", false, ""},         {"d\\e/f.g", true, "f.g"},
    };
    for (const Row &r : rows)
        EXPECT_EQ(GetFileName(QString::fromUtf8(r.path), r.withExt), QString::fromUtf8(r.expected)) << r.path;
}

TEST_F(FilesTest, SettingsReadersAndWriters)
{
    writeBytes(path("config.ini"), "[Setting]\r\nOnOpen=1\r\nHomePage=" + QByteArray(200, 'h') + "\r\n"
                                   "[Theme]\r\nTheme=" + gbk("蓝色.ini") + "\r\n");
    writeBytes(path("Apps/Apps.ini"), "[Apps]\r\nCount=1\r\napp1=a\\a.ini\r\n");
    EXPECT_EQ(ReadSet(QStringLiteral("OnOpen")), QStringLiteral("1"));
    EXPECT_EQ(ReadSet(QStringLiteral("HomePage")), QString(200, QLatin1Char('h'))); // read whole
    EXPECT_EQ(ReadSet(QStringLiteral("Missing")), QString());
    EXPECT_EQ(ReadThemeSet(QStringLiteral("Theme")), QStringLiteral("蓝色.ini"));
    EXPECT_EQ(ReadAppsIni(QStringLiteral("app1")), QStringLiteral("a\\a.ini"));
    WriteSet(QStringLiteral("LastPage"), QStringLiteral("http://中文/"));
    WriteAppsIni(QStringLiteral("Count"), QStringLiteral("2"));
    EXPECT_EQ(readBytes(path("config.ini")), "[Setting]\r\nOnOpen=1\r\nHomePage=" + QByteArray(200, 'h')
                                                 + "\r\nLastPage=" + gbk("http://中文/") + "\r\n[Theme]\r\nTheme="
                                                 + gbk("蓝色.ini") + "\r\n");
    EXPECT_EQ(readBytes(path("Apps/Apps.ini")), QByteArray("[Apps]\r\nCount=2\r\napp1=a\\a.ini\r\n"));
    // A caller-named file: "\" in the relative part, a missing file created.
    WriteIni(QStringLiteral("App"), QStringLiteral("AllowedExt"), QStringLiteral("0"), GetAppPath() + QStringLiteral("Data\\x.ini"));
    EXPECT_EQ(ReadIni(QStringLiteral("App"), QStringLiteral("AllowedExt"), GetAppPath() + QStringLiteral("Data\\x.ini")),
              QStringLiteral("0"));
    // A write into a missing folder is lost without creating the folder.
    WriteIni(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), GetAppPath() + QStringLiteral("None\\x.ini"));
    EXPECT_FALSE(QFile::exists(path("None")));
}

TEST_F(FilesTest, ReadTxtWholeText)
{
    struct Row { QByteArray bytes; QString text; };
    const Row rows[] = {
        {"x", QStringLiteral("x\r\n")},
        {"", QString()},
        {"http://a/\r\n", QStringLiteral("http://a/\r\n")},
        {"a\nb", QStringLiteral("a\r\nb\r\n")},
        {gbk("新浪\r\n第二行"), QStringLiteral("新浪\r\n第二行\r\n")},
    };
    for (const Row &r : rows) {
        writeBytes(path("Data/t.vkt"), r.bytes);
        EXPECT_EQ(ReadTxt(GetAppPath() + QStringLiteral("Data\\t.vkt")), r.text);
    }
    EXPECT_EQ(ReadTxt(path("Data/missing.vkt")), QString());
}

TEST_F(FilesTest, InputHistory)
{
    const QString his = path("Data/InputHis.ini");
    struct Add { QByteArray before; const char *add; QByteArray after; };
    const Add adds[] = {
        {"ab@@c@@\r\n", "b", "b@@ab@@c@@\r\n"},
        {"a@@c@@\r\n", "c", "c@@a@@\r\n"},
        {"a@@c@@\r\n", "  a ", "a@@c@@\r\n"},
        {"", "x", "x@@\r\n"},
        {"\r\n", "e", "e@@\r\n"},
        {"a@@A@@\r\n", "a", "a@@A@@\r\n"},
        {"x@@x@@y@@\r\n", "x", "x@@y@@\r\n"},
        {gbk("百度@@\r\n"), "新闻", gbk("新闻@@百度@@\r\n")},
        // a file that earlier writes left with runs of line breaks and blank entries
        {"a@@@@\r\nb@@\r\n\r\n\r\n", "c", "c@@a@@b@@\r\n"},
        {"a@@b@@\r\n", "", "a@@b@@\r\n"},
        {"a@@b@@\r\n", " \t ", "a@@b@@\r\n"},
    };
    for (const Add &a : adds) {
        if (a.before.isEmpty())
            QFile::remove(his);
        else
            writeBytes(his, a.before);
        AddInputHis(QString::fromUtf8(a.add));
        EXPECT_EQ(readBytes(his), a.after) << a.add;
    }

    struct Get { QByteArray file; const char *search; const char *result; };
    const Get gets[] = {
        {"xo@@yo@@\r\n", "o", "xo@@yo@@"},
        {"xo@@yo@@\r\n", "Y", ""},
        {"xo@@yo@@\r\n", "", "xo@@yo@@"},
        {"xo@@yo@@\r\n", "x", "xo@@"},
        {"\r\n", "", ""},
        {"", "a", ""},
        {"a@@b", "b", ""}, // text after the last "@@" is no entry
        {"@@a@@ @@\r\n\r\nb@@\r\n", "", "a@@b@@"}, // no blank rows, no line breaks
    };
    for (const Get &g : gets) {
        writeBytes(his, g.file);
        EXPECT_EQ(GetInputHis(QString::fromUtf8(g.search)), QString::fromUtf8(g.result)) << g.file.constData();
    }
    QFile::remove(his);
    EXPECT_EQ(GetInputHis(QStringLiteral("a")), QString());

    writeBytes(his, "a@@b@@\r\n");
    ClearInputHis();
    EXPECT_EQ(readBytes(his), QByteArray("\r\n"));
    EXPECT_EQ(GetInputHis(QString()), QString());
    AddInputHis(QStringLiteral("first"));
    EXPECT_EQ(readBytes(his), QByteArray("first@@\r\n"));

    // Without the "Data\" folder nothing is written and no folder appears.
    QDir(path("Data")).removeRecursively();
    AddInputHis(QStringLiteral("x"));
    ClearInputHis();
    EXPECT_FALSE(QFile::exists(path("Data")));
}

TEST_F(FilesTest, CopyBinFileIsByteExact)
{
    QByteArray bytes;
    for (int i = 0; i < 70000; ++i)
        bytes += char(i * 7);
    writeBytes(path("src.bin"), bytes);
    writeBytes(path("dest.bin"), QByteArray(200000, 'x'));
    EXPECT_TRUE(CopyBinFile(path("src.bin"), path("dest.bin")));
    EXPECT_EQ(readBytes(path("dest.bin")), bytes);
    EXPECT_TRUE(CopyBinFile(path("src.bin"), path("new.bin")));
    EXPECT_EQ(readBytes(path("new.bin")), bytes);
    EXPECT_FALSE(CopyBinFile(path("missing.bin"), path("other.bin")));
    EXPECT_FALSE(QFile::exists(path("other.bin")));
    EXPECT_FALSE(CopyBinFile(path("src.bin"), path("nofolder/x.bin")));
}

TEST_F(FilesTest, DelFile)
{
    FakeMessageBoxes boxes;
    // A read-only file goes without a question.
    writeBytes(path("ro.txt"), "x");
    QFile::setPermissions(path("ro.txt"), QFileDevice::ReadOwner);
    EXPECT_TRUE(DelFile(path("ro.txt"), false));
    EXPECT_FALSE(QFile::exists(path("ro.txt")));
    EXPECT_TRUE(boxes.asked().isEmpty());

    // A folder with protected contents, addressed with "\".
    writeBytes(path("Apps/app/sub/f.txt"), "x");
    writeBytes(path("Apps/app/g.txt"), "y");
    QFile::setPermissions(path("Apps/app/sub/f.txt"), QFileDevice::ReadOwner);
    QFile::setPermissions(path("Apps/app/sub"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    EXPECT_TRUE(DelFile(GetAppPath() + QStringLiteral("Apps\\app"), false));
    EXPECT_FALSE(QFile::exists(path("Apps/app")));
    EXPECT_TRUE(QFile::exists(path("Apps")));

    EXPECT_FALSE(DelFile(path("missing"), false));

    // With confirm the user is asked; No keeps the file.
    writeBytes(path("keep.txt"), "k");
    boxes.queueAnswer(MsgAnswer::No);
    EXPECT_FALSE(DelFile(path("keep.txt"), true));
    EXPECT_TRUE(QFile::exists(path("keep.txt")));
    ASSERT_EQ(boxes.asked().size(), 1);
    EXPECT_EQ(boxes.asked().at(0).buttons, MsgButtons::YesNo);
    EXPECT_TRUE(boxes.asked().at(0).text.contains(QStringLiteral("keep.txt")));
    boxes.queueAnswer(MsgAnswer::Yes);
    EXPECT_TRUE(DelFile(path("keep.txt"), true));
    EXPECT_FALSE(QFile::exists(path("keep.txt")));
}

TEST_F(FilesTest, ThemeFolderAndData)
{
    writeBytes(path("config.ini"), "[Theme]\r\nTheme=a.b.ini\r\n");
    EXPECT_EQ(GetThemeDir(), GetAppPath() + QStringLiteral("Themes\\a\\"));
    EXPECT_EQ(GetThemeIni(), GetAppPath() + QStringLiteral("Themes\\a.b.ini"));

    struct Row { QByteArray clr; bool ok; long main; long toolBar; bool white; };
    const Row rows[] = {
        {"Main=15461355\r\nTabAct=1\r\nTabNrm=2\r\nToolBar=&HEBEBEB\r\nWhiteFont=1\r\n", true, 15461355, 15461355, true},
        {"Main=&H00FFCB9B\r\nTabAct=1\r\nTabNrm=2\r\nToolBar=16763803\r\nWhiteFont=0\r\n", true, 16763803, 16763803, false},
        {"main=&hff\r\nTABACT=1\r\nTabNrm=2\r\nToolBar= 255 \r\nWhiteFont=2\r\n", true, 255, 255, false},
        {"Main=1\r\nTabAct=1\r\nTabNrm=2\r\nToolBar=3\r\n", false, 0, 0, false},             // no WhiteFont
        {"Main=1\r\nTabAct=1\r\nTabNrm=2\r\nToolBar=\r\nWhiteFont=0\r\n", false, 0, 0, false}, // empty ToolBar
        {"Main=red\r\nTabAct=1\r\nTabNrm=2\r\nToolBar=3\r\nWhiteFont=0\r\n", false, 0, 0, false},
        {"Main=1\r\nTabAct=1\r\nTabNrm=2\r\nToolBar=3\r\nWhiteFont=x\r\n", false, 0, 0, false},
    };
    for (const Row &r : rows) {
        writeBytes(path("Themes/a.b.ini"), "[Clr]\r\n" + r.clr);
        ThemeData d;
        d.main = -7;
        EXPECT_EQ(ReadThemeData(&d), r.ok) << r.clr.constData();
        if (r.ok) {
            EXPECT_EQ(d.main, r.main) << r.clr.constData();
            EXPECT_EQ(d.toolBar, r.toolBar) << r.clr.constData();
            EXPECT_EQ(d.whiteFont, r.white) << r.clr.constData();
        } else {
            EXPECT_EQ(d.main, -7) << r.clr.constData();
        }
    }
    QFile::remove(path("Themes/a.b.ini"));
    EXPECT_FALSE(ReadThemeData(nullptr));
    EXPECT_EQ(VbColor(0xFFCB9B), QColor(0x9B, 0xCB, 0xFF));
}
} // namespace
