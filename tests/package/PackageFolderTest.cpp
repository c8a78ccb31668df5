#include "Gbk.h"
#include "IniFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QRegularExpression>

#include <gtest/gtest.h>
#include <optional>

namespace {

QString packageDir()
{
    return QStringLiteral(TESSIVANE_SOURCE_DIR "/package/");
}

QString resourcesDir()
{
    return QStringLiteral(TESSIVANE_SOURCE_DIR "/browser/resources/");
}

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A stored number as the readers take it: decimal, or hexadecimal after "&H".
std::optional<double> number(const QString &text)
{
    const QString t = text.trimmed();
    bool ok = false;
    if (t.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
        const qulonglong v = t.mid(2).toULongLong(&ok, 16);
        return ok ? std::optional<double>(double(v)) : std::nullopt;
    }
    const double d = t.toDouble(&ok);
    return ok ? std::optional<double>(d) : std::nullopt;
}

QString setting(const char *key)
{
    return IniFile::readValue(packageDir() + QStringLiteral("config.ini"), QStringLiteral("Setting"),
                              QString::fromLatin1(key));
}

bool hasKey(const QString &file, const char *section, const char *key)
{
    bool found = false;
    IniFile::readRaw(readBytes(file), QString::fromLatin1(section), QString::fromLatin1(key), &found);
    return found;
}

QString themeIni()
{
    return packageDir() + QStringLiteral("Themes/")
        + IniFile::readValue(packageDir() + QStringLiteral("config.ini"), QStringLiteral("Theme"),
                             QStringLiteral("Theme"));
}

QString themeDir()
{
    const QString name = IniFile::readValue(packageDir() + QStringLiteral("config.ini"), QStringLiteral("Theme"),
                                            QStringLiteral("Theme"));
    return packageDir() + QStringLiteral("Themes/") + name.section(QLatin1Char('.'), 0, 0) + QLatin1Char('/');
}

} // namespace

TEST(PackageSettings, EveryKeyIsPresent)
{
    const char *keys[] = {"OnOpen", "HomePage", "LastPage", "Zoom", "Addr", "AppSafe", "AutoSet", "OpenPass",
                          "Password", "MinPass", "Mouse", "Search", "AutoDownload", "UseFilter", "Filter",
                          "FilterText", "MobileMode", "UA", "Unload", "AutoDelete", "SuperHide", "SHCustom",
                          "SHKey"};
    const QString file = packageDir() + QStringLiteral("config.ini");
    for (const char *key : keys)
        EXPECT_TRUE(hasKey(file, "Setting", key)) << key;
    EXPECT_TRUE(hasKey(file, "Theme", "Theme"));
}

TEST(PackageSettings, FlagsHoldNumbers)
{
    const char *flags[] = {"Addr", "AppSafe", "AutoSet", "OpenPass", "MinPass", "Mouse", "AutoDownload",
                           "UseFilter", "MobileMode", "Unload", "AutoDelete", "SuperHide"};
    for (const char *key : flags) {
        const auto v = number(setting(key));
        ASSERT_TRUE(v.has_value()) << key;
        EXPECT_TRUE(*v == 0 || *v == 1) << key;
    }
    const auto zoom = number(setting("Zoom"));
    ASSERT_TRUE(zoom.has_value());
    EXPECT_GE(*zoom, 50);
    EXPECT_LE(*zoom, 1000);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[012]$")).match(setting("OnOpen")).hasMatch());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[01]{3}$")).match(setting("Filter")).hasMatch());
    EXPECT_EQ(setting("SHKey").size(), 1);
    EXPECT_FALSE(setting("Search").isEmpty());
    EXPECT_FALSE(setting("HomePage").isEmpty());
}

TEST(PackageTheme, ColoursAndFlagAreNumbers)
{
    const QString ini = themeIni();
    ASSERT_TRUE(QFile::exists(ini)) << qPrintable(ini);
    for (const char *key : {"Main", "TabAct", "TabNrm", "ToolBar"}) {
        const auto v = number(IniFile::readValue(ini, QStringLiteral("Clr"), QString::fromLatin1(key)));
        ASSERT_TRUE(v.has_value()) << key;
        EXPECT_GE(*v, 0) << key;
        EXPECT_LE(*v, double(0xFFFFFF)) << key;
    }
    const auto white = number(IniFile::readValue(ini, QStringLiteral("Clr"), QStringLiteral("WhiteFont")));
    ASSERT_TRUE(white.has_value());
    EXPECT_TRUE(*white == 0 || *white == 1);
}

