#include "QtProcesses.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

bool QtProcesses::startDetached(const QString &program, const QStringList &arguments, bool hidden)
{
    if (program.isEmpty())
        return false;
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    if (hidden) {
        process.setStandardInputFile(QProcess::nullDevice());
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
    }
    return process.startDetached();
}

bool QtProcesses::openDocument(const QString &path)
{
    if (path.isEmpty())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
