#include "Main.h"
#include "Twips.h"
#include "VbCompat.h"
#include "VbTimer.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>

namespace {
TEST(VbCompat, RoundHalfEven)
{
    struct Row { double in; long long out; };
    const Row rows[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2},
                        {0.49999, 0}, {0.50001, 1}, {7.4, 7}, {-7.6, -8}, {1e12 + 0.5, 1000000000000LL},
                        {std::nan(""), 0}, {INFINITY, 0}};
    for (const Row &r : rows)
        EXPECT_EQ(RoundHalfEven(r.in), r.out) << r.in;
}

TEST(VbCompat, ToNumber)
{
    struct Row { const char *text; bool ok; double value; };
    const Row rows[] = {
        {"", false, 0},          {"   ", false, 0},        {" 12 ", true, 12},       {"1.5", true, 1.5},
        {"-3", true, -3},        {"+4", true, 4},          {"1e3", true, 1000},      {".5", true, 0.5},
        {"&HFF", true, 255},     {"&hff", true, 255},      {"&HEBEBEB", true, 15461355},
        {"&H00FFCB9B", true, 16763803}, {"&HFFFF", true, -1}, {"&H8000", true, -32768}, {"&H10000", true, 65536},
        {"&HFFFFFFFF", true, -1}, {"&H7FFFFFFF", true, 2147483647}, {"&H100000000", false, 0},
        {"&HFF&", true, 255},    {"&O17", true, 15},       {"&O8", false, 0},        {"&H", false, 0},
        {"&HZZ", false, 0},      {"&H0x1F", false, 0},     {"&H+1", false, 0},       {"&H-1", false, 0},
        {"&H 1F", false, 0},     {"&X1", false, 0},        {"abc", false, 0},        {"12abc", false, 0},
        {"0x10", false, 0},      {"1,5", false, 0},        {"nan", false, 0},        {"inf", false, 0},
        {"1e999", false, 0},     {"１２", false, 0},
    };
    for (const Row &r : rows) {
        const auto n = ToNumber(QString::fromUtf8(r.text));
        EXPECT_EQ(n.has_value(), r.ok) << r.text;
        if (n && r.ok) {
            EXPECT_EQ(*n, r.value) << r.text;
        }
    }
}

TEST(VbCompat, FlagOnAndLeadingNumber)
{
    struct Flag { const char *text; bool on; };
    const Flag flags[] = {{"1", true}, {" 1 ", true}, {"1.0", true}, {"01", true}, {"&H1", true},
                          {"0", false}, {"2", false}, {"", false}, {"on", false}, {"1x", false}, {"0.999", false}};
    for (const Flag &f : flags)
        EXPECT_EQ(FlagOn(QString::fromLatin1(f.text)), f.on) << f.text;

    struct Lead { const char *text; double value; };
    const Lead leads[] = {{" 12abc", 12}, {"3", 3}, {"", 0}, {"abc", 0}, {"-3x", -3}, {"1.5.2", 1.5}, {"2 3", 2}};
    for (const Lead &l : leads)
        EXPECT_EQ(LeadingNumber(QString::fromLatin1(l.text)), l.value) << l.text;
}

TEST(Twips, ExactRectanglesSurvivePixelRounding)
{
    struct Row { double twips; int px; };
    const Row rows[] = {{0, 0}, {15, 1}, {7.5, 0}, {22.5, 2}, {37.5, 2}, {375, 25}, {-15, -1}, {-22.5, -2}};
    for (const Row &r : rows)
        EXPECT_EQ(TwipsToPx(r.twips), r.px) << r.twips;

    QWidget parent;
    QWidget w(&parent);
    TwipsMove(&w, 100.3, 7.7, 1000.25, 333.3);
    EXPECT_DOUBLE_EQ(TLeft(&w), 100.3);
    EXPECT_DOUBLE_EQ(TTop(&w), 7.7);
    EXPECT_DOUBLE_EQ(TWidth(&w), 1000.25);
    EXPECT_DOUBLE_EQ(THeight(&w), 333.3);
    EXPECT_EQ(w.geometry(), QRect(7, 1, 67, 22));
    // A negative width or height keeps the current one.
    TwipsMove(&w, 30, 45);
    EXPECT_DOUBLE_EQ(TWidth(&w), 1000.25);
    EXPECT_DOUBLE_EQ(THeight(&w), 333.3);
    SetTWidth(&w, 4815);
    EXPECT_EQ(w.width(), 321);
    // Moved by other means: the pixels count.
    w.setGeometry(10, 20, 30, 40);
    EXPECT_DOUBLE_EQ(TLeft(&w), 150);
    EXPECT_DOUBLE_EQ(THeight(&w), 600);
    parent.resize(200, 100);
    EXPECT_DOUBLE_EQ(TScaleWidth(&parent), 3000);
    EXPECT_DOUBLE_EQ(TScaleHeight(&parent), 1500);
}

// Drives a glide as its timer would and returns the number of ticks.
int glide(QWidget *w, float l, float t, float wd, float h, int speed, VbTimer *tmr, const QString &tag, int maxTicks = 500)
{
    tmr->setEnabled(true);
    int ticks = 0;
    while (tmr->isEnabled() && ticks < maxTicks) {
        SlideCtl(w, l, t, wd, h, speed, tmr, tag);
        ++ticks;
    }
    return ticks;
}

