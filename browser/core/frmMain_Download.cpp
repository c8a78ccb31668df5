// Downloads go to Dunmora, the download manager beside the browser.
#include "frmMain.h"

#include "DwnHandOff.h"
#include "Files.h"
#include "VbCompat.h"
#include "clsCdlg.h"

namespace tessivane {

void frmMain::imgDwn_MouseUp(int, int, double, double)
{
    ShowDunmora();
}

void frmMain::Web_FilDwn(int, const QString &Url, QString *FileName)
{
    m_downloadTaken = false;
    if (!FlagOn(ReadSet(QStringLiteral("AutoDownload"))))
        return;
    const QString target = ChooseDownloadTarget(this, FileName ? *FileName : QString());
    if (target.isEmpty())
        return;
    if (HandDownloadToDunmora(Url, target))
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
