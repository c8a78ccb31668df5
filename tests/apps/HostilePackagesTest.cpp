// Hostile app packages and a hostile registry: an install writes nothing
// outside the app's own folder, a package that does not unpack whole is
// refused with a message and leaves an installed version as it was, every
// install asks for the page permission afresh, and registry entries that do
// not name <name>\<name>.ini are neither run nor uninstalled. Installs run the
// real archive tool on packages built here.
#include "AppHost.h"
#include "AppPackages.h"
#include "Apps.h"
#include "FakeMessageBoxes.h"
#include "Files.h"
#include "TestArchive.h"
#include "TestProgramFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class CountingHost : public AppHost
{
public:
    void AddPage() override {}
    void WebGoTo(const QString &url) override { navigations << url; }
    void ShowLock() override {}
    QObject *PageDocument() override { return nullptr; }
    void ClearHistory() override {}
    void SlideAppPanel() override { ++slides; }
    void RfshApps() override {}
    QWidget *MainWindow() override { return nullptr; }
    int slides = 0;
    QStringList navigations;
};

// Every file, folder and link below root with what it holds.
QMap<QString, QByteArray> Tree(const QString &root)
{
    QMap<QString, QByteArray> tree;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        QByteArray what;
        if (info.isSymLink()) {
            what = "link " + QFile::encodeName(info.symLinkTarget());
        } else if (info.isDir()) {
            what = "folder";
        } else if (info.isFile()) {
            QFile f(path);
            what = f.open(QIODevice::ReadOnly) ? "file " + f.readAll() : QByteArray("unreadable file");
        } else {
            what = "special";
        }
        tree.insert(QDir(root).relativeFilePath(path), what);
    }
    return tree;
}

const QByteArray kGoodIni = "[App]\r\nName=Demo\r\nType=url\r\nUrl=Apps\\Demo\\u.txt\r\nAllowedExt=1\r\n";

class HostilePackages : public ::testing::Test
{
protected:
    TestProgramFolder folder;
    QTemporaryDir outside;
    FakeMessageBoxes boxes;
    CountingHost host;
    // A name no other run uses, for files that must not appear anywhere.
    const QByteArray token = "tsv-escape-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36);

    void SetUp() override
    {
        AppHosting::setHost(&host);
        ASSERT_TRUE(QFile::copy(QStringLiteral(RAR_TOOL_PATH), prog(QStringLiteral("rar"))));
        folder.writeBytes(QStringLiteral("config.ini"), "[Setting]\r\nOnOpen=0\r\n");
        folder.writeBytes(QStringLiteral("Apps\\Apps.ini"), "[Apps]\r\nCount=1\r\napp1=Other\\Other.ini\r\n");
        folder.writeBytes(QStringLiteral("Apps\\Other\\Other.ini"), "[App]\r\nName=Other\r\nAllowedExt=1\r\n");
    }
    void TearDown() override { AppHosting::setHost(nullptr); }

    QString prog(const QString &rel) const { return folder.path() + QLatin1Char('/') + rel; }
    QString pkg(const QString &name = QStringLiteral("Demo.zelp")) const
    {
        return outside.path() + QLatin1Char('/') + name;
    }
    QByteArray outsideName() const { return QFile::encodeName(outside.path()) + "/" + token; }

    // Installs and waits for the install to end: the panel's glide comes last.
    void Install(const QString &path)
    {
        const int before = host.slides;
        InstallApp(path);
        ASSERT_TRUE(QTest::qWaitFor([&] { return host.slides > before; }, 15000));
    }

    void ExpectNoEscape()
    {
        EXPECT_FALSE(QFileInfo::exists(QFileInfo(folder.path()).path() + QLatin1Char('/') + QString::fromLatin1(token)));
        for (const QString &f : Tree(folder.path()).keys())
            EXPECT_FALSE(f.contains(QString::fromLatin1(token))) << qPrintable(f);
    }