TEST(SlideCtl, AtTargetEndsInOneCall)
{
    QWidget parent;
    QWidget w(&parent);
    VbTimer tmr;
    TwipsMove(&w, 0, 375, 4815, 6000);
    tmr.Tag = QStringLiteral("old");
    EXPECT_EQ(glide(&w, 0, 375, 4815, 6000, 5, &tmr, QStringLiteral("1")), 1);
    EXPECT_EQ(tmr.Tag, QStringLiteral("1"));
    EXPECT_FALSE(tmr.isEnabled());
}

TEST(SlideCtl, SpeedFiveTakesAFifthAndArrivesExactly)
{
    QWidget parent;
    QWidget w(&parent);
    VbTimer tmr;
    TwipsMove(&w, 375, 0, 375, 285);
    tmr.setEnabled(true);
    SlideCtl(&w, 0, 0, 4000, 285, 5, &tmr, QString());
    EXPECT_FLOAT_EQ(float(TLeft(&w)), 300);
    EXPECT_FLOAT_EQ(float(TWidth(&w)), 375 + (4000 - 375) / 5.0f);
    EXPECT_TRUE(tmr.isEnabled());

    // The glide ends in the tick in which every step is at most 0.5.
    float left = float(TLeft(&w)), width = float(TWidth(&w));
    int expectedTicks = 0;
    for (;;) {
        ++expectedTicks;
        const float s1 = left / 5, s2 = (4000 - width) / 5;
        left -= s1;
        width += s2;
        if (RoundHalfEven(s1) == 0 && RoundHalfEven(s2) == 0)
            break;
    }
    tmr.Tag = QStringLiteral("1");
    EXPECT_EQ(glide(&w, 0, 0, 4000, 285, 5, &tmr, QString()), expectedTicks);
    EXPECT_EQ(TLeft(&w), 0);
    EXPECT_EQ(TWidth(&w), 4000);
    EXPECT_EQ(w.geometry(), QRect(0, 0, 267, 19));
    EXPECT_EQ(tmr.Tag, QString());
}

TEST(SlideCtl, GlidesWhosePixelsRoundStillArrive)
{
    struct Row { TwipsRect from; TwipsRect to; int speed; };
    const Row rows[] = {
        {{0, 0, 375, 285}, {7, 0, 375, 285}, 5},          // less than a pixel to go
        {{0, -9000, 4815, 9000}, {0, 375, 4815, 9000}, 5},  // a panel falling in
        {{6015, 375, 6015, 4335}, {-6015, 375, 6015, 4335}, 3},
        {{10, 10, 10, 10}, {11.3f, 9.1f, 100.7f, 0}, 2},
        {{0, 0, 100, 100}, {1000, 1000, 1000, 1000}, 1},
    };
    for (const Row &r : rows) {
        QWidget parent;
        QWidget w(&parent);
        VbTimer tmr;
        SetTwips(&w, r.from);
        const int ticks = glide(&w, float(r.to.left), float(r.to.top), float(r.to.width), float(r.to.height), r.speed,
                                &tmr, QStringLiteral("1"));
        EXPECT_LT(ticks, 500);
        EXPECT_FALSE(tmr.isEnabled());
        EXPECT_EQ(tmr.Tag, QStringLiteral("1"));
        EXPECT_FLOAT_EQ(float(TLeft(&w)), float(r.to.left));
        EXPECT_FLOAT_EQ(float(TTop(&w)), float(r.to.top));
        EXPECT_FLOAT_EQ(float(TWidth(&w)), float(r.to.width));
        EXPECT_FLOAT_EQ(float(THeight(&w)), float(r.to.height));
    }
    // A control moved by other means between ticks glides on from where it is.
    QWidget parent;
    QWidget w(&parent);
    VbTimer tmr;
    TwipsMove(&w, 0, 0, 375, 285);
    tmr.setEnabled(true);
    SlideCtl(&w, 3000, 0, 375, 285, 5, &tmr, QString());
    w.move(100, 0);
    EXPECT_LT(glide(&w, 3000, 0, 375, 285, 5, &tmr, QStringLiteral("x")), 500);
    EXPECT_DOUBLE_EQ(TLeft(&w), 3000);
    SlideCtl(nullptr, 0, 0, 0, 0, 5, &tmr, QString()); // nothing to move: nothing happens
}

TEST(IsInside, VerticalOnlyAndStrict)
{
    QWidget parent;
    QWidget outer(&parent), inner(&parent);
    TwipsMove(&outer, 0, 1000, 3000, 2000); // 1000 .. 3000
    struct Row { double left; double top; double height; bool inside; };
    const Row rows[] = {
        {0, 1500, 500, true},     {99999, 1500, 500, true}, {-5000, 1500, 500, true},
        {0, 1000, 500, false},    {0, 2500, 500, false},    {0, 1001, 1998, true},
        {0, 900, 500, false},     {0, 2900, 500, false},    {0, 3000, 10, false},
        {0, 1500, 0, true},
    };
    for (const Row &r : rows) {
        SetTwips(&inner, {r.left, r.top, 300, r.height});
        EXPECT_EQ(IsInside(&inner, &outer), r.inside) << r.top << " " << r.height;
    }
    EXPECT_FALSE(IsInside(nullptr, &outer));
    EXPECT_FALSE(IsInside(&inner, nullptr));
}

TEST(TaskBar, HeightBelowTheWorkArea)
{
    EXPECT_EQ(TaskBarHeight(1024, 984), 40);
    EXPECT_EQ(TaskBarHeight(1024, 1024), 0);
    EXPECT_EQ(TaskBarHeight(768, 0), 768);
    EXPECT_GE(GetTaskBarH(), 0);
}
} // namespace
