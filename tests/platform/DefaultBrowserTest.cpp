#include "DefaultBrowser.h"
#include "MimeAppsList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class EnvVar
{
public:
    explicit EnvVar(const char *name) : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name)) {}
    ~EnvVar()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    bool m_had;
    QByteArray m_old;
};

// Each test gets a home of its own with the XDG folders inside it.
class DefaultBrowserTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.path() + QStringLiteral("/cfg")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.path() + QStringLiteral("/data")));
    }
    QString config() const { return m_home.path() + QStringLiteral("/cfg/mimeapps.list"); }
    QString desktop() const { return m_home.path() + QStringLiteral("/data/applications/tessivane.desktop"); }

    EnvVar m_homeVar{"HOME"}, m_configVar{"XDG_CONFIG_HOME"}, m_dataVar{"XDG_DATA_HOME"};
    QTemporaryDir m_home;
};

TEST_F(DefaultBrowserTest, RegisterOnAnEmptyHome)
{
    EXPECT_FALSE(DefaultBrowser::httpHandlerIsUs());
    ASSERT_TRUE(DefaultBrowser::registerUs(QStringLiteral("/opt/tessivane/Tessivane")));
    EXPECT_EQ(readAll(desktop()),
              QByteArray("[Desktop Entry]\nType=Application\nName=Tessivane\n"
                         "Exec=\"/opt/tessivane/Tessivane\" %u\n"
                         "MimeType=x-scheme-handler/http;x-scheme-handler/https;text/html;\n"));
    EXPECT_EQ(readAll(config()), QByteArray("[Default Applications]\n"
                                            "x-scheme-handler/http=tessivane.desktop\n"
                                            "x-scheme-handler/https=tessivane.desktop\n"
                                            "text/html=tessivane.desktop\n"));
    EXPECT_TRUE(DefaultBrowser::httpHandlerIsUs());
    // A second registration changes nothing.
    ASSERT_TRUE(DefaultBrowser::registerUs(QStringLiteral("/opt/tessivane/Tessivane")));
    EXPECT_EQ(readAll(config()).count("tessivane.desktop"), 3);
}

TEST_F(DefaultBrowserTest, RegisterKeepsEveryOtherLine)
{
    const QByteArray before =
        "# my associations\n"
        "[Added Associations]\n"
        "x-scheme-handler/http=firefox.desktop;\n"
        "image/png=gimp.desktop;\n"
        "\n"
        "[Default Applications]\n"
        "application/pdf=evince.desktop\n"
        "x-scheme-handler/http = firefox.desktop;chromium.desktop;\n"
        "# comment inside\n"
        "\n"
        "[Removed Associations]\n"
        "text/html=lynx.desktop\n"
        "ünïcode=日本.desktop"; // no final line break
    writeAll(config(), before);
    EXPECT_FALSE(DefaultBrowser::httpHandlerIsUs());
    ASSERT_TRUE(DefaultBrowser::registerUs(QStringLiteral("/opt/t/Tessivane")));
    EXPECT_EQ(readAll(config()),
              QByteArray("# my associations\n"
                         "[Added Associations]\n"
                         "x-scheme-handler/http=firefox.desktop;\n"
                         "image/png=gimp.desktop;\n"
                         "\n"
                         "[Default Applications]\n"
                         "application/pdf=evince.desktop\n"
                         "x-scheme-handler/http = tessivane.desktop\n"
                         "x-scheme-handler/https=tessivane.desktop\n"
                         "text/html=tessivane.desktop\n"
                         "# comment inside\n"
                         "\n"
                         "[Removed Associations]\n"
                         "text/html=lynx.desktop\n"
                         "ünïcode=日本.desktop"));
    EXPECT_TRUE(DefaultBrowser::httpHandlerIsUs());
}

TEST_F(DefaultBrowserTest, ExecQuotesThePath)
{
    struct Row { const char *path; const char *exec; };
    const Row rows[] = {
        {"/home/a b/My Apps/Tessivane", "Exec=\"/home/a b/My Apps/Tessivane\" %u\n"},
        {"/p/50%/T", "Exec=\"/p/50%%/T\" %u\n"},
        {"/p/\"q\"/$HOME/`x`/T", "Exec=\"/p/\\\\\"q\\\\\"/\\\\$HOME/\\\\`x\\\\`/T\" %u\n"},
        {"/p/back\\slash/T", "Exec=\"/p/back\\\\\\\\slash/T\" %u\n"},
        {"/程序/浏览器", "Exec=\"/程序/浏览器\" %u\n"},
    };
    for (const Row &r : rows) {
        ASSERT_TRUE(DefaultBrowser::registerUs(QString::fromUtf8(r.path))) << r.path;
        EXPECT_TRUE(readAll(desktop()).contains(r.exec)) << r.path << "\n" << readAll(desktop()).constData();
    }
}