    // The package is refused: one message in the program's style, and
    // nothing changed in the program folder or beside the package.
    void ExpectRefused(const QList<ArchiveEntry> &entries, ArchiveFormat format = ArchiveFormat::Tar)
    {
        ASSERT_TRUE(WriteArchive(pkg(), entries, format));
        ExpectRefusedPackage();
    }
    void ExpectRefusedPackage()
    {
        const auto before = Tree(folder.path());
        const auto besidePackage = Tree(outside.path());
        Install(pkg());
        ASSERT_EQ(boxes.asked().size(), 1);
        EXPECT_EQ(boxes.asked().at(0).title, QStringLiteral("应用安装时错误"));
        EXPECT_EQ(boxes.asked().at(0).icon, MsgIcon::Exclamation);
        EXPECT_EQ(boxes.asked().at(0).buttons, MsgButtons::Ok);
        EXPECT_TRUE(boxes.asked().at(0).text.contains(QStringLiteral("Demo"))) << qPrintable(boxes.asked().at(0).text);
        EXPECT_EQ(Tree(folder.path()), before);
        EXPECT_EQ(Tree(outside.path()), besidePackage);
        ExpectNoEscape();
    }
};

TEST_F(HostilePackages, AbsolutePathIsRefused)
{
    ExpectRefused({FileEntry("Demo/Demo.ini", kGoodIni), FileEntry(outsideName(), "x")});
}

TEST_F(HostilePackages, DotDotIsRefused)
{
    ExpectRefused({FileEntry("Demo/Demo.ini", kGoodIni), FileEntry("Demo/../../" + token, "x"),
                   FileEntry("../Apps.ini", "[Apps]\r\nCount=0\r\n"), FileEntry("../../../" + token, "x")});
}

TEST_F(HostilePackages, EntryOutsideItsFolderIsRefused)
{
    ExpectRefused({FileEntry("Demo/Demo.ini", kGoodIni), FileEntry("Other/Other.ini", "[App]\r\nName=Hijack\r\n"),
                   FileEntry("Apps.ini", "[Apps]\r\nCount=0\r\n")});
}

TEST_F(HostilePackages, PackageOfAnotherNameIsRefused)
{
    ExpectRefused({FileEntry("Other/Other.ini", "[App]\r\nName=Hijack\r\n")}, ArchiveFormat::Zip);
}

TEST_F(HostilePackages, SymlinkLeadingOutIsRefused)
{
    ExpectRefused({FileEntry("Demo/Demo.ini", kGoodIni), LinkEntry("Demo/out", QFile::encodeName(outside.path()), false),
                   FileEntry("Demo/out/" + token, "x"), LinkEntry("Demo/cfg", "../../config.ini", false)});
}

TEST_F(HostilePackages, HardlinkLeadingOutIsRefused)
{
    ExpectRefused({FileEntry("Demo/Demo.ini", kGoodIni),
                   LinkEntry("Demo/cfg", QFile::encodeName(prog(QStringLiteral("config.ini"))), true),
                   LinkEntry("Demo/other", "Other/Other.ini", true)});
}

TEST_F(HostilePackages, DeviceFilesAreRefused)
{
    ExpectRefused({FileEntry("Demo/Demo.ini", kGoodIni), SpecialEntry("Demo/null", AE_IFCHR),
                   SpecialEntry("Demo/disk", AE_IFBLK)});
}

TEST_F(HostilePackages, FifoIsRefused)
{
    ExpectRefused({FileEntry("Demo/Demo.ini", kGoodIni), SpecialEntry("Demo/pipe", AE_IFIFO)});
}

TEST_F(HostilePackages, ControlCharacterNamesAreRefused)
{
    ExpectRefused({FileEntry("Demo/Demo.ini", kGoodIni), FileEntry("Demo/a\nb.txt", "x"),
                   FileEntry("Demo/\x1b]0;title\x07", "x")});
}

