// Mouse gestures: what a finished gesture does.
#include "frmMain.h"

#include "GestureLogic.h"
#include "Mouse.h"
#include "ucWeb.h"

namespace tessivane {

void frmMain::DoMouse(const QString &SS)
{
    // The lock keeps the mouse away from the pages and tabs; a gesture must
    // not get round it.
    if (IsLocked())
        return;
    ucWeb *cur = Web(CurIdx);
    switch (GestureActionFor(SS)) {
    case GestureAction::Back:
        if (cur)
            cur->DoCommand(0);
        break;
    case GestureAction::Forward:
        if (cur)
            cur->DoCommand(1);
        break;
    case GestureAction::CloseTab:
        Tabs_TabClose(CurIdx);
        break;
    case GestureAction::NewTab:
        // A release without its press (the second click of a double click)
        // repeats the last string; it must not open a second tab.
        if (MouseOn()) {
            imgAddWeb_MouseUp(1, 0, 1, 1);
            SetMouseOn(false);
        }
        break;
    case GestureAction::Refresh:
        if (cur)
            cur->DoCommand(3);
        break;
    case GestureAction::None:
        break;
    }
}

}  // namespace tessivane
