#include "DownloadRequest.h"

namespace {
const QString kSep = QStringLiteral("@@");

void appendEscaped(QString &out, QChar c)
{
    out += QStringLiteral("%%1").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
}
} // namespace

QString EncodeDownloadAddress(const QString &url)
{
    QString out;
    out.reserve(url.size());
    const qsizetype n = url.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = url.at(i);
        if (c == QLatin1Char('@')) {
            qsizetype end = i;
            while (end < n && url.at(end) == QLatin1Char('@'))
                ++end;
            // A lone "@" inside the address (user@host, /@name) stays as it is.
            if (end - i >= 2 || end == n) {
                for (qsizetype k = i; k < end; ++k)
                    out += QStringLiteral("%40");
            } else {
                out += c;
            }
            i = end - 1;
        } else if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
            appendEscaped(out, c);
        } else {
            out += c;
        }
    }
    return out;
}

QString JoinDownloadRequest(const QString &url, const QString &path)
{
    return EncodeDownloadAddress(url) + kSep + path;
}

bool SplitDownloadRequest(const QString &text, QString *url, QString *path)
{
    const qsizetype at = text.indexOf(kSep);
    if (at < 0)
        return false;
    if (url)
        *url = text.left(at);
    if (path)
        *path = text.mid(at + kSep.size());
    return true;
}
