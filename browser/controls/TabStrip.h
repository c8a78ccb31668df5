#pragma once

#include <vector>

// The geometry and choices of the main window's tab strip, callable without a window.
namespace TabStrip {

// The narrowest a tab gets: room for its first characters beside its close
// box, so that the box never covers the whole tab (twips).
constexpr double kMinTabWidth = 1200;
// Each of the two buttons that scroll the strip when the tabs do not fit (twips).
constexpr double kScrollButtonWidth = 240;

struct Slot
{
    int index = 0;
    double left = 0;  // twips
    double width = 0; // twips
};

struct Layout
{
    std::vector<Slot> tabs;  // the tabs on the strip, left to right
    int first = 0;           // position among the open tabs of the first one on the strip
    int fit = 0;             // how many tabs the strip shows
    bool scrolls = false;    // more tabs are open than fit: the scroll buttons show
    double buttonsLeft = 0;  // left edge of the two scroll buttons (twips)
};

// Spreads the open tabs (indices in ascending order) over the strip:
// W = (strip inner width - new-tab button width) / open tabs in single
// precision; tab k starts where the previous one ended, rounded to whole twips
// (halves to even). When W would fall below kMinTabWidth, the two scroll
// buttons take their room at the right end and the strip shows as many whole
// tabs as fit, from position `first` on (kept within range), spread the same
// way. No tabs on the strip when no tab is open or the room comes out below 0.
Layout Place(const std::vector<int> &openIndices, double stripScaleWidth, double addWebWidth, int first = 0);

// The first position that brings position pos into a strip of fit tabs that
// starts at first, moving it as little as possible.
int Reveal(int first, int fit, int pos);

// The tab that becomes current when `closing` closes: the nearest open tab to
// its left, else the nearest to its right; 0 (the template) only when no other
// tab is open.
int SuccessorOnClose(const std::vector<int> &openIndices, int closing);

// Top of the pages: right under the caption bar while the address bar is
// collapsed to exactly 375 twips (it floats over the page), else under the bar.
double PageTop(double captionHeight, double addrWidth, double addrHeight);

} // namespace TabStrip
