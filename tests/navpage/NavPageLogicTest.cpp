// The navigation page's tile file and layout, without a window.
#include "Files.h"
#include "Gbk.h"
#include "NavPage.h"
#include "ProgramFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

namespace {

class NavFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        setProgramFolderOverride(dir.path());
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Data/NavPic")));
    }
    void TearDown() override { setProgramFolderOverride(QString()); }

    QString local(const QString &rel) const { return dir.path() + QLatin1Char('/') + rel; }
    QByteArray bytes(const QString &rel) const
    {
        QFile f(local(rel));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void writeBytes(const QString &rel, const QByteArray &b) const
    {
        QFile f(local(rel));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(b);
    }

    QTemporaryDir dir;
};

QPixmap sample(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.fillRect(0, 0, w / 2, h / 2, Qt::red);
    p.end();
    return QPixmap::fromImage(img);
}

} // namespace

TEST(NavPageNames, KeysAndPicturePaths)
{
    EXPECT_EQ(NavPage::Key(0), QStringLiteral("n1"));
    EXPECT_EQ(NavPage::Key(8), QStringLiteral("n9"));
    EXPECT_EQ(NavPage::PicPath(2), QStringLiteral("Data\\NavPic\\n3.bmp"));
    EXPECT_EQ(NavPage::TypedValue(QStringLiteral("abc")), QStringLiteral("abc@@abc@@"));
    EXPECT_EQ(NavPage::TypedValue(QString()), QString());
    EXPECT_EQ(NavPage::ShotValue(3, QStringLiteral("http://a/"), QStringLiteral("T")),
              QStringLiteral("http://a/@@T@@Data\\NavPic\\n4.bmp"));
}

TEST(NavPageTiles, ApplyValueKeepsMissingPieces)
{
    struct Case
    {
        const char *value;
        bool paint;
        NavPage::TileFields want;
    };
    const NavPage::TileFields before{QStringLiteral("old"), QStringLiteral("OldCap"), QStringLiteral("OldTip"),
                                     QStringLiteral("Data\\NavPic\\n1.bmp")};
    const Case cases[] = {
        {"", false, {}},
        {"a.com", true, {QStringLiteral("a.com"), QStringLiteral("OldCap"), QStringLiteral("OldTip"),
                         QStringLiteral("Data\\NavPic\\n1.bmp")}},
        {"a.com@@A", true, {QStringLiteral("a.com"), QStringLiteral("A"), QStringLiteral("A"),
                            QStringLiteral("Data\\NavPic\\n1.bmp")}},
        {"a.com@@A@@", true, {QStringLiteral("a.com"), QStringLiteral("A"), QStringLiteral("A"), QString()}},
        {"a.com@@A@@p.bmp", true, {QStringLiteral("a.com"), QStringLiteral("A"), QStringLiteral("A"),
                                   QStringLiteral("p.bmp")}},
        // A title holding "@@" pushes its rest into the path field.
        {"a.com@@Ti@@tle@@Data\\NavPic\\n2.bmp", true, {QStringLiteral("a.com"), QStringLiteral("Ti"),
                                                         QStringLiteral("Ti"), QStringLiteral("tle")}},
        {"@@@@", true, {QString(), QString(), QString(), QString()}},
    };
    for (const Case &c : cases) {
        NavPage::TileFields t = before;
        EXPECT_EQ(NavPage::ApplyValue(t, QString::fromUtf8(c.value)), c.paint) << c.value;
        EXPECT_EQ(t.address, c.want.address) << c.value;
        EXPECT_EQ(t.caption, c.want.caption) << c.value;
        EXPECT_EQ(t.toolTip, c.want.toolTip) << c.value;
        EXPECT_EQ(t.picPath, c.want.picPath) << c.value;
    }
}

TEST(NavPageLayout, TilesCentredInTheirThirds)
{
    // A page of 9000 x 6000 twips: thirds of 3000 x 2000.
    const double W = 9000, H = 6000, w = NavPage::kTileWidth, h = NavPage::kTileHeight;
    const double lefts[3] = {52.5, 3052.5, 6052.5};
    const double tops[3] = {32.5, 2032.5, 4032.5};
    for (int i = 0; i < 9; ++i) {
        EXPECT_DOUBLE_EQ(NavPage::TileLeft(i, W, w), lefts[i % 3]) << i;
        EXPECT_DOUBLE_EQ(NavPage::TileTop(i, H, h), tops[i / 3]) << i;
    }
    // Floating point throughout, and a page narrower than three tiles gives
    // negative margins rather than a clamp.
    EXPECT_DOUBLE_EQ(NavPage::TileLeft(1, 1000, 500), 1000.0 / 3 + (1000.0 / 3 - 500) / 2);
    EXPECT_DOUBLE_EQ(NavPage::TileTop(8, 100, 200), 200.0 / 3 + (100.0 / 3 - 200) / 2);
}

