// Downloads offered by hostile pages: the request the browser hands to Dunmora
// carries exactly the chosen target whatever the address holds, the save
// dialog never replaces a file silently nor starts in the program folder, and
// the extension is the name's last one.
#include "AppControl.h"
#include "DownloadRequest.h"
#include "DwnHandOff.h"
#include "DwnRequest.h"
#include "FakeFileDialogs.h"
#include "FakeMessageBoxes.h"
#include "FakeProcesses.h"
#include "Files.h"
#include "InstanceChannel.h"
#include "TestProgramFolder.h"
#include "WebFileDialog.h"
#include "clsCdlg.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QUrl>

#include <atomic>
#include <mutex>
#include <ostream>

// Failures show texts as text (long ones cut).
void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << (s.size() > 200 ? s.left(200) + QStringLiteral("...") : s).toStdString() << '"';
}

namespace {

struct Hostile
{
    const char *name;
    QString url;
    QString target;
};

QString longQuery(int n)
{
    QString q = QStringLiteral("http://h/get?");
    while (q.size() < n)
        q += QStringLiteral("k=%E4%B8%AD&x=@@/etc/passwd&");
    return q;
}

QList<Hostile> hostileRequests()
{
    return {
        {"separator in the path", QStringLiteral("http://h/f.bin@@/some/where"), QStringLiteral("/home/u/Downloads/where")},
        {"separator in the query", QStringLiteral("http://h/f?a=1@@/etc/cron.d/x"), QStringLiteral("/d/x")},
        {"runs of @", QStringLiteral("http://h/@@@x@@@@y"), QStringLiteral("/d/y")},
        {"address ends in @", QStringLiteral("http://h/f@"), QStringLiteral("@/d/f")},
        {"lone @ stays", QStringLiteral("http://user@h/@name/f"), QStringLiteral("/d/f")},
        {"quotes and blanks", QStringLiteral("http://h/\"a b\"/'c'"), QStringLiteral("/d/\"my file\" 'x'.bin")},
        {"percent signs", QStringLiteral("http://h/100%25/%40%40/%zz"), QStringLiteral("/d/100%.bin")},
        {"line breaks and tabs", QStringLiteral("http://h/a\r\nb\tc@@\n/x"), QStringLiteral("/d/a b")},
        {"non-ASCII", QStringLiteral("http://h/下载/文件.zip?名=值@@/tmp/x"), QStringLiteral("/d/下载 文件.zip")},
        {"target holding the separator", QStringLiteral("http://h/f.zip"), QStringLiteral("/d/a@@b@@/etc/x.zip")},
        {"very long query", longQuery(100000), QStringLiteral("/d/long.bin")},
    };
}

// Two texts name the same address when they are equal once every
// percent-escape is decoded.
QString decoded(const QString &url)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(url.toUtf8()));
}

TEST(HostileRequest, DunmoraReadsBackExactlyTheTargetAndTheSameAddress)
{
    for (const Hostile &h : hostileRequests()) {
        SCOPED_TRACE(h.name);
        const QString request = JoinDownloadRequest(h.url, h.target);
        const DwnRequest r = ParseDwnRequest(request);
        ASSERT_TRUE(r.hasDownload);
        EXPECT_FALSE(r.show);
        EXPECT_EQ(r.path, h.target);
        EXPECT_EQ(decoded(r.url), decoded(h.url));
        EXPECT_FALSE(r.url.contains(QStringLiteral("@@")));
        EXPECT_FALSE(r.url.contains(QLatin1Char('\n')) || r.url.contains(QLatin1Char('\r')));
    }
}

TEST(HostileRequest, WellFormedRequestsPassUnchanged)
{
    const QString urls[] = {QStringLiteral("http://h/a.zip"), QStringLiteral("http://user:pw@h/a%20b.zip?q=%40"),
                            QStringLiteral("https://h/@name/中文.exe"), QStringLiteral("ftp://h/x")};
    for (const QString &url : urls) {
        const QString request = JoinDownloadRequest(url, QStringLiteral("/tmp/a b.zip"));
        EXPECT_EQ(request, url + QStringLiteral("@@/tmp/a b.zip"));
        const DwnRequest r = ParseDwnRequest(request);
        EXPECT_EQ(r.url, url);
        EXPECT_EQ(r.path, QStringLiteral("/tmp/a b.zip"));
    }
    EXPECT_TRUE(ParseDwnRequest(QStringLiteral("sHoW")).show);
    EXPECT_FALSE(ParseDwnRequest(QStringLiteral("http://h/no-separator")).hasDownload);
}

