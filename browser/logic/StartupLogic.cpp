#include "StartupLogic.h"

#include "Files.h"
#include "InstanceChannel.h"
#include "ProgramFolder.h"
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

QString BrowserService()
{
    return QStringLiteral("Tessivane|Brw");
}

bool IsLaterStart(const QString &service)
{
    if (!QFileInfo::exists(toLocalPath(GetAppPath() + QStringLiteral("config.ini"))))
        return false;
    return InstanceChannel::isRunning(service);
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

std::optional<QString> StartPageAddress()
{
    const QString onOpen = ReadSet(QStringLiteral("OnOpen"));
    if (onOpen == QStringLiteral("0"))
        return ReadSet(QStringLiteral("HomePage"));
    if (onOpen == QStringLiteral("1"))
        return QStringLiteral("about:nav");
    if (onOpen == QStringLiteral("2"))
        return ReadSet(QStringLiteral("LastPage"));
    return std::nullopt;
}

bool IsStartPageAddress(const QString &address)
{
    const std::optional<QString> start = StartPageAddress();
    if (!start || start->trimmed().isEmpty() || address.trimmed().isEmpty())
        return false;
    const auto normal = [](const QString &a) {
        return QUrl::fromUserInput(a.trimmed()).adjusted(QUrl::StripTrailingSlash | QUrl::NormalizePathSegments);
    };
    return normal(*start) == normal(address);
}