TEST_F(HostilePackages, TruncatedPackageIsRefused)
{
    QByteArray big;
    for (int i = 0; big.size() < 100000; ++i)
        big += "Rem " + QByteArray::number(i * 7919 % 100003) + "\r\n";
    ASSERT_TRUE(WriteArchive(pkg(), {FileEntry("Demo/Demo.ini", kGoodIni), FileEntry("Demo/main.vbs", big)},
                             ArchiveFormat::Zip));
    ASSERT_TRUE(TruncateFile(pkg(), QFileInfo(pkg()).size() * 2 / 3));
    ExpectRefusedPackage();
}

TEST_F(HostilePackages, CorruptPackageIsRefused)
{
    QByteArray big;
    for (int i = 0; big.size() < 100000; ++i)
        big += "Rem " + QByteArray::number(i * 7919 % 100003) + "\r\n";
    ASSERT_TRUE(WriteArchive(pkg(), {FileEntry("Demo/Demo.ini", kGoodIni), FileEntry("Demo/main.vbs", big)},
                             ArchiveFormat::Zip));
    ASSERT_TRUE(CorruptFile(pkg(), QFileInfo(pkg()).size() / 2, 64));
    ExpectRefusedPackage();
}

TEST_F(HostilePackages, FileThatIsNoArchiveIsRefused)
{
    QFile f(pkg());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("PK\x03\x04 this is no package at all");
    f.close();
    ExpectRefusedPackage();
}

// An installed version of the app: registered, with the user's answer to the
// page prompt and files of its own.
class InstalledDemo : public HostilePackages
{
protected:
    void SetUp() override
    {
        HostilePackages::SetUp();
        folder.writeBytes(QStringLiteral("Apps\\Apps.ini"),
                          "[Apps]\r\nCount=2\r\napp1=Other\\Other.ini\r\napp2=Demo\\Demo.ini\r\n");
        folder.writeBytes(QStringLiteral("Apps\\Demo\\Demo.ini"), kGoodIni);
        folder.writeBytes(QStringLiteral("Apps\\Demo\\u.txt"), "http://old.example/\r\n");
        folder.writeBytes(QStringLiteral("Apps\\Demo\\stale.txt"), "only in the old version");
        folder.writeBytes(QStringLiteral("Apps\\Demo\\pic\\icon.bmp"), QByteArray("BM\0\1\2\3", 6));
    }
};

TEST_F(InstalledDemo, CorruptUpdateKeepsTheOldAppByteForByte)
{
    QByteArray big;
    for (int i = 0; big.size() < 100000; ++i)
        big += "Rem " + QByteArray::number(i) + "\r\n";
    ASSERT_TRUE(WriteArchive(pkg(), {FileEntry("Demo/Demo.ini", "[App]\r\nName=New\r\n"), FileEntry("Demo/u.txt", "new"),
                                     FileEntry("Demo/main.vbs", big)},
                             ArchiveFormat::Zip));
    ASSERT_TRUE(CorruptFile(pkg(), QFileInfo(pkg()).size() / 2, 64));
    ExpectRefusedPackage();
}

TEST_F(InstalledDemo, RefusedUpdateKeepsTheOldAppByteForByte)
{
    ExpectRefused({FileEntry("Demo/Demo.ini", "[App]\r\nName=New\r\n"), FileEntry("Demo/u.txt", "new"),
                   LinkEntry("Demo/stale.txt", QFile::encodeName(outside.path()), false)});
}