TEST(NavPageMatch, HttpAndSlashesRemoved)
{
    struct Case
    {
        const char *tile;
        const char *location;
        bool match;
    };
    const Case cases[] = {
        {"www.a.com", "http://www.a.com/", true},
        {"http://www.a.com", "http://www.a.com/", true},
        {"www.a.com/x/", "http://www.a.com/x", true},
        {"www.a.com", "https://www.a.com/", false}, // https keeps its scheme
        {"https://www.a.com/", "https://www.a.com/", true},
        {"www.A.com", "http://www.a.com/", false},  // case-sensitive
        {"www.a.com", "http://www.a.com/?q", false},
        {"about:nav", "about:nav", true},
    };
    for (const Case &c : cases) {
        std::array<QString, 9> tiles;
        tiles[5] = QString::fromUtf8(c.tile);
        EXPECT_EQ(NavPage::MatchTile(tiles, QString::fromUtf8(c.location)), c.match ? 5 : -1)
            << c.tile << " " << c.location;
    }
    // The lower tile wins; empty tiles match only an empty location.
    std::array<QString, 9> tiles;
    tiles[6] = QStringLiteral("b.org");
    tiles[2] = QStringLiteral("http://b.org/");
    EXPECT_EQ(NavPage::MatchTile(tiles, QStringLiteral("http://b.org/")), 2);
    EXPECT_EQ(NavPage::MatchTile(tiles, QStringLiteral("http://c.org/")), -1);
    EXPECT_EQ(NavPage::MatchText(QStringLiteral("http://hthttp:tp:x")), QStringLiteral("http:x"));
}

TEST_F(NavFolder, TileFileIsGbkWithCrLfOneKeyAtATime)
{
    EXPECT_EQ(NavPage::ReadTile(0), QString()); // no file: empty tiles
    NavPage::WriteTile(3, NavPage::TypedValue(QStringLiteral("新浪.cn")));
    NavPage::WriteTile(0, QStringLiteral("http://a/@@甲@@Data\\NavPic\\n1.bmp"));
    const QByteArray want = QByteArray("[Nav]\r\nn4=") + Gbk::encode(QStringLiteral("新浪.cn@@新浪.cn@@")) +
                            QByteArray("\r\nn1=http://a/@@") + Gbk::encode(QStringLiteral("甲")) +
                            QByteArray("@@Data\\NavPic\\n1.bmp\r\n");
    EXPECT_EQ(bytes(QStringLiteral("Data/OrvNav.ini")), want);
    EXPECT_EQ(NavPage::ReadTile(3), QStringLiteral("新浪.cn@@新浪.cn@@"));
    // Clearing a tile keeps its key with an empty value.
    NavPage::WriteTile(3, QString());
    EXPECT_TRUE(bytes(QStringLiteral("Data/OrvNav.ini")).contains("\r\nn4=\r\n"));
    EXPECT_EQ(NavPage::ReadTile(3), QString());
    EXPECT_EQ(NavPage::ReadTile(0), QStringLiteral("http://a/@@甲@@Data\\NavPic\\n1.bmp"));
    // Indices outside the grid touch nothing.
    NavPage::WriteTile(9, QStringLiteral("x"));
    NavPage::WriteTile(-1, QStringLiteral("x"));
    EXPECT_FALSE(bytes(QStringLiteral("Data/OrvNav.ini")).contains("n10"));
    EXPECT_EQ(NavPage::ReadTile(9), QString());
}

