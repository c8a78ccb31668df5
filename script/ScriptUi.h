#pragma once

#include <QString>

// The dialogs a script may open (MsgBox, InputBox): a seam, so that tests
// answer instead of a user. The default shows Qt dialogs; it is used only
// when the control's AllowUI is on.
class ScriptUi
{
public:
    virtual ~ScriptUi() = default;
    // buttons: the MsgBox button/icon flags (vbYesNo + vbExclamation ...);
    // returns the MsgBox result (vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 ...).
    virtual int msgBox(const QString &prompt, int buttons, const QString &title) = 0;
    // Returns false when the user cancelled (the script then gets "").
    virtual bool inputBox(const QString &prompt, const QString &title, const QString &defaultText,
                          QString &answer) = 0;

    // The Qt implementation (needs a QApplication).
    static ScriptUi *qtDialogs();
};
