// The navigation page inside a real page control: filling, the add-tile
// panel, and the thumbnail after a tile's page has loaded from a loopback server.
#include "EventRecorder.h"
#include "LoopbackServer.h"

#include "Files.h"
#include "Gbk.h"
#include "NavPage.h"
#include "ProgramFolder.h"
#include "ThemeColors.h"
#include "Twips.h"
#include "VbWidgets.h"
#include "WebView.h"
#include "ucCmdBtn.h"
#include "ucWeb.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

class NavPageWeb : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        setProgramFolderOverride(folder.path());
        ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("Data/NavPic")));
        WriteSet(QStringLiteral("MobileMode"), QStringLiteral("0"));
        ClrMain = 0x00603020;
        ClrToolBar = 0x00F0E0D0;
        ASSERT_TRUE(server.start());
        server.page("/t", "<html><head><title>Page T</title></head>"
                          "<body style='background:#c03030;margin:0'><h1 style='color:#fff'>T</h1></body></html>");
        server.page("/a", "<html><head><title>Page A</title></head><body>A</body></html>");
        LoopbackServer::Response moved;
        moved.status = 302;
        moved.body = "moved";
        moved.headers.append(qMakePair(QByteArray("Location"), QByteArray("/a")));
        server.route("/r", moved);
        web = new ucWeb;
        web->resize(800, 600);
        web->show();
        rec = new EventRecorder(web);
    }
    void TearDown() override
    {
        delete rec;
        delete web;
        setProgramFolderOverride(QString());
    }

    QString local(const QString &rel) const { return folder.path() + QLatin1Char('/') + rel; }
    QByteArray iniBytes() const
    {
        QFile f(local(QStringLiteral("Data/OrvNav.ini")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void writeIni(const QStringList &lines) const
    {
        QFile f(local(QStringLiteral("Data/OrvNav.ini")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Gbk::encode(QStringLiteral("[Nav]\r\n") + lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
    }
    bool showNav()
    {
        const int want = rec->docCompletes + 1;
        web->GoURL(QStringLiteral("about:nav"));
        return web->picNav->isVisible() && WaitFor([&] { return rec->docCompletes >= want; });
    }
    // Whether a thumbnail is still to be taken: the control's only timer runs
    // until the picture has been saved or given up.
    bool shotPending() const
    {
        for (const QTimer *t : web->findChildren<QTimer *>(Qt::FindDirectChildrenOnly))
            if (t->isActive())
                return true;
        return false;
    }
    // host:port/path, as a user types a tile's address.
    QString typed(const char *path) const
    {
        return QStringLiteral("127.0.0.1:%1%2").arg(server.port()).arg(QLatin1String(path));
    }

    QTemporaryDir folder;
    LoopbackServer server;
    ucWeb *web = nullptr;
    EventRecorder *rec = nullptr;
};

TEST_F(NavPageWeb, FillsTheTilesFromTheFileAtEveryVisit)
{
    QImage pic(300, 200, QImage::Format_RGB32);
    pic.fill(Qt::blue);
    ASSERT_TRUE(pic.save(local(QStringLiteral("Data/NavPic/n1.bmp")), "BMP"));
    writeIni({QStringLiteral("n1=http://a.cn/@@甲站@@Data\\NavPic\\n1.bmp"), QStringLiteral("n2=b.cn"),
              QStringLiteral("n3="), QStringLiteral("n5=e.cn@@戊@@Data\\NavPic\\missing.bmp")});
    ASSERT_TRUE(showNav());
    EXPECT_EQ(web->LocationName(), QStringLiteral("Tessivane 导航"));
    EXPECT_EQ(web->picNav->backColor(), ClrMain);
    EXPECT_FALSE(web->picAddWeb->isVisible());
    for (int i = 0; i < 9; ++i) {
        EXPECT_TRUE(web->picWeb[i]->isVisible());
        EXPECT_EQ(web->picWeb[i]->backColor(), ClrToolBar);
        EXPECT_EQ(web->picWeb[i]->toolTip(), QStringLiteral("点击右键编辑导航"));
        EXPECT_EQ(web->lblWeb[i]->palette().color(QPalette::Window), VbColor(ClrToolBar));
        // Centred in its third of the page; the page is 12000 x 9000 twips.
        EXPECT_DOUBLE_EQ(TLeft(web->picWeb[i]), NavPage::TileLeft(i, 12000, 2895)) << i;
        EXPECT_DOUBLE_EQ(TTop(web->picWeb[i]), NavPage::TileTop(i, 9000, 1935)) << i;
        EXPECT_DOUBLE_EQ(TWidth(web->picWeb[i]), 2895);
        EXPECT_DOUBLE_EQ(TTop(web->lblWeb[i]), 1440);
    }
    EXPECT_EQ(web->lblWebTag(0), QStringLiteral("http://a.cn/"));
    EXPECT_EQ(web->lblWeb[0]->text(), QStringLiteral("甲站"));
    EXPECT_EQ(web->lblWeb[0]->toolTip(), QStringLiteral("甲站"));
    EXPECT_EQ(web->picWebTag(0), QStringLiteral("Data\\NavPic\\n1.bmp"));
    ASSERT_FALSE(web->picWeb[0]->picture().isNull());
    EXPECT_EQ(web->picWeb[0]->picture().size(), web->picWeb[0]->size()); // scaled into the tile
    EXPECT_EQ(web->picWeb[0]->picture().toImage().pixelColor(5, 5), QColor(Qt::blue));
    EXPECT_EQ(web->lblWebTag(1), QStringLiteral("b.cn"));
    EXPECT_EQ(web->lblWeb[1]->text(), QString());
    EXPECT_EQ(web->lblWebTag(2), QString());
    EXPECT_TRUE(web->picWeb[2]->picture().isNull());
    EXPECT_EQ(web->lblWeb[4]->text(), QStringLiteral("戊"));
    EXPECT_TRUE(web->picWeb[4]->picture().isNull());

    // An edit outside the program shows at the next visit; a value without
    // "@@" keeps the caption, tooltip and picture of the previous filling.
    writeIni({QStringLiteral("n1=x.cn"), QStringLiteral("n2=b.cn@@乙@@")});
    ASSERT_TRUE(showNav());
    EXPECT_EQ(web->lblWebTag(0), QStringLiteral("x.cn"));
    EXPECT_EQ(web->lblWeb[0]->text(), QStringLiteral("甲站"));
    EXPECT_EQ(web->picWebTag(0), QStringLiteral("Data\\NavPic\\n1.bmp"));
    EXPECT_FALSE(web->picWeb[0]->picture().isNull());
    EXPECT_EQ(web->lblWeb[1]->text(), QStringLiteral("乙"));
    EXPECT_EQ(web->lblWebTag(4), QString()); // key gone: empty tile
    EXPECT_EQ(web->lblWeb[4]->text(), QString());

    // A missing file gives nine empty tiles; another address hides the page.
    QFile::remove(local(QStringLiteral("Data/OrvNav.ini")));
    ASSERT_TRUE(showNav());
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(web->lblWebTag(i), QString());
    const int want = rec->docCompletes + 1;
    web->GoURL(server.url(QStringLiteral("/a")));
    ASSERT_TRUE(WaitFor([&] { return rec->docCompletes >= want; }));
    EXPECT_FALSE(web->picNav->isVisible());
}

// A tile whose thumbnail is missing, empty, no picture or a bitmap cut short
// shows no picture: never the one an earlier filling left in the tile.
TEST_F(NavPageWeb, TileWithoutItsPictureShowsNone)
{
    QImage pic(300, 200, QImage::Format_RGB32);
    pic.fill(Qt::blue);
    const QString n1 = local(QStringLiteral("Data/NavPic/n1.bmp"));
    ASSERT_TRUE(pic.save(n1, "BMP"));
    QFile whole(n1);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bmp = whole.readAll();
    whole.close();
    writeIni({QStringLiteral("n1=http://a.cn/@@甲站@@Data\\NavPic\\n1.bmp")});

    const QList<QPair<const char *, QByteArray>> broken = {
        {"empty", QByteArray()}, {"not a picture", QByteArray("这不是图片 not a picture")},
        {"cut short", bmp.left(bmp.size() / 2)}};
    for (const auto &[what, bytes] : broken) {
        ASSERT_TRUE(pic.save(n1, "BMP"));
        ASSERT_TRUE(showNav());
        ASSERT_FALSE(web->picWeb[0]->picture().isNull()) << what;
        QFile f(n1);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        ASSERT_TRUE(showNav());
        EXPECT_TRUE(web->picWeb[0]->picture().isNull()) << what;
        EXPECT_EQ(web->lblWeb[0]->text(), QStringLiteral("甲站")) << what;
    }

    // The file gone altogether.
    ASSERT_TRUE(pic.save(n1, "BMP"));
    ASSERT_TRUE(showNav());
    ASSERT_FALSE(web->picWeb[0]->picture().isNull());
    ASSERT_TRUE(QFile::remove(n1));
    ASSERT_TRUE(showNav());
    EXPECT_TRUE(web->picWeb[0]->picture().isNull());
}

TEST_F(NavPageWeb, AddTilePanel)
{
    writeIni({QStringLiteral("n4=http://d.cn/@@丁@@Data\\NavPic\\n4.bmp")});
    ASSERT_TRUE(showNav());
    web->txtAddUrl->setText(QStringLiteral("kept"));

    // A right click on a filled tile opens the panel for it; the box keeps its text.
    QTest::mousePress(web->picWeb[3], Qt::RightButton, {}, QPoint(20, 20));
    EXPECT_TRUE(web->picAddWeb->isVisible());
    EXPECT_EQ(web->picAddWebTag(), 3);
    EXPECT_EQ(web->txtAddUrl->text(), QStringLiteral("kept"));
    EXPECT_EQ(web->cmdAddTxt->Caption(), QStringLiteral("添加"));
    EXPECT_EQ(web->cmdCnl->Caption(), QStringLiteral("取消"));
    EXPECT_EQ(web->lblShow[2]->text(), QStringLiteral("添加页面至导航"));
    EXPECT_DOUBLE_EQ(TWidth(web->picAddWeb), 5055);
    EXPECT_DOUBLE_EQ(TLeft(web->picAddWeb), (12000 - 5055) / 2.0);

    // "取消" writes nothing.
    const QByteArray before = iniBytes();
    QTest::mouseClick(web->cmdCnl, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(web->picAddWeb->isVisible());
    EXPECT_EQ(iniBytes(), before);

    // "添加": the text as address and caption, no picture; the tooltip stays.
    QTest::mousePress(web->lblWeb[3], Qt::MiddleButton, {}, QPoint(5, 5)); // the caption passes it on
    ASSERT_TRUE(web->picAddWeb->isVisible());
    web->txtAddUrl->setText(QStringLiteral("新 站.cn"));
    QTest::mouseClick(web->cmdAddTxt, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(web->picAddWeb->isVisible());
    EXPECT_EQ(NavPage::ReadTile(3), QStringLiteral("新 站.cn@@新 站.cn@@"));
    EXPECT_TRUE(iniBytes().contains(Gbk::encode(QStringLiteral("\r\nn4=新 站.cn@@新 站.cn@@\r\n"))));
    EXPECT_EQ(web->lblWebTag(3), QStringLiteral("新 站.cn"));
    EXPECT_EQ(web->lblWeb[3]->text(), QStringLiteral("新 站.cn"));
    EXPECT_EQ(web->lblWeb[3]->toolTip(), QStringLiteral("丁"));
    EXPECT_EQ(web->picWebTag(3), QString());
    EXPECT_TRUE(web->picWeb[3]->picture().isNull());

    // An empty box empties the tile and keeps its key, empty.
    QTest::mousePress(web->picWeb[3], Qt::RightButton, {}, QPoint(20, 20));
    web->txtAddUrl->clear();
    QTest::mouseClick(web->cmdAddTxt, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(iniBytes().contains("\r\nn4=\r\n"));
    EXPECT_EQ(web->lblWebTag(3), QString());
    EXPECT_EQ(web->lblWeb[3]->text(), QString());

    // A left click on an empty tile opens the panel too, for that tile.
    QTest::mousePress(web->picWeb[7], Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_TRUE(web->picAddWeb->isVisible());
    EXPECT_EQ(web->picAddWebTag(), 7);
    EXPECT_FALSE(web->bNavShot);
    // Leaving the page hides the panel.
    const int want = rec->docCompletes + 1;
    web->GoURL(server.url(QStringLiteral("/a")));
    ASSERT_TRUE(WaitFor([&] { return rec->docCompletes >= want; }));
    EXPECT_FALSE(web->picAddWeb->isVisible());
}

TEST_F(NavPageWeb, VisitedTileTakesAThumbnail)
{
    writeIni({QStringLiteral("n2=") + typed("/r") + QStringLiteral("@@R@@"),
              QStringLiteral("n3=") + typed("/t") + QStringLiteral("@@T@@"),
              QStringLiteral("n4=http://") + typed("/t") + QStringLiteral("@@T2@@")});
    ASSERT_TRUE(showNav());

    // A tile whose page lands elsewhere writes nothing.
    const QByteArray before = iniBytes();
    int want = rec->docCompletes + 1;
    QTest::mousePress(web->picWeb[1], Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_TRUE(web->bNavShot);
    EXPECT_FALSE(web->picAddWeb->isVisible());
    ASSERT_TRUE(WaitFor([&] { return rec->docCompletes >= want; }));
    EXPECT_EQ(web->LocationURL(), server.url(QStringLiteral("/a")));
    EXPECT_FALSE(web->bNavShot);
    EXPECT_FALSE(web->picNav->isVisible());
    EXPECT_FALSE(shotPending());
    EXPECT_EQ(iniBytes(), before);
    EXPECT_FALSE(QFile::exists(local(QStringLiteral("Data/NavPic/n2.bmp"))));

    // Tile 4 holds the same page as tile 3: the lower one takes the thumbnail.
    ASSERT_TRUE(showNav());
    want = rec->docCompletes + 1;
    QTest::mousePress(web->lblWeb[3], Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_TRUE(WaitFor([&] { return rec->docCompletes >= want; }));
    const QString url = server.url(QStringLiteral("/t"));
    EXPECT_EQ(web->LocationURL(), url);
    EXPECT_EQ(NavPage::ReadTile(2), url + QStringLiteral("@@Page T@@Data\\NavPic\\n3.bmp"));
    EXPECT_EQ(web->picWebTag(2), QStringLiteral("Data\\NavPic\\n3.bmp"));
    const QString bmp = local(QStringLiteral("Data/NavPic/n3.bmp"));
    ASSERT_TRUE(WaitFor([&] { return QFile::exists(bmp); }, 5000));
    QFile f(bmp);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.read(2), QByteArray("BM"));
    f.close();
    const QImage shot(bmp);
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(shot.size(), QSize(web->Wb->width() - 20, web->Wb->height() - 20));
    EXPECT_FALSE(NavPage::IsBlank(shot)); // the page as drawn, not an empty view
    EXPECT_EQ(NavPage::ReadTile(3), typed("/t").prepend(QStringLiteral("http://")) + QStringLiteral("@@T2@@"));
    EXPECT_FALSE(QFile::exists(local(QStringLiteral("Data/NavPic/n4.bmp"))));

    // The next visit shows the new title and picture.
    ASSERT_TRUE(showNav());
    EXPECT_EQ(web->lblWeb[2]->text(), QStringLiteral("Page T"));
    EXPECT_FALSE(web->picWeb[2]->picture().isNull());
}

TEST_F(NavPageWeb, ThumbnailWithoutPictureFolderStillRecordsTheTile)
{
    ASSERT_TRUE(QDir(local(QStringLiteral("Data/NavPic"))).removeRecursively());
    writeIni({QStringLiteral("n9=") + typed("/t") + QStringLiteral("@@T@@")});
    ASSERT_TRUE(showNav());
    const int want = rec->docCompletes + 1;
    QTest::mousePress(web->picWeb[8], Qt::LeftButton, {}, QPoint(20, 20));
    ASSERT_TRUE(WaitFor([&] { return rec->docCompletes >= want; }));
    EXPECT_EQ(NavPage::ReadTile(8), server.url(QStringLiteral("/t")) + QStringLiteral("@@Page T@@Data\\NavPic\\n9.bmp"));
    ASSERT_TRUE(WaitFor([&] { return !shotPending(); }, 5000));
    EXPECT_FALSE(QDir(local(QStringLiteral("Data/NavPic"))).exists()); // no folder created
}

} // namespace