TEST(PackageTheme, EveryPictureLoads)
{
    const char *buttons[] = {"Lf.bmp", "Rf.bmp", "St.bmp", "Wr.bmp", "Cl.bmp", "Mx.bmp", "Mn.bmp", "Ap.bmp", "Rt.bmp"};
    // Caption bar: 495 twips; the buttons are centred in it and must fit.
    const int captionPx = 495 / 15;
    for (const char *file : buttons) {
        QImage img(themeDir() + QLatin1String(file));
        ASSERT_FALSE(img.isNull()) << file;
        EXPECT_LE(img.height(), captionPx) << file;
        EXPECT_FALSE(img.hasAlphaChannel()) << file;
    }
    const QImage address(themeDir() + QStringLiteral("Tx.bmp"));
    ASSERT_FALSE(address.isNull());
    // The collapsed address bar is 375 x 320 twips.
    EXPECT_LE(address.width(), 375 / 15);
    EXPECT_LE(address.height(), 320 / 15);
    EXPECT_FALSE(QImage(themeDir() + QStringLiteral("NavBG.jpg")).isNull());
}

TEST(PackageNavigation, NineTilesWithThumbnails)
{
    const QString ini = packageDir() + QStringLiteral("Data/OrvNav.ini");
    const QByteArray bytes = readBytes(ini);
    for (int k = 1; k <= 9; ++k) {
        const QString key = QStringLiteral("n%1").arg(k);
        bool found = false;
        const QByteArray raw = IniFile::readRaw(bytes, QStringLiteral("Nav"), key, &found);
        ASSERT_TRUE(found) << k;
        const QStringList parts = Gbk::decode(raw).split(QStringLiteral("@@"));
        ASSERT_EQ(parts.size(), 3) << k;
        EXPECT_TRUE(parts.at(0).startsWith(QLatin1String("http"))) << k;
        EXPECT_FALSE(parts.at(1).isEmpty()) << k;
        EXPECT_EQ(parts.at(2), QStringLiteral("Data\\NavPic\\n%1.bmp").arg(k));
        const QString picture = packageDir() + QString(parts.at(2)).replace(QLatin1Char('\\'), QLatin1Char('/'));
        QImage img(picture, "BMP");
        EXPECT_FALSE(img.isNull()) << qPrintable(picture);
    }
}

TEST(PackageData, BookmarksAndAppRegistry)
{
    const QStringList vkt = QDir(packageDir() + QStringLiteral("Data/Bookmarks")).entryList({QStringLiteral("*.vkt")});
    ASSERT_FALSE(vkt.isEmpty());
    for (const QString &name : vkt) {
        const QByteArray b = readBytes(packageDir() + QStringLiteral("Data/Bookmarks/") + name);
        EXPECT_TRUE(b.endsWith("\r\n")) << qPrintable(name);
        EXPECT_EQ(b.count('\n'), 1) << qPrintable(name);
        EXPECT_TRUE(b.startsWith("http")) << qPrintable(name);
    }
    const QString apps = packageDir() + QStringLiteral("Apps/Apps.ini");
    EXPECT_EQ(IniFile::readValue(apps, QStringLiteral("Apps"), QStringLiteral("Count")), QStringLiteral("0"));
    // Installing appends a line to the file's text, so it must end with a line break.
    EXPECT_TRUE(readBytes(apps).endsWith("\r\n"));
}

TEST(PackageData, TextFilesAreGbkWithCrLf)
{
    QDirIterator it(packageDir(), {QStringLiteral("*.ini"), QStringLiteral("*.vkt")}, QDir::Files,
                    QDirIterator::Subdirectories);
    int count = 0;
    while (it.hasNext()) {
        const QString path = it.next();
        const QByteArray b = readBytes(path);
        ++count;
        EXPECT_FALSE(b.startsWith("\xEF\xBB\xBF")) << qPrintable(path);
        EXPECT_TRUE(b.endsWith("\r\n")) << qPrintable(path);
        for (qsizetype i = 0; i < b.size(); ++i) {
            if (b.at(i) == '\n') {
                ASSERT_TRUE(i > 0 && b.at(i - 1) == '\r') << qPrintable(path) << " at byte " << i;
            }
        }
        EXPECT_EQ(Gbk::encode(Gbk::decode(b)), b) << qPrintable(path);
        EXPECT_FALSE(Gbk::decode(b).contains(QChar(0xFFFD))) << qPrintable(path);
    }
    EXPECT_GE(count, 5);
}

TEST(PackageResources, EveryPictureIsListedAndLoads)
{
    const QString qrc = QString::fromUtf8(readBytes(resourcesDir() + QStringLiteral("resources.qrc")));
    ASSERT_TRUE(qrc.contains(QLatin1String("prefix=\"/res\"")));
    const QStringList pngs = QDir(resourcesDir()).entryList({QStringLiteral("*.png")});
    ASSERT_FALSE(pngs.isEmpty());
    for (const QString &png : pngs) {
        EXPECT_TRUE(qrc.contains(QStringLiteral("<file>%1</file>").arg(png))) << qPrintable(png);
        EXPECT_FALSE(QImage(resourcesDir() + png).isNull()) << qPrintable(png);
    }
    const QRegularExpression entry(QStringLiteral("<file>([^<]+)</file>"));
    for (auto m = entry.globalMatch(qrc); m.hasNext();) {
        const QString listed = m.next().captured(1);
        EXPECT_TRUE(QFile::exists(resourcesDir() + listed)) << qPrintable(listed);
    }
}

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