TEST_F(DefaultBrowserTest, TheDesktopsOwnListComesFirst)
{
    EnvVar desktopVar("XDG_CURRENT_DESKTOP");
    qputenv("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
    ASSERT_TRUE(DefaultBrowser::registerUs(QStringLiteral("/p/T")));
    EXPECT_TRUE(DefaultBrowser::httpHandlerIsUs());
    // A desktop list without an http entry passes the question on.
    writeAll(m_home.path() + QStringLiteral("/cfg/ubuntu-mimeapps.list"), "[Default Applications]\ntext/plain=gedit.desktop\n");
    EXPECT_TRUE(DefaultBrowser::httpHandlerIsUs());
    writeAll(m_home.path() + QStringLiteral("/cfg/gnome-mimeapps.list"),
             "[Default Applications]\nx-scheme-handler/http=firefox.desktop\n");
    EXPECT_FALSE(DefaultBrowser::httpHandlerIsUs());
    qputenv("XDG_CURRENT_DESKTOP", "KDE");
    EXPECT_TRUE(DefaultBrowser::httpHandlerIsUs());
}

TEST_F(DefaultBrowserTest, UnusablePathsWriteNothing)
{
    EXPECT_FALSE(DefaultBrowser::registerUs(QStringLiteral("/p/a\nb")));
    EXPECT_FALSE(DefaultBrowser::registerUs(QString()));
    EXPECT_FALSE(QFile::exists(desktop()));
    EXPECT_FALSE(QFile::exists(config()));
}

TEST_F(DefaultBrowserTest, UnwritableListReportsFailure)
{
    ASSERT_TRUE(QDir().mkpath(config())); // a folder where the file should be
    EXPECT_FALSE(DefaultBrowser::registerUs(QStringLiteral("/p/T")));
    EXPECT_FALSE(DefaultBrowser::httpHandlerIsUs());
}

TEST_F(DefaultBrowserTest, UnsetOrRelativeVariablesFallBackToHome)
{
    qunsetenv("XDG_CONFIG_HOME");
    qputenv("XDG_DATA_HOME", "relative/data");
    EXPECT_EQ(DefaultBrowser::mimeAppsPath(), m_home.path() + QStringLiteral("/.config/mimeapps.list"));
    EXPECT_EQ(DefaultBrowser::desktopFilePath(), m_home.path() + QStringLiteral("/.local/share/applications/tessivane.desktop"));
    ASSERT_TRUE(DefaultBrowser::registerUs(QStringLiteral("/p/T")));
    EXPECT_TRUE(QFile::exists(m_home.path() + QStringLiteral("/.config/mimeapps.list")));
    EXPECT_TRUE(QFile::exists(m_home.path() + QStringLiteral("/.local/share/applications/tessivane.desktop")));
    EXPECT_TRUE(DefaultBrowser::httpHandlerIsUs());
}

TEST(MimeAppsList, DefaultForReadsLikeTheDesktop)
{
    const QByteArray http = "x-scheme-handler/http";
    struct Row { const char *content; const char *expected; };
    const Row rows[] = {
        {"", ""},
        {"[Default Applications]\nx-scheme-handler/http=a.desktop;b.desktop;\n", "a.desktop"},
        {"[Default Applications]\nx-scheme-handler/http=;;a.desktop\n", "a.desktop"},
        {"[Added Associations]\nx-scheme-handler/http=a.desktop\n", ""},
        {"[Default Applications]\nx-scheme-handler/http=a.desktop\nx-scheme-handler/http=b.desktop\n", "b.desktop"},
        {"[Default Applications]\nx-scheme-handler/http=a.desktop\n[X]\n[Default Applications]\nx-scheme-handler/http=c.desktop",
         "c.desktop"},
        {"[Default Applications]\r\n  x-scheme-handler/http  =  t.desktop  \r\n", "t.desktop"},
        {"[Default Applications]\n#x-scheme-handler/http=t.desktop\n", ""},
        {"[Default Applications]\nx-scheme-handler/https=t.desktop\n", ""},
        {"x-scheme-handler/http=t.desktop\n", ""},
    };
    for (const Row &r : rows)
        EXPECT_EQ(MimeAppsList::defaultFor(QByteArray(r.content), http), QByteArray(r.expected)) << r.content;
}

TEST(MimeAppsList, WithDefaultChangesOnlyItsLine)
{
    const QByteArray type = "text/html";
    const QByteArray id = "t.desktop";
    struct Row { const char *before; const char *after; };
    const Row rows[] = {
        {"", "[Default Applications]\ntext/html=t.desktop\n"},
        {"[A]\nk=v", "[A]\nk=v\n[Default Applications]\ntext/html=t.desktop\n"},
        {"[Default Applications]", "[Default Applications]\ntext/html=t.desktop\n"},
        {"[Default Applications]\r\na=b\r\n\r\n[B]\r\n", "[Default Applications]\r\na=b\r\ntext/html=t.desktop\r\n\r\n[B]\r\n"},
        {"[Default Applications]\ntext/html=x;\n[Default Applications]\ntext/html=y\n",
         "[Default Applications]\ntext/html=t.desktop\n[Default Applications]\ntext/html=t.desktop\n"},
        {"[Default Applications]\na=b\n[X]\n[Default Applications]\nc=d\n",
         "[Default Applications]\na=b\ntext/html=t.desktop\n[X]\n[Default Applications]\nc=d\n"},
        {"[Default Applications]\ntext/htmlx=y\n", "[Default Applications]\ntext/htmlx=y\ntext/html=t.desktop\n"},
        {"[Default Applications]\ntext/html=\n", "[Default Applications]\ntext/html=t.desktop\n"},
    };
    for (const Row &r : rows)
        EXPECT_EQ(MimeAppsList::withDefault(QByteArray(r.before), type, id), QByteArray(r.after)) << r.before;
}
} // namespace