TEST_F(InstalledDemo, UpdateReplacesTheWholeFolder)
{
    ASSERT_TRUE(WriteArchive(pkg(), {FolderEntry("Demo/"), FileEntry("Demo/Demo.ini", "[App]\r\nName=Demo 2\r\n"),
                                     FileEntry("Demo/u.txt", "http://new.example/\r\n")}));
    Install(pkg());
    EXPECT_TRUE(boxes.asked().isEmpty());
    EXPECT_EQ(folder.readBytes(QStringLiteral("Apps\\Demo\\Demo.ini")),
              QByteArray("[App]\r\nName=Demo 2\r\nAllowedExt=0\r\n"));
    EXPECT_EQ(folder.readBytes(QStringLiteral("Apps\\Demo\\u.txt")), QByteArray("http://new.example/\r\n"));
    EXPECT_FALSE(QFileInfo::exists(prog(QStringLiteral("Apps/Demo/stale.txt"))));
    EXPECT_FALSE(QFileInfo::exists(prog(QStringLiteral("Apps/Demo/pic"))));
    // No staging folder stays behind, the registry and the other app are untouched.
    EXPECT_EQ(QDir(prog(QStringLiteral("Apps"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList({QStringLiteral("Apps.ini"), QStringLiteral("Demo"), QStringLiteral("Other")}));
    EXPECT_EQ(folder.readBytes(QStringLiteral("Apps\\Apps.ini")),
              QByteArray("[Apps]\r\nCount=2\r\napp1=Other\\Other.ini\r\napp2=Demo\\Demo.ini\r\n"));
    EXPECT_EQ(folder.readBytes(QStringLiteral("Apps\\Other\\Other.ini")),
              QByteArray("[App]\r\nName=Other\r\nAllowedExt=1\r\n"));
}

TEST_F(HostilePackages, EveryInstallLeavesAllowedExtAtZero)
{
    const QString ini = prog(QStringLiteral("Apps/Demo/Demo.ini"));
    ASSERT_TRUE(WriteArchive(pkg(), {FileEntry("Demo/Demo.ini", kGoodIni), FileEntry("Demo/u.txt", "about:blank")}));
    Install(pkg());
    EXPECT_TRUE(boxes.asked().isEmpty());
    EXPECT_EQ(ReadIni(QStringLiteral("App"), QStringLiteral("AllowedExt"), ini), QStringLiteral("0"));
    EXPECT_EQ(folder.readBytes(QStringLiteral("Apps\\Apps.ini")),
              QByteArray("[Apps]\r\nCount=2\r\napp1=Other\\Other.ini\r\napp2=Demo\\Demo.ini\r\n"));

    // The user grants the page; the same package again asks afresh.
    WriteIni(QStringLiteral("App"), QStringLiteral("AllowedExt"), QStringLiteral("1"), GetAppPath() + QStringLiteral("Apps\\Demo\\Demo.ini"));
    Install(pkg());
    EXPECT_EQ(ReadIni(QStringLiteral("App"), QStringLiteral("AllowedExt"), ini), QStringLiteral("0"));

    // A package without the key gets it.
    ASSERT_TRUE(WriteArchive(pkg(), {FileEntry("Demo/Demo.ini", "[App]\r\nName=Demo\r\n")}));
    Install(pkg());
    EXPECT_EQ(folder.readBytes(QStringLiteral("Apps\\Demo\\Demo.ini")), QByteArray("[App]\r\nName=Demo\r\nAllowedExt=0\r\n"));
    EXPECT_EQ(folder.readBytes(QStringLiteral("Apps\\Apps.ini")),
              QByteArray("[Apps]\r\nCount=2\r\napp1=Other\\Other.ini\r\napp2=Demo\\Demo.ini\r\n"));
    EXPECT_TRUE(boxes.asked().isEmpty());
}

TEST_F(HostilePackages, AppFolderThatIsALinkIsReplacedNotFollowed)
{
    QFile victim(outside.path() + QStringLiteral("/Demo.ini"));
    ASSERT_TRUE(victim.open(QIODevice::WriteOnly));
    victim.write("[App]\r\nName=Outside\r\n");
    victim.close();
    ASSERT_TRUE(QFile::link(outside.path(), prog(QStringLiteral("Apps/Demo"))));
    ASSERT_TRUE(WriteArchive(pkg(), {FileEntry("Demo/Demo.ini", kGoodIni)}));
    const auto besidePackage = Tree(outside.path());
    Install(pkg());
    EXPECT_TRUE(boxes.asked().isEmpty());
    EXPECT_FALSE(QFileInfo(prog(QStringLiteral("Apps/Demo"))).isSymLink());
    EXPECT_EQ(ReadIni(QStringLiteral("App"), QStringLiteral("Name"), prog(QStringLiteral("Apps/Demo/Demo.ini"))),
              QStringLiteral("Demo"));
    EXPECT_EQ(Tree(outside.path()), besidePackage);
}

// Registry entries that do not name <name>\<name>.ini inside "Apps\": the
// files they point at exist and would run on load or be deleted.
class HostileRegistry : public HostilePackages
{
protected:
    void SetUp() override
    {
        HostilePackages::SetUp();
        const QByteArray onLoad = "[App]\r\nName=Victim\r\nType=url\r\nUrl=u.txt\r\nOnLoad=1\r\nAbout=au\r\n";
        folder.writeBytes(QStringLiteral("u.txt"), "http://hostile.example/");
        folder.writeBytes(QStringLiteral("Victim\\Victim.ini"), onLoad);
        folder.writeBytes(QStringLiteral("Apps\\Victim\\Other.ini"), onLoad);
        folder.writeBytes(QStringLiteral("Apps\\Victim\\Sub\\Other.ini"), onLoad);
    }
};

TEST_F(HostileRegistry, EntriesOfTheWrongFormAreNeitherRunNorUninstalled)
{
    const QByteArray entries[] = {
        "..\\Victim\\Victim.ini",          // leads out of "Apps\"
        "Victim\\Other.ini",               // another ini than the folder's own
        "Victim",                          // a folder, no ini
        "Victim\\Sub\\Other.ini",          // deeper than <name>\<name>.ini
        "Victim\\..\\Victim\\Other.ini",   // ".." inside
        "/Victim\\Victim.ini",             // absolute
        "Victim/Victim.ini",               // not the stored form
    };
    for (const QByteArray &entry : entries) {
        const QByteArray registry = "[Apps]\r\nCount=1\r\napp1=" + entry + "\r\n";
        folder.writeBytes(QStringLiteral("Apps\\Apps.ini"), registry);
        const auto before = Tree(folder.path());
        host.navigations.clear();
        RunLoadApps();
        EXPECT_TRUE(host.navigations.isEmpty()) << entry.constData();
        EXPECT_EQ(AppIniPath(1), QString()) << entry.constData();
        EXPECT_EQ(GetAppAbout(1), QString()) << entry.constData();
        DelApp(1);
        EXPECT_EQ(Tree(folder.path()), before) << entry.constData();
    }
}

TEST_F(HostileRegistry, WellFormedEntriesStillRunAndUninstall)
{
    folder.writeBytes(QStringLiteral("Apps\\Victim\\Victim.ini"),
                      "[App]\r\nName=Victim\r\nType=url\r\nUrl=u.txt\r\nOnLoad=1\r\nAbout=au\r\n");
    folder.writeBytes(QStringLiteral("Apps\\Apps.ini"), "[Apps]\r\nCount=2\r\napp1=..\\Victim\\Victim.ini\r\napp2=Victim\\Victim.ini\r\n");
    RunLoadApps();
    EXPECT_EQ(host.navigations, QStringList(QStringLiteral("http://hostile.example/\r\n")));
    EXPECT_EQ(GetAppAbout(2), QStringLiteral("au"));
    DelApp(2);
    EXPECT_FALSE(QFileInfo::exists(prog(QStringLiteral("Apps/Victim"))));
    EXPECT_TRUE(QFileInfo::exists(prog(QStringLiteral("Victim/Victim.ini"))));
    EXPECT_EQ(folder.readBytes(QStringLiteral("Apps\\Apps.ini")), QByteArray("[Apps]\r\nCount=1\r\napp1=..\\Victim\\Victim.ini\r\n"));
}

} // namespace
