#pragma once

#include <QString>
#include <QStringList>

// A download request as it arrives on the command line or from a later start:
// "Show" in any case shows the window; any other text is the address and the
// full target path joined by "@@" (see DownloadRequest.h: the address ends at
// the first "@@", the path is the whole rest), both used unchanged; a text
// without "@@" carries no download.
struct DwnRequest
{
    bool show = false;
    bool hasDownload = false;
    QString url;
    QString path;
};

DwnRequest ParseDwnRequest(const QString &text);

// The request on a command line: the arguments after the program's path,
// joined by one blank (the starters pass it as one argument; a shell may
// have split a path with blanks).
QString DwnCommandLine(const QStringList &arguments);