TEST_F(NavFolder, LongAndDamagedValues)
{
    // Stored whole and read back whole.
    const QString longUrl = QStringLiteral("http://example.com/") + QString(200, QLatin1Char('a'));
    NavPage::WriteTile(1, NavPage::TypedValue(longUrl));
    EXPECT_TRUE(bytes(QStringLiteral("Data/OrvNav.ini")).contains(longUrl.toLatin1() + "@@" + longUrl.toLatin1()));
    EXPECT_EQ(NavPage::ReadTile(1), NavPage::TypedValue(longUrl));
    // Line breaks typed into a value cannot add keys to the file.
    NavPage::WriteTile(2, QStringLiteral("a\r\nn3=evil"));
    EXPECT_EQ(NavPage::ReadTile(2), QStringLiteral("an3=evil"));

    // A damaged file: binary garbage, bytes that are no GBK, no section line.
    static const char damaged[] = "\xff\xfe\x00garbage\r\n[Misc\r\nn1=\x81\r\n[Nav]\nn2=\xfe\xfe@@x\rn3=ok@@OK@@\r\n";
    writeBytes(QStringLiteral("Data/OrvNav.ini"), QByteArray(damaged, sizeof(damaged) - 1));
    for (int i = 0; i < 9; ++i)
        (void)NavPage::ReadTile(i); // reads without crashing
    EXPECT_EQ(NavPage::ReadTile(2), QStringLiteral("ok@@OK@@"));
    NavPage::WriteTile(4, QStringLiteral("e.com@@E@@"));
    EXPECT_EQ(NavPage::ReadTile(4), QStringLiteral("e.com@@E@@"));
    EXPECT_EQ(NavPage::ReadTile(2), QStringLiteral("ok@@OK@@"));
}

TEST_F(NavFolder, PicturesStayInsideTheProgramFolder)
{
    const QPixmap pic = sample(200, 100);
    ASSERT_TRUE(NavPage::SavePicture(pic, NavPage::PicPath(4)));
    const QByteArray bmp = bytes(QStringLiteral("Data/NavPic/n5.bmp"));
    ASSERT_GE(bmp.size(), 54);
    EXPECT_EQ(bmp.left(2), QByteArray("BM"));
    const QPixmap back = NavPage::LoadPicture(NavPage::PicPath(4), QSize(20, 10));
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.size(), QSize(20, 10)); // scaled to the tile
    EXPECT_EQ(back.toImage().pixelColor(2, 2), QColor(Qt::red));
    // Replacing an earlier file.
    ASSERT_TRUE(NavPage::SavePicture(sample(40, 40), NavPage::PicPath(4)));
    EXPECT_EQ(QImage(local(QStringLiteral("Data/NavPic/n5.bmp"))).size(), QSize(40, 40));

    // Missing, empty, unreadable and escaping paths paint nothing.
    writeBytes(QStringLiteral("Data/NavPic/bad.bmp"), QByteArray("BMnot really"));
    QDir(dir.path()).mkpath(QStringLiteral("../navpage-outside"));
    const QString outside = QDir::cleanPath(dir.path() + QStringLiteral("/../navpage-outside/o.bmp"));
    ASSERT_TRUE(sample(10, 10).save(outside, "BMP"));
    for (const QString &rel : {QStringLiteral("Data\\NavPic\\n9.bmp"), QString(), QStringLiteral("Data\\NavPic\\bad.bmp"),
                               QStringLiteral("..\\navpage-outside\\o.bmp"), QStringLiteral("Data\\..\\..\\navpage-outside\\o.bmp")})
        EXPECT_TRUE(NavPage::LoadPicture(rel, QSize(20, 10)).isNull()) << rel.toStdString();
    EXPECT_FALSE(NavPage::SavePicture(pic, QStringLiteral("..\\navpage-outside\\w.bmp")));
    EXPECT_FALSE(QFile::exists(QDir::cleanPath(dir.path() + QStringLiteral("/../navpage-outside/w.bmp"))));
    QFile::remove(outside);
    QDir().rmdir(QDir::cleanPath(dir.path() + QStringLiteral("/../navpage-outside")));

    // No folder is created: without Data\NavPic\ the save fails.
    ASSERT_TRUE(QDir(local(QStringLiteral("Data/NavPic"))).removeRecursively());
    EXPECT_FALSE(NavPage::SavePicture(pic, NavPage::PicPath(0)));
    EXPECT_FALSE(QDir(local(QStringLiteral("Data/NavPic"))).exists());
    EXPECT_FALSE(NavPage::SavePicture(QPixmap(), NavPage::PicPath(0)));
}

TEST(NavPageShot, BlankSnapshots)
{
    QImage white(300, 200, QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_TRUE(NavPage::IsBlank(white));
    EXPECT_TRUE(NavPage::IsBlank(QImage()));
    QImage drawn = white;
    drawn.setPixel(151, 77, qRgb(254, 255, 255)); // one pixel is enough
    EXPECT_FALSE(NavPage::IsBlank(drawn));
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
