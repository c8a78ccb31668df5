#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {
QString &overrideFolder()
{
    static QString folder;
    return folder;
}

QString withOneSlash(QString folder)
{
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}
} // namespace

QString programFolder()
{
    if (!overrideFolder().isEmpty())
        return overrideFolder();
    // A later start of the browser looks for its settings before any
    // application object exists.
    QString dir;
    if (QCoreApplication::instance())
        dir = QCoreApplication::applicationDirPath();
    if (dir.isEmpty())
        dir = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    return withOneSlash(dir);
}

void setProgramFolderOverride(const QString &folder)
{
    overrideFolder() = folder.isEmpty() ? QString() : withOneSlash(folder);
}

QString toLocalPath(const QString &path)
{
    // An absolute path outside the program folder is the user's own (a
    // download target, a package picked in a dialog): on this system "\" is
    // an ordinary character of a file name there, and stays as written.
    const QString folder = programFolder();
    qsizetype from = 0;
    if (path.startsWith(folder))
        from = folder.size();
    else if (path.startsWith(QLatin1Char('/')))
        return path;
    QString p = path;
    for (qsizetype i = from; i < p.size(); ++i) {
        if (p.at(i) == QLatin1Char('\\'))
            p[i] = QLatin1Char('/');
    }
    return p;
}
