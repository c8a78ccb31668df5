// The tools menu.
#include "frmMain.h"

#include "Files.h"
#include "ModalDialog.h"
#include "Mouse.h"
#include "QuickHideLogic.h"
#include "QuickHideWindows.h"
#include "frmAbout.h"
#include "frmSHide.h"
#include "frmTasks.h"
#include "ucTabs.h"
#include "ucWeb.h"

#include <QAction>

namespace tessivane {

void frmMain::mnuMc_Click(int index)
{
    // A failing item (no current page) does nothing.
    ucWeb *cur = Web(CurIdx);
    switch (index) {
    case 0:
        if (cur)
            cur->DoCommand(6);
        break;
    case 1:
        if (cur)
            cur->DoCommand(7);
        break;
    case 3:
        imgAddWeb_MouseUp(1, 0, 0, 0);
        break;
    case 4: {
        // Every open tab, lowest index first; the last one stays and shows the start page.
        const int highest = Tabs.ubound();
        for (int i = 1; i <= highest; ++i) {
            if (Tabs.exists(i))
                Tabs_TabClose(i);
        }
        break;
    }
    case 6:
        imgBM_Click();
        break;
    case 7:
        imgBM_Click();
        imgBM_DblClick();
        break;
    case 9:
        // Quick-hide: the small always-on-top picture stands in for the
        // browser until its key is typed on it. With a key that can never be
        // typed the browser would stay hidden for good, so it stays shown.
        if (!QuickHideKeyUsable(ReadSet(QStringLiteral("SHKey"))))
            break;
        if (frmSHide *sh = frmSHide::Load()) {
            // Every window of the browser goes, app windows and open questions included.
            QuickHideWindows::Enter(sh);
            sh->show();
            sh->raise();
            sh->activateWindow();
        }
        break;
    case 10:
        ShowLock();
        break;
    case 11: {
        QAction *item = mnuMc[11];
        item->setChecked(!item->isChecked());
        const bool on = item->isChecked();
        WriteSet(QStringLiteral("Mouse"), on ? QStringLiteral("1") : QStringLiteral("0"));
        if (on)
            HookMouse();
        else
            UnhookMouse();
        break;
    }
    case 15:
        frmTasks::Open();
        break;
    case 17: {
        // Modal: the browser waits until the window is closed.
        auto *about = new frmAbout(this);
        about->setAttribute(Qt::WA_DeleteOnClose);
        ExecModal(about);
        break;
    }
    case 18:
        close();
        break;
    default:
        // Settings and themes have no dialog.
        break;
    }
}

}  // namespace tessivane
