#include "frmMain.h"

#include "PictureFile.h"
#include "ProgramFolder.h"
#include "ThemeColors.h"
#include "Twips.h"

#include "ucListBox.h"

#include <QPixmap>

namespace tessivane {

namespace {

void SetTextBoxColors(QLineEdit *txt, long back, const long *fore)
{
    QPalette pal = txt->palette();
    pal.setColor(QPalette::Base, VbColor(back));
    pal.setColor(QPalette::Window, VbColor(back));
    if (fore)
        pal.setColor(QPalette::Text, VbColor(*fore));
    txt->setPalette(pal);
}

// A frame picture that cannot be read whole counts as missing: a bitmap cut
// short would otherwise show black blocks for buttons.
bool LoadPicture(const QString &path, QPixmap *out)
{
    const QImage img = ReadWholePicture(toLocalPath(path));
    if (img.isNull())
        return false;
    *out = QPixmap::fromImage(img);
    return true;
}

} // namespace

bool frmMain::LoadTheme()
{
    ThemeData d;
    if (!ReadThemeData(&d))
        return false;

    // Every picture is read before anything is applied, so a theme that
    // cannot be loaded leaves nothing half-coloured behind.
    const QString dir = GetThemeDir();
    static const char *const btnFiles[4] = {"Lf.bmp", "Rf.bmp", "St.bmp", "Wr.bmp"};
    static const char *const ctrlFiles[4] = {"Cl.bmp", "Mx.bmp", "Mn.bmp", "Ap.bmp"};
    QPixmap btn[4], ctrl[4], addr;
    for (int i = 0; i < 4; ++i) {
        if (!LoadPicture(dir + QLatin1String(btnFiles[i]), &btn[i])
            || !LoadPicture(dir + QLatin1String(ctrlFiles[i]), &ctrl[i]))
            return false;
    }
    if (!LoadPicture(dir + QStringLiteral("Tx.bmp"), &addr))
        return false;

    ClrMain = d.main;
    ClrTabAct = d.tabAct;
    ClrTabNrm = d.tabNrm;
    ClrToolBar = d.toolBar;

    QPalette pal = palette();
    pal.setColor(QPalette::Window, VbColor(ClrToolBar));
    setPalette(pal);
    picCaption->setBackColor(ClrToolBar);
    picTabBar->setBackColor(ClrToolBar);
    picAddr->setBackColor(ClrToolBar);
    lstAddr->setBackColor(ClrMain);
    lstAddr->setSelColor(ClrToolBar);
    picSta->setBackColor(ClrToolBar);
    SetTextBoxColors(txtPass, ClrToolBar, nullptr);
    SetTextBoxColors(txtAddr, ClrMain, nullptr);
    picZoom->setBackColor(ClrMain);
    picPass->setBackColor(ClrMain);
    picPassCore->setBackColor(picPass->backColor());

    for (int i = 0; i < 4; ++i) {
        imgBtn[i]->setPictureAutoSize(btn[i]);
        imgCtrl[i]->setPictureAutoSize(ctrl[i]);
    }
    picAddr->setPicture(addr);

    const double captionH = THeight(picCaption);
    for (int i = 0; i < 4; ++i) {
        SetTTop(imgBtn[i], (captionH - THeight(imgBtn[i])) / 2);
        SetTTop(imgCtrl[i], (captionH - THeight(imgCtrl[i])) / 2);
    }

    if (d.whiteFont) {
        const long white = 0xFFFFFF;
        for (VbImage *l : {lblShow[0], lblShow[1], lblZmVl, lblPlMi[0], lblPlMi[1], lblSta})
            l->setForeColor(white);
        SetTextBoxColors(txtAddr, ClrMain, &white);
        SetTextBoxColors(txtPass, ClrToolBar, &white);
        lstAddr->setForeColor(white);
    }
    return true;
}

}  // namespace tessivane
