// The toolbar (back with drag-right-for-forward, refresh, stop, tools menu)
// and the hotkey poll.
#include "frmMain.h"

#include "AsyncKeyState.h"
#include "ProgramFolder.h"
#include "ThemeColors.h"
#include "Twips.h"
#include "VbCompat.h"
#include "ucWeb.h"

#include <QMenu>
#include <QPixmap>

namespace tessivane {

void frmMain::ConnectToolbarEvents()
{
    for (int i = 0; i < 4; ++i) {
        connect(imgBtn[i], &VbImage::mouseMove, this,
                [this, i](int b, int s, double x, double y) { imgBtn_MouseMove(i, b, s, x, y); });
        connect(imgBtn[i], &VbImage::mouseUp, this,
                [this, i](int b, int s, double x, double y) { imgBtn_MouseUp(i, b, s, x, y); });
    }
    connect(tmrKey, &QTimer::timeout, this, &frmMain::tmrKey_Timer);
    connect(imgDwn, &VbImage::mouseUp, this, &frmMain::imgDwn_MouseUp);
}

void frmMain::imgBtn_MouseMove(int Index, int Button, int, double X, double)
{
    if (Button != 1) {
        DragX = int(RoundHalfEven(X));
        return;
    }
    // A drag to the right from the back button arms the forward action.
    if (Index == 0 && X > DragX + 100) {
        m_backTag = QStringLiteral("1");
        QPixmap p;
        if (p.load(toLocalPath(GetThemeDir() + QStringLiteral("Rt.bmp"))))
            imgBtn[0]->setPictureAutoSize(p);
    }
}

void frmMain::imgBtn_MouseUp(int Index, int, int, double, double)
{
    ucWeb *cur = Web(CurIdx);
    switch (Index) {
    case 0:
        if (m_backTag == QLatin1String("1")) {
            if (cur)
                cur->DoCommand(1);
            m_backTag.clear();
            QPixmap p;
            if (p.load(toLocalPath(GetThemeDir() + QStringLiteral("Lf.bmp"))))
                imgBtn[0]->setPictureAutoSize(p);
        } else if (cur) {
            cur->DoCommand(0);
        }
        break;
    case 1:
        if (cur)
            cur->DoCommand(3);
        break;
    case 2:
        if (cur)
            cur->DoCommand(2);
        ZOrderTop(imgBtn[1]);
        break;
    case 3: {
        const QPoint at(TwipsToPx(TLeft(imgBtn[3])), TwipsToPx(THeight(picCaption)));
        mnuMain->popup(mapToGlobal(at));
        break;
    }
    default:
        break;
    }
}

void frmMain::tmrKey_Timer()
{
    // A shortcut whose action waits in a dialog (save, print) must not start
    // the same action again at every tick while its keys stay down.
    if (m_inKeyPoll)
        return;
    m_inKeyPoll = true;
    // F4 and F2 act whichever program has the keyboard. The Ctrl combinations
    // belong to the browser's own windows: typed into another program they do
    // nothing here (each is still read, so a tap seen earlier is used up).
    const bool own = AsyncKeyState::ownWindowActive();
    auto ctrlWith = [own](int vk) { return AsyncKeyState::queryCtrl(vk) && own; };
    if (AsyncKeyState::query(115))
        mnuMc_Click(10);
    if (AsyncKeyState::query(113))
        mnuMc_Click(9);
    if (ctrlWith(83))
        mnuMc_Click(0);
    if (ctrlWith(80))
        mnuMc_Click(1);
    if (ctrlWith(84))
        mnuMc_Click(3);
    if (ctrlWith(87))
        Tabs_TabClose(CurIdx);
    if (ctrlWith(68))
        mnuMc_Click(6);
    m_inKeyPoll = false;
}

}  // namespace tessivane