class HandOff : public ::testing::Test
{
protected:
    void SetUp() override { folder.writeBytes(QStringLiteral("Dunmora"), "#!/bin/sh\n"); }

    // The request as Dunmora's command line gives it back.
    DwnRequest received(int start) const
    {
        const QStringList args = processes.starts().at(start).arguments;
        return ParseDwnRequest(DwnCommandLine(QStringList{QStringLiteral("Dunmora")} + args));
    }

    TestProgramFolder folder;
    FakeProcesses processes;
};

TEST_F(HandOff, TheBrowserAndItsAppsHandDunmoraOneArgumentWithTheChosenTarget)
{
    for (const Hostile &h : hostileRequests()) {
        SCOPED_TRACE(h.name);
        const int n = int(processes.starts().size());
        ASSERT_TRUE(HandDownloadToDunmora(h.url, h.target));
        ASSERT_EQ(processes.starts().size(), n + 1);
        EXPECT_EQ(processes.starts().at(n).program, QDir(folder.path()).filePath(QStringLiteral("Dunmora")));
        ASSERT_EQ(processes.starts().at(n).arguments.size(), 1);
        const DwnRequest r = received(n);
        EXPECT_EQ(r.path, h.target);
        EXPECT_EQ(decoded(r.url), decoded(h.url));
    }

    // An app's download takes the same road.
    const int n = int(processes.starts().size());
    AppControl app;
    app.NewDownload(QStringLiteral("http://h/f.bin@@/some/where"), QStringLiteral("/d/f.bin"));
    ASSERT_EQ(processes.starts().size(), n + 1);
    EXPECT_EQ(received(n).path, QStringLiteral("/d/f.bin"));
}

TEST_F(HandOff, ARequestNoArgumentCarriesGoesOverDunmorasChannel)
{
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));

    // A running Dunmora, serving on a thread of its own while the hand-off waits.
    std::mutex lock;
    QStringList got;
    QThread thread;
    struct Stop
    {
        QThread &t;
        ~Stop()
        {
            t.quit();
            t.wait();
        }
    } stop{thread};
    auto *channel = new InstanceChannel(QStringLiteral("Dunmora|Dwn"));
    channel->moveToThread(&thread);
    QObject::connect(&thread, &QThread::finished, channel, &QObject::deleteLater);
    QObject::connect(channel, &InstanceChannel::requestReceived, channel, [&](const QString &text) {
        std::lock_guard<std::mutex> g(lock);
        got << text;
    }, Qt::DirectConnection);
    std::atomic<bool> listening{false};
    QObject::connect(&thread, &QThread::started, channel, [&] { listening = channel->listen(); });
    thread.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return listening.load(); }, 5000));

    const QString url = longQuery(kMaxDwnArgumentBytes + 100);
    const QString target = QStringLiteral("/d/long@@.bin");
    EXPECT_TRUE(HandDownloadToDunmora(url, target));
    ASSERT_EQ(processes.starts().size(), 1);
    EXPECT_EQ(processes.starts().at(0).arguments, QStringList{QStringLiteral("Show")});
    ASSERT_TRUE(QTest::qWaitFor([&] {
        std::lock_guard<std::mutex> g(lock);
        return !got.isEmpty();
    }, 5000));
    {
        std::lock_guard<std::mutex> g(lock);
        const DwnRequest r = ParseDwnRequest(got.first());
        EXPECT_EQ(r.path, target);
        EXPECT_EQ(decoded(r.url), decoded(url));
    }

    // Beyond what the channel takes, nothing is handed over.
    EXPECT_FALSE(HandDownloadToDunmora(longQuery(InstanceChannel::kMaxCommandBytes + 10), target));
    EXPECT_EQ(processes.starts().size(), 1);
    // A path no argument can carry is refused rather than cut.
    EXPECT_FALSE(HandDownloadToDunmora(QStringLiteral("http://h/f"), QStringLiteral("/d/a") + QChar(0) + QStringLiteral("/../x")));
    EXPECT_EQ(processes.starts().size(), 1);
    qputenv("XDG_RUNTIME_DIR", oldRuntime);
}

