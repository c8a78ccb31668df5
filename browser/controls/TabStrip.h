#pragma once

#include <vector>

// The geometry and choices of the main window's tab strip, callable without a window.
namespace TabStrip {

struct Slot
{
    int index = 0;
    double left = 0;  // twips
    double width = 0; // twips
};

// Spreads the open tabs (indices in ascending order) over the strip:
// W = (strip inner width - new-tab button width) / open tabs in single
// precision; tab k starts where the previous one ended, rounded to whole twips
// (halves to even). Empty when no tab is open or W comes out below 0.
std::vector<Slot> Place(const std::vector<int> &openIndices, double stripScaleWidth, double addWebWidth);

// The tab that becomes current when `closing` closes: the nearest open tab to
// its left, else the nearest to its right; 0 (the template) only when no other
// tab is open.
int SuccessorOnClose(const std::vector<int> &openIndices, int closing);

// Top of the pages: right under the caption bar while the address bar is
// collapsed to exactly 375 twips (it floats over the page), else under the bar.
double PageTop(double captionHeight, double addrWidth, double addrHeight);

} // namespace TabStrip
