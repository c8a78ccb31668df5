// The tab control on the offscreen platform: progress strip, layout, events.
#include "Files.h"
#include "TabStrip.h"
#include "ProgramFolder.h"
#include "Twips.h"
#include "VbTimer.h"
#include "VbWidgets.h"
#include "ucTabs.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

class TabControl : public ::testing::Test
{
protected:
    void SetUp() override
    {
        tab = new ucTabs;
        TwipsMove(tab, 0, 0, 3000);
        tab->show();
    }
    void TearDown() override { delete tab; }
    bool glideEnds()
    {
        return QTest::qWaitFor([&] { return !tab->tmrSpeed->isActive(); }, 5000);
    }
    ucTabs *tab = nullptr;
};

TEST_F(TabControl, HostSetsOnlyPositionAndWidth)
{
    TwipsMove(tab, 120, 0, 3082.5, 900);
    EXPECT_DOUBLE_EQ(THeight(tab), 495);
    EXPECT_DOUBLE_EQ(TWidth(tab->picTab), TWidth(tab));
    // Close box flush right and centred vertically.
    EXPECT_NEAR(TLeft(tab->picCls) + TWidth(tab->picCls), TWidth(tab->picTab), 15);
    EXPECT_NEAR(TTop(tab->picCls), (495 - 255) / 2.0, 15);
}

TEST_F(TabControl, ProgressGlidesToItsWidthAndZeroHidesAtOnce)
{
    tab->setProgress(100);
    EXPECT_TRUE(tab->lblPro->isVisible());
    EXPECT_EQ(tab->Progress(), 100);
    ASSERT_TRUE(glideEnds());
    EXPECT_DOUBLE_EQ(TWidth(tab->lblPro), 3000);

    tab->setProgress(50);
    ASSERT_TRUE(glideEnds());
    EXPECT_DOUBLE_EQ(TWidth(tab->lblPro), 1500);

    tab->setProgress(0);
    EXPECT_FALSE(tab->lblPro->isVisible());
    EXPECT_DOUBLE_EQ(TWidth(tab->lblPro), 0);
    EXPECT_EQ(tab->Progress(), 0);

    // Below 0: glides down to nothing and stays shown; above 100 runs past the edge.
    tab->setProgress(40);
    ASSERT_TRUE(glideEnds());
    tab->setProgress(-1);
    ASSERT_TRUE(glideEnds());
    EXPECT_TRUE(tab->lblPro->isVisible());
    EXPECT_DOUBLE_EQ(TWidth(tab->lblPro), 0);
    tab->setProgress(150);
    ASSERT_TRUE(glideEnds());
    EXPECT_DOUBLE_EQ(TWidth(tab->lblPro), 4500);
}

TEST_F(TabControl, ResizeStopsTheGlideAtTheFinalWidth)
{
    tab->setProgress(50);
    ASSERT_TRUE(tab->tmrSpeed->isActive());
    TwipsMove(tab, 0, 0, 2000);
    EXPECT_FALSE(tab->tmrSpeed->isActive());
    EXPECT_DOUBLE_EQ(TWidth(tab->lblPro), 1000);
}

TEST_F(TabControl, LongCaptionIsElidedBeforeTheCloseBoxAndKeptWhole)
{
    const double left = TLeft(tab->lblCap);
    const QString title = QStringLiteral("一个很长很长很长很长很长很长很长很长很长很长很长很长很长很长很长很长的标题");
    for (const double width : {3000.0, TabStrip::kMinTabWidth, 6000.0}) {
        TwipsMove(tab, 0, 0, width);
        tab->setCaption(title);
        EXPECT_DOUBLE_EQ(TLeft(tab->lblCap), left);
        EXPECT_EQ(tab->Caption(), title);
        EXPECT_EQ(tab->lblCap->toolTip(), title);
        // The text shown ends before the close box, with "…" where it was cut.
        EXPECT_LE(TLeft(tab->lblCap) + TWidth(tab->lblCap), TLeft(tab->picCls) + 15) << width;
        EXPECT_TRUE(tab->lblCap->text().endsWith(QChar(0x2026))) << width;
        EXPECT_GE(tab->lblCap->text().size(), 2) << width; // at least one character and the ellipsis
    }
    // Narrowing the tab elides again; a short caption shows whole.
    TwipsMove(tab, 0, 0, 6000);
    tab->setCaption(QStringLiteral("短"));
    EXPECT_EQ(tab->lblCap->text(), QStringLiteral("短"));
}

