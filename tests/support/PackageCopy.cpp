#include "PackageCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

bool CopyTree(const QString &from, const QString &to)
{
    QDir src(from);
    if (!QDir().mkpath(to))
        return false;
    for (const QFileInfo &fi : src.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString dest = to + QLatin1Char('/') + fi.fileName();
        if (fi.isDir() ? !CopyTree(fi.filePath(), dest) : !QFile::copy(fi.filePath(), dest))
            return false;
    }
    return true;
}

bool CopyPackage(const QString &to)
{
    return CopyTree(QStringLiteral(TESSIVANE_SOURCE_DIR "/package"), to);
}

QString DataUrl(const char *title)
{
    return QStringLiteral("data:text/html,<title>%1</title>%1").arg(QLatin1String(title));
}
