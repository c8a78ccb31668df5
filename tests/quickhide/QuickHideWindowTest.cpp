// The quick-hide window and the About window on their own.
#include "Files.h"
#include "Main.h"
#include "ProgramFolder.h"
#include "Twips.h"
#include "frmAbout.h"
#include "frmSHide.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using tessivane::frmAbout;
using tessivane::frmSHide;

namespace {

const QString kSource = QStringLiteral(TESSIVANE_SOURCE_DIR);

class QuickHide : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(QFile::copy(kSource + QStringLiteral("/package/config.ini"), folder.filePath(QStringLiteral("config.ini"))));
        setProgramFolderOverride(folder.path());
        screen = QGuiApplication::primaryScreen()->geometry().size();
    }
    void TearDown() override
    {
        frmSHide::Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        setProgramFolderOverride(QString());
    }
    QRect expected(QSize picture) const
    {
        const int bar = GetTaskBarH();
        return QRect(screen.width() - picture.width(), screen.height() - bar - picture.height(), picture.width(),
                     picture.height());
    }
    frmSHide *load(const char *superHide, const QString &custom = QString())
    {
        WriteSet(QStringLiteral("SuperHide"), QString::fromUtf8(superHide));
        WriteSet(QStringLiteral("SHCustom"), custom);
        frmSHide::Unload();
        return frmSHide::Load();
    }

    QTemporaryDir folder;
    QSize screen;
};

} // namespace

TEST_F(QuickHide, BuiltInPicturesStandInTheBottomRightCorner)
{
    const QSize sizes[] = {{169, 22}, {166, 25}, {127, 26}};
    for (int k = 0; k < 3; ++k) {
        frmSHide *sh = load(QByteArray::number(k).constData());
        ASSERT_NE(sh, nullptr);
        EXPECT_EQ(sh->Picture().size(), sizes[k]);
        EXPECT_EQ(sh->geometry(), expected(sizes[k])) << k;
        EXPECT_TRUE(sh->windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_FALSE(sh->isVisible()); // loading alone shows nothing
    }
}

TEST_F(QuickHide, UsersPictureAndItsFaults)
{
    const QString good = folder.filePath(QStringLiteral("mine.png"));
    QImage img(60, 20, QImage::Format_RGB32);
    img.fill(Qt::red);
    ASSERT_TRUE(img.save(good));
    frmSHide *sh = load("3", good);
    EXPECT_EQ(sh->Picture().size(), QSize(60, 20));
    EXPECT_EQ(sh->geometry(), expected(QSize(60, 20)));

    // Missing file, or a file that is no picture: nothing of it is shown,
    // the window keeps the empty holder's design size.
    const QString bad = folder.filePath(QStringLiteral("bad.png"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a picture");
    f.close();
    for (const QString &path : {bad, folder.filePath(QStringLiteral("none.png")), QString()}) {
        sh = load("3", path);
        EXPECT_TRUE(sh->Picture().isNull());
        EXPECT_EQ(sh->geometry(), expected(QSize(105, 41)));
    }

    // A picture larger than the screen is shown scaled down to fit above the taskbar.
    QImage huge(screen.width() * 3, 50, QImage::Format_RGB32);
    huge.fill(Qt::blue);
    const QString big = folder.filePath(QStringLiteral("big.png"));
    ASSERT_TRUE(huge.save(big));
    sh = load("3", big);
    EXPECT_LE(sh->Picture().width(), screen.width());
    EXPECT_LE(sh->geometry().height(), screen.height());
    EXPECT_GE(sh->geometry().left(), 0);

    // The user's picture is ignored when SuperHide chooses a built-in one.
    sh = load("0", good);
    EXPECT_EQ(sh->Picture().size(), QSize(169, 22));
}

TEST_F(QuickHide, OutOfRangeSettingLeavesTheDesignSizeAndPlace)
{
    frmSHide *sh = load("7");
    EXPECT_TRUE(sh->Picture().isNull());
    EXPECT_EQ(sh->size(), QSize(194, 65)); // 2910 x 975 twips
}

TEST_F(QuickHide, TheKeyEndsTheModeExactly)
{
    WriteSet(QStringLiteral("SHKey"), QStringLiteral("q"));
    frmSHide *sh = load("1");
    sh->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(sh));
    QSignalSpy unloading(sh, &frmSHide::unloading);
    QTest::keyClick(sh, 'Q');
    QTest::keyClick(sh, 'a');
    EXPECT_EQ(frmSHide::Loaded(), sh);
    EXPECT_EQ(unloading.count(), 0);
    QTest::keyClick(sh, 'q');
    EXPECT_EQ(frmSHide::Loaded(), nullptr);
    EXPECT_EQ(unloading.count(), 1);
    EXPECT_FALSE(sh->isVisible());

    // The next use loads a fresh window.
    frmSHide *again = frmSHide::Load();
    EXPECT_NE(again, nullptr);
    EXPECT_EQ(frmSHide::Loaded(), again);

    for (const char *key : {"", "qq"}) {
        WriteSet(QStringLiteral("SHKey"), QString::fromUtf8(key));
        again->Form_KeyPress('q');
        EXPECT_EQ(frmSHide::Loaded(), again) << key;
    }
}

TEST_F(QuickHide, APressShowsTheMoveCursor)
{
    frmSHide *sh = load("0");
    sh->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(sh));
    QTest::mousePress(sh, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(sh->cursor().shape(), Qt::SizeAllCursor);
    QTest::mouseRelease(sh, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(sh->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(frmSHide::Loaded(), sh);
}

TEST(About, PanelsGlideInFromBothSides)
{
    frmAbout about(nullptr);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("关于 Tessivane 网页浏览器（第二代）"));
    EXPECT_EQ(about.size(), QSize(537, 409));
    EXPECT_DOUBLE_EQ(TLeft(about.picTxts), TScaleWidth(&about));
    EXPECT_DOUBLE_EQ(TLeft(about.picFrm), -TWidth(about.picFrm));
    EXPECT_TRUE(about.tmrSTxts->isEnabled());
    about.tmrSTxts_Timer();
    EXPECT_LT(TLeft(about.picTxts), TScaleWidth(&about));
    EXPECT_DOUBLE_EQ(TLeft(about.picFrm), -TLeft(about.picTxts));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !about.tmrSTxts->isEnabled(); }, 10000));
    EXPECT_DOUBLE_EQ(TLeft(about.picTxts), 0);
    EXPECT_DOUBLE_EQ(TTop(about.picTxts), 4080);
    EXPECT_DOUBLE_EQ(TLeft(about.picFrm), 0);
    EXPECT_EQ(about.lblWeb[0]->text(), QStringLiteral("官方网站"));
    EXPECT_EQ(about.lblWeb[1]->text(), QStringLiteral("贴吧讨论"));
    EXPECT_EQ(about.lblShow[1]->text(), QStringLiteral("版本: 1.10.34 Beta3 (公共测试版)"));
    EXPECT_EQ(about.lblShow[3]->text(),
              QStringLiteral("Tessivane2 继承了第一代简洁至极的特点，做出了Trident内核上的诸多创新"));
    EXPECT_NE(frmAbout::WebAddress(0), frmAbout::WebAddress(1));
    EXPECT_EQ(frmAbout::WebAddress(1), frmAbout::WebAddress(5));
}

