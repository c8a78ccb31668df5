#include "StartupLogic.h"

#include "Files.h"
#include "VbCompat.h"

#include <QFileInfo>
#include <QAbstractButton>
#include <QMessageBox>

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

int ShowMessage(const QString &text, int icon, const QString &title, bool yesNo)
{
    QMessageBox box(static_cast<QMessageBox::Icon>(icon), title, text,
                    yesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok);
    if (yesNo) {
        box.button(QMessageBox::Yes)->setText(QStringLiteral("是(&Y)"));
        box.button(QMessageBox::No)->setText(QStringLiteral("否(&N)"));
    } else {
        box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    }
    return box.exec();
}
