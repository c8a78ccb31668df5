// Several processes writing one settings file (two browsers on one program
// folder, the browser and an app's script) never lose each other's keys, and
// a writer killed halfway leaves nothing that the next write keeps.
#include "Files.h"
#include "Gbk.h"
#include "IniFile.h"
#include "ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include <sys/stat.h>

namespace {

class SettingsLockTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_ini = m_dir.filePath(QStringLiteral("config.ini"));
        write(m_ini, Gbk::encode(QStringLiteral("[Setting]\r\nOnOpen=1\r\nHomePage=http://127.0.0.1/首页\r\n"
                                                "[Theme]\r\nTheme=默认.ini\r\n")));
    }

    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    // The names in the folder, joined by blanks.
    std::string entries() const
    {
        return QDir(m_dir.path())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)
            .join(QLatin1Char(' '))
            .toStdString();
    }

    std::unique_ptr<QProcess> writer(const QStringList &args)
    {
        auto p = std::make_unique<QProcess>();
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(QStringLiteral(SETTINGS_WRITER), args);
        return p;
    }

    QTemporaryDir m_dir;
    QString m_ini;
};

TEST_F(SettingsLockTest, WritersOfOneIniKeepEveryKey)
{
    constexpr int kKeys = 80;
    std::vector<std::unique_ptr<QProcess>> writers;
    writers.push_back(writer({QStringLiteral("ini"), m_ini, QStringLiteral("Setting"), QStringLiteral("A"),
                              QString::number(kKeys)}));
    writers.push_back(writer({QStringLiteral("ini"), m_ini, QStringLiteral("Setting"), QStringLiteral("B"),
                              QString::number(kKeys)}));
    writers.push_back(writer({QStringLiteral("ini"), m_ini, QStringLiteral("应用"), QStringLiteral("C"),
                              QString::number(kKeys)}));
    // This process writes as well, meanwhile.
    for (int i = 0; i < kKeys; ++i)
        WriteIni(QStringLiteral("Setting"), QStringLiteral("D%1").arg(i), QStringLiteral("值D%1").arg(i), m_ini);
    for (auto &p : writers) {
        ASSERT_TRUE(p->waitForFinished(60000));
        ASSERT_EQ(p->exitCode(), 0);
    }

    const QByteArray content = read(m_ini);
    int lost = 0;
    for (int i = 0; i < kKeys; ++i) {
        for (const char *prefix : {"A", "B", "C", "D"}) {
            const QString key = QLatin1String(prefix) + QString::number(i);
            const QString section = QLatin1String(prefix) == QLatin1String("C") ? QStringLiteral("应用")
                                                                                 : QStringLiteral("Setting");
            bool found = false;
            const QByteArray value = IniFile::readRaw(content, section, key, &found);
            if (!found || Gbk::decode(value) != QStringLiteral("值") + key)
                ++lost;
        }
    }
    EXPECT_EQ(lost, 0);
    EXPECT_EQ(ReadIni(QStringLiteral("Setting"), QStringLiteral("HomePage"), m_ini).toStdString(),
              "http://127.0.0.1/首页");
    EXPECT_EQ(ReadIni(QStringLiteral("Theme"), QStringLiteral("Theme"), m_ini).toStdString(), "默认.ini");
    EXPECT_EQ(content.count("[Setting]"), 1);
    EXPECT_EQ(content.count(Gbk::encode(QStringLiteral("[应用]"))), 1);
    EXPECT_EQ(entries(), "config.ini");
}

