#include "QtProcesses.h"

#include "ChildProcess.h"

#include <QDesktopServices>
#include <QUrl>

bool QtProcesses::startDetached(const QString &program, const QStringList &arguments, bool hidden)
{
    if (program.isEmpty())
        return false;
    return ChildProcess::startDetached(program, arguments,
                                       hidden ? ChildProcess::Streams::Null : ChildProcess::Streams::Inherit);
}

bool QtProcesses::openDocument(const QString &path)
{
    if (path.isEmpty())
        return false;
    return ChildProcess::openDocument(path) || QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