// The whole road: the hand-off's argument started as Dunmora itself, against
// a loopback server. The link names a second folder after "@@".
TEST_F(HandOff, DunmoraWritesOnlyTheChosenTarget)
{
    QTemporaryDir chosen, elsewhere, runtime;
    ASSERT_TRUE(chosen.isValid() && elsewhere.isValid() && runtime.isValid());
    QProcess server;
    server.start(QStringLiteral(DWN_HTTP_SERVER), {QStringLiteral("0")});
    ASSERT_TRUE(server.waitForStarted(5000));
    int port = 0;
    while (port == 0 && (server.canReadLine() || server.waitForReadyRead(5000))) {
        const QByteArray line = server.readLine().trimmed();
        if (line.startsWith("PORT "))
            port = line.mid(5).toInt();
    }
    ASSERT_GT(port, 0);

    const QString evil = elsewhere.filePath(QStringLiteral("evil.bin"));
    const QString url = QStringLiteral("http://127.0.0.1:%1/bytes/300?f=@@").arg(port) + evil;
    const QString target = chosen.filePath(QStringLiteral("f@@x.bin"));
    ASSERT_TRUE(HandDownloadToDunmora(url, target));
    ASSERT_EQ(processes.starts().size(), 1);

    QProcess dunmora;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    dunmora.setProcessEnvironment(env);
    dunmora.start(QStringLiteral(DUNMORA), processes.starts().at(0).arguments);
    ASSERT_TRUE(dunmora.waitForStarted(5000));
    const bool arrived = QTest::qWaitFor([&] { return QFileInfo(target).size() == 300; }, 10000);
    dunmora.kill();
    dunmora.waitForFinished(3000);
    server.closeWriteChannel();
    server.waitForFinished(2000);

    EXPECT_TRUE(arrived);
    EXPECT_FALSE(QFileInfo::exists(evil));
    EXPECT_TRUE(QDir(elsewhere.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden).isEmpty());
    QByteArray pattern(300, Qt::Uninitialized);
    for (int i = 0; i < 300; ++i)
        pattern[i] = char(i % 251);
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), pattern);
}

TEST(HostileSaveDialog, ExtensionIsTheNamesLast)
{
    const struct { const char *name, *ext; } cases[] = {
        {"a.tar.gz", "gz"}, {"setup.exe", "exe"}, {"README", ""}, {"f=a.zip", "zip"},
        {".bashrc", "bashrc"}, {"a.", ""}, {"x.b@@c", "b@@c"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(DownloadExtension(QString::fromUtf8(c.name)), QString::fromUtf8(c.ext)) << c.name;
}

class SaveDialog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        oldHome = qgetenv("HOME");
        oldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", QFile::encodeName(home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral(".config"))));
        folder.writeText(QStringLiteral("config.ini"), QStringLiteral("[Setting]\r\nAutoDownload=1\r\n"));
    }
    void TearDown() override
    {
        qputenv("HOME", oldHome);
        qputenv("XDG_CONFIG_HOME", oldConfig);
    }
    QString existing(const QString &name)
    {
        const QString path = home.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write("old");
        return path;
    }

    QTemporaryDir home;
    QByteArray oldHome, oldConfig;
    TestProgramFolder folder;
    FakeFileDialogs dialogs;
    FakeMessageBoxes boxes;
};

TEST_F(SaveDialog, StartsInTheDownloadFolderNeverInTheProgramFolder)
{
    dialogs.queueAnswer(QString());
    EXPECT_EQ(ChooseDownloadTarget(nullptr, QStringLiteral("config.ini")), QString());
    ASSERT_EQ(dialogs.asked().size(), 1);
    EXPECT_EQ(QDir(dialogs.asked().at(0).folder), QDir(home.path())); // no download folder: home
    EXPECT_NE(QDir(dialogs.asked().at(0).folder), QDir(GetAppPath()));

    ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("Downloads")));
    dialogs.queueAnswer(QString());
    ChooseDownloadTarget(nullptr, QStringLiteral("config.ini"));
    ASSERT_EQ(dialogs.asked().size(), 2);
    EXPECT_EQ(QDir(dialogs.asked().at(1).folder), QDir(home.filePath(QStringLiteral("Downloads"))));
    EXPECT_EQ(dialogs.asked().at(1).title, QStringLiteral("新建下载"));
    EXPECT_EQ(dialogs.asked().at(1).initialName, QStringLiteral("config.ini"));
    EXPECT_EQ(dialogs.asked().at(1).filter, QStringLiteral("ini 文件") + QChar(0) + QStringLiteral("*.ini"));
}