TEST_F(TabControl, AtTheNarrowestWidthAClickBesideTheCloseBoxIsNoClose)
{
    TwipsMove(tab, 0, 0, TabStrip::kMinTabWidth);
    tab->setCaption(QStringLiteral("网页标题"));
    QSignalSpy up(tab, &ucTabs::MouseUp);
    QSignalSpy close(tab, &ucTabs::TabClose);
    const QRect box = tab->picCls->geometry();
    ASSERT_GT(box.left(), 0);
    // Every column of the face left of the close box reports a plain mouse up.
    for (int x = 1; x < box.left(); x += 4) {
        QWidget *hit = tab->childAt(QPoint(x, tab->height() / 2));
        ASSERT_TRUE(hit);
        EXPECT_NE(hit, tab->picCls) << x;
        QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(tab, QPoint(x, tab->height() / 2)));
    }
    EXPECT_EQ(close.count(), 0);
    EXPECT_GT(up.count(), 0);
    QTest::mouseClick(tab->picCls, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(close.count(), 1);
}

TEST_F(TabControl, MouseOnFaceCaptionAndCloseBox)
{
    QSignalSpy up(tab, &ucTabs::MouseUp);
    QSignalSpy click(tab, &ucTabs::Click);
    QSignalSpy close(tab, &ucTabs::TabClose);
    QTest::mouseClick(tab->picTab, Qt::MiddleButton, {}, QPoint(60, 10));
    ASSERT_EQ(up.count(), 1);
    EXPECT_EQ(up[0][0].toInt(), 4);
    EXPECT_EQ(up[0][2].toDouble(), 60 * 15);
    // The caption reports its own coordinates.
    QTest::mouseClick(tab->lblCap, Qt::LeftButton, {}, QPoint(2, 3));
    ASSERT_EQ(up.count(), 2);
    EXPECT_EQ(up[1][0].toInt(), 1);
    EXPECT_EQ(up[1][2].toDouble(), 30);
    EXPECT_EQ(click.count(), 2);
    // The close box raises only TabClose.
    QTest::mouseClick(tab->picCls, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(close.count(), 1);
    EXPECT_EQ(up.count(), 2);
    EXPECT_EQ(click.count(), 2);
}

TEST(TabControlTheme, WhiteFontIsReadForEveryNewTab)
{
    QTemporaryDir folder;
    setProgramFolderOverride(folder.path() + QLatin1Char('/'));
    WriteIni(QStringLiteral("Theme"), QStringLiteral("Theme"), QStringLiteral("T.ini"),
             GetAppPath() + QStringLiteral("config.ini"));
    const QString themeIni = GetAppPath() + QStringLiteral("Themes\\T.ini");
    QDir().mkpath(folder.path() + QStringLiteral("/Themes"));
    WriteIni(QStringLiteral("Clr"), QStringLiteral("WhiteFont"), QStringLiteral("1"), themeIni);
    {
        ucTabs white;
        EXPECT_EQ(white.lblCap->palette().color(QPalette::WindowText), QColor(Qt::white));
    }
    WriteIni(QStringLiteral("Clr"), QStringLiteral("WhiteFont"), QStringLiteral("0"), themeIni);
    {
        ucTabs plain;
        EXPECT_NE(plain.lblCap->palette().color(QPalette::WindowText), QColor(Qt::white));
    }
    setProgramFolderOverride(QString());
}

} // namespace
