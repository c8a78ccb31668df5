#include "TabStrip.h"

#include "VbCompat.h"

#include <algorithm>
#include <cmath>

namespace TabStrip {

namespace {
// Tabs side by side from 0, each w wide; each left edge rounded (halves to even).
std::vector<Slot> SideBySide(std::vector<int>::const_iterator from, std::vector<int>::const_iterator to, float w)
{
    std::vector<Slot> out;
    long long x = 0;
    for (auto it = from; it != to; ++it) {
        out.push_back(Slot{*it, double(x), double(w)});
        x = RoundHalfEven(double(float(x) + w));
    }
    return out;
}
} // namespace

Layout Place(const std::vector<int> &openIndices, double stripScaleWidth, double addWebWidth, int first)
{
    Layout out;
    const int n = int(openIndices.size());
    if (n == 0)
        return out;
    const double room = stripScaleWidth - addWebWidth;
    const float w = float(room) / float(n);
    if (w < 0)
        return out;
    if (w >= kMinTabWidth) {
        out.tabs = SideBySide(openIndices.begin(), openIndices.end(), w);
        out.fit = n;
        return out;
    }
    out.scrolls = true;
    const double tabsRoom = std::max(0.0, room - 2 * kScrollButtonWidth);
    out.buttonsLeft = tabsRoom;
    out.fit = int(std::clamp(std::floor(tabsRoom / kMinTabWidth), 1.0, double(n)));
    out.first = std::clamp(first, 0, n - out.fit);
    if (tabsRoom <= 0)
        return out;
    const auto from = openIndices.begin() + out.first;
    out.tabs = SideBySide(from, from + out.fit, float(tabsRoom) / float(out.fit));
    return out;
}

int Reveal(int first, int fit, int pos)
{
    if (fit <= 0)
        return first;
    if (pos < first)
        return pos;
    if (pos >= first + fit)
        return pos - fit + 1;
    return first;
}

int SuccessorOnClose(const std::vector<int> &openIndices, int closing)
{
    int left = 0, right = 0;
    for (int i : openIndices) {
        if (i < closing)
            left = i;
        else if (i > closing && right == 0)
            right = i;
    }
    return left != 0 ? left : right;
}

double PageTop(double captionHeight, double addrWidth, double addrHeight)
{
    return addrWidth == 375 ? captionHeight : captionHeight + addrHeight;
}

} // namespace TabStrip