TEST_F(SaveDialog, AnExistingTargetIsReplacedOnlyWhenTheUserSaysSo)
{
    const QString old = existing(QStringLiteral("config.ini"));

    // Typed without its extension, the target still names the existing file: asked; No shows the dialog again.
    dialogs.queueAnswer(home.filePath(QStringLiteral("config")));
    dialogs.queueAnswer(home.filePath(QStringLiteral("fresh")));
    boxes.queueAnswer(MsgAnswer::No);
    EXPECT_EQ(ChooseDownloadTarget(nullptr, QStringLiteral("config.ini")), home.filePath(QStringLiteral("fresh.ini")));
    ASSERT_EQ(boxes.asked().size(), 1);
    EXPECT_EQ(boxes.asked().at(0).title, QStringLiteral("确认另存为"));
    EXPECT_EQ(boxes.asked().at(0).text, old + QStringLiteral(" 已存在。\r\n要替换它吗？"));
    EXPECT_EQ(boxes.asked().at(0).buttons, MsgButtons::YesNo);
    EXPECT_EQ(boxes.asked().at(0).icon, MsgIcon::Exclamation);
    EXPECT_TRUE(boxes.asked().at(0).secondIsDefault); // Enter alone says No
    ASSERT_EQ(dialogs.asked().size(), 2);
    EXPECT_EQ(dialogs.asked().at(1).initialName, QStringLiteral("config.ini"));
    EXPECT_EQ(QDir(dialogs.asked().at(1).folder), QDir(home.path()));

    // Yes replaces; a name that is free is not asked about.
    boxes.clear();
    dialogs.queueAnswer(old);
    boxes.queueAnswer(MsgAnswer::Yes);
    EXPECT_EQ(ChooseDownloadTarget(nullptr, QStringLiteral("config.ini")), old);
    EXPECT_EQ(boxes.asked().size(), 1);

    // A link left where the file would go counts as a file, even when it leads nowhere.
    boxes.clear();
    const QString link = home.filePath(QStringLiteral("dangling.ini"));
    ASSERT_TRUE(QFile::link(home.filePath(QStringLiteral("nowhere")), link));
    dialogs.queueAnswer(link);
    boxes.queueAnswer(MsgAnswer::No);
    EXPECT_EQ(ChooseDownloadTarget(nullptr, QStringLiteral("config.ini")), QString()); // then cancelled
    EXPECT_EQ(boxes.asked().size(), 1);

    // Closing the question box is a No, and a cancelled dialog starts nothing.
    boxes.clear();
    dialogs.queueAnswer(old);
    boxes.setDefaultAnswer(MsgAnswer::No);
    EXPECT_EQ(ChooseDownloadTarget(nullptr, QStringLiteral("config.ini")), QString());
    QFile f(old);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("old"));
}

TEST_F(SaveDialog, TheEnginesOwnSaveDialogAsksTheSame)
{
    const QString old = existing(QStringLiteral("page.html"));
    QStringList offered;
    QStringList answers{old, old};
    WebFileDialog::setSaveFunction([&](QWidget *, const QString &, const QString &suggested) {
        offered << suggested;
        return answers.isEmpty() ? QString() : answers.takeFirst();
    });
    boxes.queueAnswer(MsgAnswer::No);
    boxes.queueAnswer(MsgAnswer::Yes);
    EXPECT_EQ(WebFileDialog::getSaveFileName(nullptr, QStringLiteral("另存为"), QStringLiteral("page.html")), old);
    WebFileDialog::setSaveFunction(nullptr);
    EXPECT_EQ(boxes.asked().size(), 2);
    EXPECT_EQ(offered, QStringList({QStringLiteral("page.html"), old}));
}

} // namespace
