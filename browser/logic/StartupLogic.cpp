#include "StartupLogic.h"

#include "Files.h"
#include "VbCompat.h"

#include <QFileInfo>
#include <QUrl>

CommandKind ClassifyCommandLine(const QString &commandLine)
{
    if (commandLine.isEmpty())
        return CommandKind::Empty;
    if (commandLine.endsWith(QStringLiteral(".vkt")))
        return CommandKind::Bookmark;
    if (commandLine.endsWith(QStringLiteral(".zelp")))
        return CommandKind::Package;
    return CommandKind::Address;
}

QString StripArgument(const QString &text)
{
    QString s = text;
    s.remove(QLatin1Char('"'));
    s.remove(QStringLiteral("%1"));
    return s;
}

QString ForwardedCommand(const QString &commandLine)
{
    switch (ClassifyCommandLine(commandLine)) {
    case CommandKind::Empty:
        return QStringLiteral("OpenNew");
    case CommandKind::Bookmark:
        return QStringLiteral("DDEOpen") + ReadTxt(commandLine);
    default:
        break;
    }
    QString arg = StripArgument(commandLine);
    const QFileInfo info(arg);
    if (!arg.isEmpty() && info.isRelative() && info.isFile())
        arg = info.absoluteFilePath();
    return QStringLiteral("DDEOpen") + arg;
}

int ZoomSetting()
{
    const auto n = ToNumber(ReadSet(QStringLiteral("Zoom")));
    return n ? int(RoundHalfEven(*n)) : 100;
}

QString StoredPageAddress(const QString &address)
{
    const QUrl url(address, QUrl::TolerantMode);
    if (!url.isValid() || url.scheme().isEmpty())
        return address;
    return QString::fromLatin1(url.toEncoded());
}