TEST_F(SettingsLockTest, BrowsersOnOneFolderKeepEveryTypedAddress)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("Data")));
    constexpr int kEntries = 60;
    auto first = writer({QStringLiteral("history"), m_dir.path(), QStringLiteral("http://a.example/"),
                         QString::number(kEntries)});
    auto second = writer({QStringLiteral("history"), m_dir.path(), QStringLiteral("http://b.example/"),
                          QString::number(kEntries)});
    ASSERT_TRUE(first->waitForFinished(60000));
    ASSERT_TRUE(second->waitForFinished(60000));

    setProgramFolderOverride(m_dir.path());
    const QStringList got = GetInputHis(QString()).split(QStringLiteral("@@"), Qt::SkipEmptyParts);
    setProgramFolderOverride(QString());
    QSet<QString> expected;
    for (int i = 0; i < kEntries; ++i)
        expected << QStringLiteral("http://a.example/%1").arg(i) << QStringLiteral("http://b.example/%1").arg(i);
    EXPECT_EQ(got.size(), expected.size());
    QStringList missing;
    for (const QString &e : expected) {
        if (!got.contains(e))
            missing << e;
    }
    EXPECT_EQ(missing.join(QLatin1Char(' ')).toStdString(), "");
    EXPECT_EQ(QDir(m_dir.filePath(QStringLiteral("Data"))).entryList(QDir::Files | QDir::Hidden).join(QLatin1Char(' ')).toStdString(),
              "InputHis.ini");
}

TEST_F(SettingsLockTest, TemporaryFileOfAKilledWriterIsTakenOver)
{
    // A large file (its last section grown), so that a write takes long
    // enough to be caught halfway.
    QByteArray big = read(m_ini);
    for (int i = 0; i < 40000; ++i)
        big += "Filler" + QByteArray::number(i) + "=" + QByteArray(80, 'x') + "\r\n";
    write(m_ini, big);
    ASSERT_EQ(::chmod(QFile::encodeName(m_ini).constData(), 0640), 0);

    bool leftover = false;
    for (int attempt = 0; attempt < 40 && !leftover; ++attempt) {
        auto spin = writer({QStringLiteral("spin"), m_ini, QStringLiteral("Setting")});
        ASSERT_TRUE(spin->waitForStarted(10000));
        // Killed while a temporary file stands beside the ini.
        const bool caught = QTest::qWaitFor([&] { return entries() != "config.ini"; }, 5000);
        spin->kill();
        spin->waitForFinished(10000);
        leftover = caught && entries() != "config.ini";
    }
    ASSERT_TRUE(leftover) << "no write was caught halfway";

    // The ini itself is whole: the old or the new contents, never a mix.
    bool found = false;
    IniFile::readRaw(read(m_ini), QStringLiteral("Theme"), QStringLiteral("Filler39999"), &found);
    EXPECT_TRUE(found);

    WriteIni(QStringLiteral("Setting"), QStringLiteral("After"), QStringLiteral("1"), m_ini);
    EXPECT_EQ(entries(), "config.ini");
    EXPECT_EQ(ReadIni(QStringLiteral("Setting"), QStringLiteral("After"), m_ini).toStdString(), "1");
    EXPECT_EQ(ReadIni(QStringLiteral("Setting"), QStringLiteral("HomePage"), m_ini).toStdString(),
              "http://127.0.0.1/首页");
    IniFile::readRaw(read(m_ini), QStringLiteral("Theme"), QStringLiteral("Filler39999"), &found);
    EXPECT_TRUE(found);
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(m_ini).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(SettingsLockTest, NothingBeyondTheIniIsWrittenThroughItsTemporaryName)
{
    QTemporaryDir outside;
    const QString victim = outside.filePath(QStringLiteral("victim"));
    const QString temp = m_ini + QStringLiteral(".tmp");
    // A symbolic link, then a second name of an outside file, in place of the
    // temporary file.
    for (const bool symbolic : {true, false}) {
        write(victim, "precious\n");
        QFile::remove(temp);
        if (symbolic)
            ASSERT_TRUE(QFile::link(victim, temp));
        else
            ASSERT_EQ(::link(QFile::encodeName(victim).constData(), QFile::encodeName(temp).constData()), 0);
        WriteIni(QStringLiteral("Setting"), QStringLiteral("Zoom"), symbolic ? QStringLiteral("150") : QStringLiteral("200"),
                 m_ini);
        EXPECT_EQ(read(victim), QByteArray("precious\n")) << symbolic;
        EXPECT_EQ(ReadIni(QStringLiteral("Setting"), QStringLiteral("Zoom"), m_ini).toStdString(),
                  symbolic ? "150" : "200");
        EXPECT_EQ(entries(), "config.ini") << symbolic;
    }
}

} // namespace
