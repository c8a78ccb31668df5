#include "clsCdlg.h"

#include "FileDialogs.h"
#include "Files.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString clsCdlg::ShowOpen(QWidget *owner, const QString &filter, const QString &title)
{
    FileName = FileDialogs::getOpenFileName(owner, filter, title, GetAppPath());
    return FileName;
}

QString clsCdlg::ShowSave(QWidget *owner, const QString &filter, const QString &title)
{
    FileName = FileDialogs::getSaveFileName(owner, filter, title, FileName.left(255),
                                            InitDir.isEmpty() ? DownloadFolder() : InitDir);
    return FileName;
}

QString DownloadFolder()
{
    const QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (!downloads.isEmpty() && QFileInfo(downloads).isDir())
        return downloads;
    return QDir::homePath();
}

QString DownloadExtension(const QString &suggestedName)
{
    const qsizetype dot = suggestedName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : suggestedName.mid(dot + 1);
}

QString DownloadTarget(const QString &chosen, const QString &ext)
{
    if (ext.isEmpty() || chosen.endsWith(QLatin1Char('.') + ext))
        return chosen;
    return chosen + QLatin1Char('.') + ext;
}

QString ChooseDownloadTarget(QWidget *owner, const QString &suggestedName)
{
    const QString ext = DownloadExtension(suggestedName);
    const QString filter = ext + QStringLiteral(" 文件") + QChar(0) + QStringLiteral("*.") + ext;
    clsCdlg dlg;
    dlg.FileName = suggestedName;
    for (;;) {
        const QString chosen = dlg.ShowSave(owner, filter, QStringLiteral("新建下载"));
        if (chosen.isEmpty())
            return QString();
        const QString target = DownloadTarget(chosen, ext);
        if (FileDialogs::mayWrite(owner, target))
            return target;
        const QFileInfo fi(target);
        // Asked again where the refused name was chosen.
        dlg.FileName = fi.fileName();
        dlg.InitDir = fi.absolutePath();
    }
}
