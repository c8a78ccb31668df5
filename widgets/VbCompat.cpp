#include "VbCompat.h"

#include <cctype>
#include <cmath>

long long RoundHalfEven(double v)
{
    if (!std::isfinite(v))
        return 0;
    return static_cast<long long>(std::nearbyint(v)); // default rounding mode: to nearest, ties to even
}

std::optional<double> ToNumber(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    if (t.size() > 2 && t.at(0) == QLatin1Char('&')) {
        const QChar kind = t.at(1).toUpper();
        int base = kind == QLatin1Char('H') ? 16 : kind == QLatin1Char('O') ? 8 : 0;
        if (base == 0)
            return std::nullopt;
        QString digits = t.mid(2);
        if (digits.endsWith(QLatin1Char('&'))) // a long-integer suffix
            digits.chop(1);
        // Only the digits of the base: the converter below would also take
        // a sign, blanks or a "0x" prefix.
        for (const QChar c : digits) {
            const bool digit = base == 16 ? c.unicode() < 0x80 && isxdigit(c.unicode())
                                          : c >= QLatin1Char('0') && c <= QLatin1Char('7');
            if (!digit)
                return std::nullopt;
        }
        bool ok = false;
        const qulonglong u = digits.toULongLong(&ok, base);
        if (!ok || u > 0xFFFFFFFFull)
            return std::nullopt;
        // Up to four hex digits form a 16-bit integer, more a 32-bit one, both signed.
        if (base == 16 && digits.size() <= 4)
            return double(static_cast<qint16>(static_cast<quint16>(u)));
        return double(static_cast<qint32>(static_cast<quint32>(u)));
    }
    bool ok = false;
    const double d = t.toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return std::nullopt;
    return d;
}

bool FlagOn(const QString &value)
{
    const auto n = ToNumber(value);
    return n && *n == 1.0;
}

double LeadingNumber(const QString &text)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    if (i < t.size() && (t.at(i) == QLatin1Char('+') || t.at(i) == QLatin1Char('-')))
        ++i;
    while (i < t.size() && (t.at(i).isDigit() || t.at(i) == QLatin1Char('.')))
        ++i;
    for (qsizetype len = i; len > 0; --len) {
        bool ok = false;
        const double d = t.left(len).toDouble(&ok);
        if (ok)
            return d;
    }
    return 0;
}
