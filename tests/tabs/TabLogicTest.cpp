// Tab strip geometry, the tab that follows a closed one, the page control's
// number and text rules, and the download file-name rule.
#include "PageRules.h"
#include "TabStrip.h"
#include "UrlFileName.h"

#include <gtest/gtest.h>

#include <QString>

#include <algorithm>
#include <string>

namespace {

TEST(TabStripPlace, SpreadsOpenTabsSideBySideInIndexOrder)
{
    // 6165 twips for two tabs: 3082.5 each, the second at 3082 (half to even).
    const auto two = TabStrip::Place({1, 3}, 6165 + 330, 330);
    ASSERT_EQ(two.tabs.size(), 2u);
    EXPECT_FALSE(two.scrolls);
    EXPECT_EQ(two.tabs[0].index, 1);
    EXPECT_DOUBLE_EQ(two.tabs[0].left, 0);
    EXPECT_DOUBLE_EQ(two.tabs[0].width, 3082.5);
    EXPECT_EQ(two.tabs[1].index, 3);
    EXPECT_DOUBLE_EQ(two.tabs[1].left, 3082);
    EXPECT_DOUBLE_EQ(two.tabs[1].width, 3082.5);

    struct Case
    {
        std::vector<int> open;
        double strip, add;
        std::vector<double> lefts;
    };
    const Case cases[] = {
        {{1}, 6495, 330, {0}},
        {{1, 2, 3}, 4000, 100, {0, 1300, 2600}},
        {{2, 5, 9}, 4030, 30, {0, 1333, 2666}},         // 1333.33.. steps, rounded each time
        {{1, 2}, 5001, 0, {0, 2500}},                   // 2500.5 rounds to the even 2500
        {{1, 2, 3, 4}, 5020, 10, {0, 1252, 2504, 3756}}, // 1252.5 each: the halves go to even
    };
    for (const Case &c : cases) {
        const auto placed = TabStrip::Place(c.open, c.strip, c.add);
        ASSERT_EQ(placed.tabs.size(), c.lefts.size());
        EXPECT_FALSE(placed.scrolls);
        for (size_t k = 0; k < placed.tabs.size(); ++k) {
            EXPECT_EQ(placed.tabs[k].index, c.open[k]);
            EXPECT_DOUBLE_EQ(placed.tabs[k].left, c.lefts[k]) << "tab " << k << " of " << c.open.size();
        }
    }
}

TEST(TabStripPlace, NothingToPlaceWhenNoTabOrNoRoom)
{
    EXPECT_TRUE(TabStrip::Place({}, 6000, 330).tabs.empty());
    EXPECT_TRUE(TabStrip::Place({1, 2}, 200, 330).tabs.empty());
}

std::vector<int> OneTo(int n)
{
    std::vector<int> out;
    for (int i = 1; i <= n; ++i)
        out.push_back(i);
    return out;
}

TEST(TabStripPlace, TabsNeverGetNarrowerThanTheMinimumAndStayInsideTheStrip)
{
    // The design strip, a wide one, and one that has room for a single tab only.
    for (const double strip : {6495.0, 17000.0, 2200.0}) {
        for (const int n : {1, 15, 40, 100}) {
            const std::vector<int> open = OneTo(n);
            for (const int first : {0, 7, n}) {
                const auto lay = TabStrip::Place(open, strip, 330, first);
                const std::string at = "strip " + std::to_string(strip) + ", " + std::to_string(n) + " tabs";
                ASSERT_FALSE(lay.tabs.empty()) << at;
                EXPECT_EQ(int(lay.tabs.size()), lay.fit) << at;
                // Tabs end before the scroll buttons, which end before the new-tab button.
                const double room = lay.scrolls ? lay.buttonsLeft : strip - 330;
                if (lay.scrolls) {
                    EXPECT_LE(lay.buttonsLeft + 2 * TabStrip::kScrollButtonWidth, strip - 330) << at;
                }
                EXPECT_EQ(lay.scrolls, n * TabStrip::kMinTabWidth > strip - 330) << at;
                for (size_t k = 0; k < lay.tabs.size(); ++k) {
                    const TabStrip::Slot &s = lay.tabs[k];
                    EXPECT_GE(s.width, TabStrip::kMinTabWidth) << at;
                    EXPECT_EQ(s.index, open[size_t(lay.first) + k]) << at;
                    EXPECT_LE(s.left + s.width, room + 0.5) << at;
                    if (k > 0) {
                        EXPECT_NEAR(s.left, lay.tabs[k - 1].left + lay.tabs[k - 1].width, 0.5) << at;
                    }
                }
                // The strip never runs past the last open tab.
                EXPECT_LE(lay.first + lay.fit, n) << at;
                EXPECT_EQ(lay.first, std::min(first, n - lay.fit)) << at;
            }
        }
    }
}

TEST(TabStripReveal, MovesTheStripAsLittleAsPossible)
{
    struct Case
    {
        int first, fit, pos, expected;
    };
    const Case cases[] = {
        {0, 4, 2, 0},   // already on the strip
        {5, 4, 8, 5},   // the last one on it
        {5, 4, 9, 6},   // one past the right end
        {5, 4, 30, 27}, // far right: it becomes the last one on the strip
        {5, 4, 4, 4},   // one past the left end
        {5, 4, 0, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TabStrip::Reveal(c.first, c.fit, c.pos), c.expected) << c.first << " " << c.pos;
}

TEST(TabStripSuccessor, NearestLeftElseNearestRightNeverTheTemplate)
{
    struct Case
    {
        std::vector<int> open;
        int closing;
        int expected;
    };
    const Case cases[] = {
        {{1, 2, 3}, 2, 1},
        {{1, 2, 3}, 3, 2},
        {{1, 2, 3}, 1, 2},    // leftmost: its right neighbour
        {{4, 7, 9}, 4, 7},    // gaps are skipped
        {{2, 5, 6}, 6, 5},
        {{3, 8}, 8, 3},
        {{5}, 5, 0},          // nothing else open
    };
    for (const Case &c : cases)
        EXPECT_EQ(TabStrip::SuccessorOnClose(c.open, c.closing), c.expected) << "closing " << c.closing;
}

TEST(TabStripPageTop, CollapsedAddressBarFloatsOverThePage)
{
    EXPECT_DOUBLE_EQ(TabStrip::PageTop(495, 375, 320), 495);
    EXPECT_DOUBLE_EQ(TabStrip::PageTop(495, 376, 320), 815);
    EXPECT_DOUBLE_EQ(TabStrip::PageTop(495, 12000, 320), 815);
    EXPECT_DOUBLE_EQ(TabStrip::PageTop(495, 374.5, 320), 815); // half-way through a glide
}

TEST(PageProgress, WholePercentHalvesToEvenNotClamped)
{
    struct Case
    {
        double p, max;
        int expected;
    };
    const Case cases[] = {
        {50, 200, 25}, {1, 8, 12}, {3, 8, 38}, {5, 8, 62}, {100, 100, 100},
        {-1, 100, -1}, {-1, 1000000, 0}, {150, 100, 150}, {0, 100, 0},
    };
    for (const Case &c : cases) {
        const auto r = PageRules::ProgressPercent(c.p, c.max);
        ASSERT_TRUE(r.has_value());
        EXPECT_EQ(*r, c.expected) << c.p << " of " << c.max;
    }
    EXPECT_FALSE(PageRules::ProgressPercent(10, 0).has_value());
}

TEST(PageTitles, ErrorPanelAndNavigationPageRules)
{
    EXPECT_EQ(PageRules::PageTitle(QStringLiteral("Page"), false), QStringLiteral("Page"));
    EXPECT_EQ(PageRules::PageTitle(QStringLiteral("Page"), true), QStringLiteral("Tessivane 无法载入页面"));
    EXPECT_EQ(PageRules::PageTitle(QStringLiteral("about:nav"), true), QStringLiteral("Tessivane 导航"));
    EXPECT_EQ(PageRules::PageTitle(QStringLiteral("about:nav"), false), QStringLiteral("Tessivane 导航"));
    EXPECT_EQ(PageRules::PageTitle(QStringLiteral("About:Nav"), false), QStringLiteral("About:Nav"));
}

TEST(PageErrors, SuppressedAddressesAndTheErrorText)
{
    EXPECT_TRUE(PageRules::SuppressesErrorPanel(QStringLiteral("JavaScript:void(0)")));
    EXPECT_TRUE(PageRules::SuppressesErrorPanel(QStringLiteral("http://JAVA.example/")));
    EXPECT_TRUE(PageRules::SuppressesErrorPanel(QStringLiteral("http://x/a/jAvA/b")));
    EXPECT_TRUE(PageRules::SuppressesErrorPanel(QStringLiteral("http://WWW.Baidu.com/s?wd=x")));
    EXPECT_FALSE(PageRules::SuppressesErrorPanel(QStringLiteral("http://example.com/jav/a")));
    EXPECT_TRUE(PageRules::ErrorText(404).startsWith(
        QStringLiteral("这个页面暂时无法显示，您可以尝试刷新页面\r\n或者从搜索引擎检索该网站的相关信息\r\n\r\n错误代码 404")));
    EXPECT_TRUE(PageRules::ErrorText(-102).contains(QStringLiteral("错误代码 -102")));
}

TEST(UrlFileNames, TextAfterLastSlashThenAfterFirstQuestionMark)
{
    struct Case
    {
        QString url, expected;
    };
    const Case cases[] = {
        {QStringLiteral("http://h/d/setup.exe"), QStringLiteral("setup.exe")},
        {QStringLiteral("http://h/get.php?f=a.zip"), QStringLiteral("f=a.zip")},
        {QStringLiteral("http://h/files/a.zip?x=1"), QStringLiteral("x=1")},
        {QStringLiteral("http://h/d/"), QString()},
        {QStringLiteral("noslash"), QStringLiteral("noslash")},
        {QStringLiteral("a?b?c"), QStringLiteral("b?c")},
        {QStringLiteral("http://h/p?q=/x/y.zip"), QStringLiteral("y.zip")},
        {QString(), QString()},
    };
    for (const Case &c : cases)
        EXPECT_EQ(GetUrlFileName(c.url), c.expected) << c.url.toStdString();
}

TEST(UrlFileNames, SixteenBitCounterLimits)
{
    const QString longest = QStringLiteral("/") + QString(32766, QLatin1Char('a'));
    EXPECT_EQ(GetUrlFileName(longest).size(), 32766);
    EXPECT_EQ(GetUrlFileName(QString(32767, QLatin1Char('a'))), QString());
    EXPECT_EQ(GetUrlFileName(QStringLiteral("/") + QString(32767, QLatin1Char('a'))), QString());
    EXPECT_EQ(GetUrlFileName(QString(32766, QLatin1Char('a'))).size(), 32766);
}

} // namespace
