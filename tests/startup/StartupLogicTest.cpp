#include "Files.h"
#include "InstanceChannel.h"
#include "ProgramFolder.h"
#include "StartupLogic.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class StartupLogicTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        setProgramFolderOverride(m_dir.path());
    }
    void TearDown() override { setProgramFolderOverride(QString()); }
    QTemporaryDir m_dir;
};

} // namespace

TEST(CommandLineForms, ExtensionTestsLookAtTheUnchangedText)
{
    struct Case
    {
        const char *cmd;
        CommandKind kind;
    } cases[] = {
        {"", CommandKind::Empty},
        {"/home/u/a.vkt", CommandKind::Bookmark},
        {"a.VKT", CommandKind::Address}, // case-sensitive
        {"\"/home/u/a.vkt\"", CommandKind::Address}, // a quoted path ends in a quote
        {"/tmp/demo.zelp", CommandKind::Package},
        {"\"/tmp/demo.zelp\"", CommandKind::Address},
        {"https://example.com/", CommandKind::Address},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ClassifyCommandLine(QString::fromUtf8(c.cmd)), c.kind) << c.cmd;
}

TEST(CommandLineForms, StripRemovesQuotesAndPercentOne)
{
    EXPECT_EQ(StripArgument(QStringLiteral("\"%1\"")), QString());
    EXPECT_EQ(StripArgument(QStringLiteral("\"http://a/b?x=%1\" ")), QStringLiteral("http://a/b?x= "));
    EXPECT_EQ(StripArgument(QStringLiteral("\"/t/a b.html\"")), QStringLiteral("/t/a b.html"));
}

TEST_F(StartupLogicTest, ForwardedRequests)
{
    EXPECT_EQ(ForwardedCommand(QString()), QStringLiteral("OpenNew"));

    // A bookmark is read by the sending start and sent with its line break.
    const QString vkt = m_dir.filePath(QStringLiteral("site.vkt"));
    WriteBytes(vkt, "http://example.com/\r\n");
    EXPECT_EQ(ForwardedCommand(vkt), QStringLiteral("DDEOpen") + QStringLiteral("http://example.com/\r\n"));

    EXPECT_EQ(ForwardedCommand(QStringLiteral("\"http://a.cn/\"")), QStringLiteral("DDEOpenhttp://a.cn/"));

    // A relative path naming an existing file reaches the running browser absolute.
    const QString old = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
    WriteBytes(m_dir.filePath(QStringLiteral("app.zelp")), "x");
    EXPECT_EQ(ForwardedCommand(QStringLiteral("app.zelp")),
              QStringLiteral("DDEOpen") + QDir(m_dir.path()).absoluteFilePath(QStringLiteral("app.zelp")));
    EXPECT_EQ(ForwardedCommand(QStringLiteral("missing.html")), QStringLiteral("DDEOpenmissing.html"));
    QDir::setCurrent(old);
}

TEST_F(StartupLogicTest, LaterStartNeedsTheSettingsAndARunningInstance)
{
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    const QString service = QStringLiteral("StartupLogicTest|Brw");
    const QString config = m_dir.filePath(QStringLiteral("config.ini"));
    WriteBytes(config, "[Setting]\r\nOnOpen=1\r\n");

    EXPECT_FALSE(IsLaterStart(service)); // nobody runs: this start becomes the instance
    {
        InstanceChannel first(service);
        ASSERT_TRUE(first.listen());
        EXPECT_TRUE(IsLaterStart(service));
        // Without its settings a start ends with its own message, never forwards.
        ASSERT_TRUE(QFile::remove(config));
        EXPECT_FALSE(IsLaterStart(service));
        WriteBytes(config, "[Setting]\r\n");
        EXPECT_TRUE(IsLaterStart(service));
    }
    EXPECT_FALSE(IsLaterStart(service)); // the instance has ended
    qputenv("XDG_RUNTIME_DIR", oldRuntime);
}

TEST_F(StartupLogicTest, ZoomSettingFallsBackTo100)
{
    struct Case
    {
        QByteArray stored;
        int zoom;
    } cases[] = {{"150", 150}, {"", 100}, {"abc", 100}, {" 75 ", 75}, {"&H4B", 75}};
    for (const auto &c : cases) {
        WriteBytes(m_dir.filePath(QStringLiteral("config.ini")), "[Setting]\r\nZoom=" + c.stored + "\r\n");
        EXPECT_EQ(ZoomSetting(), c.zoom) << c.stored.constData();
    }
}

TEST_F(StartupLogicTest, LastPageComesBackExactlyThroughTheGbkSettingsFile)
{
    WriteBytes(m_dir.filePath(QStringLiteral("config.ini")), "[Setting]\r\nOnOpen=2\r\n");
    const QString pages[] = {
        QStringLiteral("https://ko.wikipedia.org/wiki/한국어"),               // not in GBK
        QStringLiteral("https://example.com/😀?q=a b&c=%2F#frag"),            // emoji, space, an escape kept
        QStringLiteral("http://例子.测试/路径?查询=值"),                        // international host
        QStringLiteral("https://example.com/") + QString(400, QLatin1Char('x')), // longer than any buffer
        QStringLiteral("about:nav"),
    };
    for (const QString &page : pages) {
        const QUrl shown(page);
        WriteSet(QStringLiteral("LastPage"), StoredPageAddress(shown.toString()));
        const QString stored = ReadSet(QStringLiteral("LastPage"));
        EXPECT_FALSE(stored.contains(QStringLiteral("??"))) << qPrintable(page);
        EXPECT_EQ(QUrl(stored), shown) << qPrintable(page) << " stored as " << qPrintable(stored);
    }
    // Text that is no address stays as it is.
    EXPECT_EQ(StoredPageAddress(QString()), QString());
    EXPECT_EQ(StoredPageAddress(QStringLiteral("中文")), QStringLiteral("中文"));
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
