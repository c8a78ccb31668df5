#include "DwnRequest.h"

DwnRequest ParseDwnRequest(const QString &text)
{
    DwnRequest r;
    if (text.toLower() == QLatin1String("show")) {
        r.show = true;
        return r;
    }
    const QStringList pieces = text.split(QStringLiteral("@@"));
    if (pieces.size() < 2)
        return r;
    r.hasDownload = true;
    r.url = pieces.at(0);
    r.path = pieces.at(1);
    return r;
}

QString DwnCommandLine(const QStringList &arguments)
{
    return arguments.mid(1).join(QLatin1Char(' '));
}