TEST(About, CloseImageShowsTheRedSquareWhileHeldAndCloses)
{
    frmAbout about(nullptr);
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    QTest::mousePress(about.imgCtrl, Qt::LeftButton);
    EXPECT_TRUE(about.lblCtrl->isVisible());
    QTest::mouseRelease(about.imgCtrl, Qt::LeftButton);
    EXPECT_FALSE(about.lblCtrl->isVisible());
    EXPECT_FALSE(about.isVisible());
}

TEST(About, OkCloses)
{
    frmAbout about(nullptr);
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    EXPECT_EQ(about.cmdOK->Caption(), QStringLiteral("确定"));
    QTest::mouseClick(about.cmdOK, Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

TEST(About, DraggingTheBackgroundOrTheCaptionMovesTheWindow)
{
    frmAbout about(nullptr);
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    for (QWidget *w : {static_cast<QWidget *>(&about), static_cast<QWidget *>(about.lblCaption)}) {
        const QPoint start = about.pos();
        const QPoint p = w == &about ? QPoint(20, 440 / 15) : QPoint(10, 10);
        QTest::mousePress(w, Qt::LeftButton, {}, p);
        QMouseEvent move(QEvent::MouseMove, QPointF(p + QPoint(30, 20)), QPointF(w->mapToGlobal(p + QPoint(30, 20))),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
        QTest::mouseRelease(w, Qt::LeftButton, {}, p + QPoint(30, 20));
        EXPECT_EQ(about.pos(), start + QPoint(30, 20));
    }
    // Another button does not drag.
    const QPoint start = about.pos();
    QTest::mousePress(&about, Qt::RightButton, {}, QPoint(20, 29));
    QMouseEvent move(QEvent::MouseMove, QPointF(60, 60), QPointF(about.mapToGlobal(QPoint(60, 60))), Qt::NoButton,
                     Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(&about, &move);
    EXPECT_EQ(about.pos(), start);
}
