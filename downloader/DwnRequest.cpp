#include "DwnRequest.h"

#include "DownloadRequest.h"

DwnRequest ParseDwnRequest(const QString &text)
{
    DwnRequest r;
    if (text.toLower() == QLatin1String("show")) {
        r.show = true;
        return r;
    }
    r.hasDownload = SplitDownloadRequest(text, &r.url, &r.path);
    return r;
}

QString DwnCommandLine(const QStringList &arguments)
{
    return arguments.mid(1).join(QLatin1Char(' '));
}
