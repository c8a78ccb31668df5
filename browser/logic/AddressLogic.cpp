#include "AddressLogic.h"

#include "VbCompat.h"

namespace AddressLogic {

double ZoomValue(const QString &caption)
{
    QString t = caption;
    t.remove(QLatin1Char('%'));
    const auto n = ToNumber(t);
    return n ? *n : double(kZoomDefault);
}

std::optional<int> ZoomStep(const QString &caption, int index)
{
    const double v = ZoomValue(caption);
    // Far outside the limits any value is refused; keep the arithmetic in range.
    if (v < -1e9 || v > 1e9)
        return std::nullopt;
    long long n = RoundHalfEven(v);
    if (index == 0) {
        n += kZoomStep;
        if (n > kZoomMax)
            return std::nullopt;
    } else {
        n -= kZoomStep;
        if (n < kZoomMin)
            return std::nullopt;
    }
    return int(n);
}

QString SearchText(const QString &typed)
{
    // Everything but letters, digits and "-._~" is escaped: "#", "&", "+",
    // "=" and spaces would otherwise end or change the search address's query.
    return QString::fromLatin1(typed.toUtf8().toPercentEncoding());
}

EnterAction Enter(const QString &boxText, const QString &selected, bool seledSearch, const QString &searchPrefix)
{
    EnterAction a;
    if (boxText.isEmpty() || selected.isEmpty())
        return a;
    if (seledSearch) {
        a.url = searchPrefix + SearchText(selected);
        return a;
    }
    a.url = selected;
    a.record = selected;
    return a;
}

} // namespace AddressLogic
