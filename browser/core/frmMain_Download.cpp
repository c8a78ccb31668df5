// Downloads go to Dunmora, the download manager beside the browser.
#include "frmMain.h"

#include "Files.h"
#include "Processes.h"
#include "ProgramFolder.h"
#include "VbCompat.h"
#include "clsCdlg.h"

#include <QFileInfo>

namespace tessivane {

namespace {
QString DunmoraPath()
{
    return GetAppPath() + QStringLiteral("Dunmora");
}

bool DunmoraExists()
{
    return QFileInfo(toLocalPath(DunmoraPath())).isFile();
}
} // namespace

void frmMain::imgDwn_MouseUp(int, int, double, double)
{
    if (DunmoraExists())
        Processes::startDetached(toLocalPath(DunmoraPath()), {QStringLiteral("Show")});
}

void frmMain::Web_FilDwn(int, const QString &Url, QString *FileName)
{
    m_downloadTaken = false;
    if (!FlagOn(ReadSet(QStringLiteral("AutoDownload"))))
        return;
    const QString suggested = FileName ? *FileName : QString();
    const QString ext = DownloadExtension(suggested);
    clsCdlg dlg;
    dlg.FileName = suggested;
    const QString chosen = dlg.ShowSave(this, ext + QStringLiteral(" 文件") + QChar(0) + QStringLiteral("*.") + ext,
                                        QStringLiteral("新建下载"));
    if (chosen.isEmpty())
        return;
    const QString target = DownloadTarget(chosen, ext);
    if (!DunmoraExists())
        return;
    // The request is one argument: the address, "@@" and the target path.
    if (Processes::startDetached(toLocalPath(DunmoraPath()), {Url + QStringLiteral("@@") + target}))
        m_downloadTaken = true;
}

void frmMain::Web_DownloadHandOff(int, const QString &, bool *Taken)
{
    // Dunmora fetches the file: the engine's own transfer is dropped. A file
    // that did not go to Dunmora is saved by the page control itself.
    if (Taken)
        *Taken = m_downloadTaken;
    m_downloadTaken = false;
}

}  // namespace tessivane
