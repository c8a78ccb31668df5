#include "CommandLine.h"

#include "InstanceChannel.h"
#include "ProgramFolder.h"
#include "TextFile.h"

#include <QFileInfo>

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
        return QStringLiteral("DDEOpen") + TextFile::readWhole(commandLine);
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
    if (!QFileInfo::exists(toLocalPath(programFolder() + QStringLiteral("config.ini"))))
        return false;
    return InstanceChannel::isRunning(service);
}
