#include "UrlFileName.h"

QString GetUrlFileName(const QString &Url)
{
    constexpr int kMaxCount = 32767;
    const int n = Url.size();
    if (n > kMaxCount)
        return QString();
    // Backwards scan for the last "/"; the counter would overflow past 32767.
    int slash = -1;
    for (int i = n - 1; i >= 0; --i) {
        if (Url.at(i) == QLatin1Char('/')) {
            slash = i;
            break;
        }
    }
    if (slash < 0 && n == kMaxCount)
        return QString();
    QString name = Url.mid(slash + 1);
    const int q = name.indexOf(QLatin1Char('?'));
    if (q >= 0)
        name = name.mid(q + 1);
    return name;
}
