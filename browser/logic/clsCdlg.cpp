#include "clsCdlg.h"

#include "FileDialogs.h"
#include "Files.h"

#include <QStringList>

QString clsCdlg::ShowOpen(QWidget *owner, const QString &filter, const QString &title)
{
    FileName = FileDialogs::getOpenFileName(owner, filter, title, GetAppPath());
    return FileName;
}

QString clsCdlg::ShowSave(QWidget *owner, const QString &filter, const QString &title)
{
    FileName = FileDialogs::getSaveFileName(owner, filter, title, FileName.left(255), GetAppPath());
    return FileName;
}

QString DownloadExtension(const QString &suggestedName)
{
    const QStringList parts = suggestedName.split(QLatin1Char('.'));
    return parts.size() > 1 ? parts.at(1) : QString();
}

QString DownloadTarget(const QString &chosen, const QString &ext)
{
    if (ext.isEmpty() || chosen.endsWith(QLatin1Char('.') + ext))
        return chosen;
    return chosen + QLatin1Char('.') + ext;
}
