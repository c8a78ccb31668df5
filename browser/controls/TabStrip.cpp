#include "TabStrip.h"

#include "VbCompat.h"

namespace TabStrip {

std::vector<Slot> Place(const std::vector<int> &openIndices, double stripScaleWidth, double addWebWidth)
{
    std::vector<Slot> out;
    if (openIndices.empty())
        return out;
    const float w = float(stripScaleWidth - addWebWidth) / float(openIndices.size());
    if (w < 0)
        return out;
    long long x = 0;
    for (int index : openIndices) {
        out.push_back(Slot{index, double(x), double(w)});
        x = RoundHalfEven(double(float(x) + w));
    }
    return out;
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
