#pragma once

#include <QString>

class QWidget;

// Message boxes: the programs' questions and notices, with their Chinese
// texts, titles, icons and buttons. Every box goes through MsgBox(), whose
// implementation is replaceable process-wide, so that tests answer for the
// user (a test double).
//
// Test aid for scripted end-to-end runs: when the environment variable
// TESSIVANE_AUTO_ANSWER is set, the real implementation shows nothing and
// answers at once. Its value is a comma-separated list of answers ("yes",
// "no", "ok", "cancel") used one per box in order, the last one repeating;
// an answer the box has no button for falls back to the box's default
// (Yes/No: "no" is No, anything else Yes; OK/Cancel: "cancel"/"no" is Cancel).
// Each box answered so is written to standard error as
// "TESSIVANE_MSGBOX title|text|answer" (line breaks shown as "\n").
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgAnswer { Ok, Cancel, Yes, No };

struct MsgBoxRequest
{
    QString text;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    QString title;
    // The button that Enter presses: the first, or (true) the second.
    bool secondIsDefault = false;
};

class MessageBoxImpl
{
public:
    virtual ~MessageBoxImpl() = default;
    virtual MsgAnswer ask(const MsgBoxRequest &request, QWidget *parent) = 0;
};

namespace MessageBoxes {
// nullptr restores the real one. The caller keeps ownership.
void setImpl(MessageBoxImpl *impl);
MessageBoxImpl *impl();
// The answer that TESSIVANE_AUTO_ANSWER's word gives for a box with these buttons.
MsgAnswer autoAnswer(const QString &word, MsgButtons buttons);
} // namespace MessageBoxes

// Shows the box modally and returns the button chosen. Closing the box
// without a button gives No for Yes/No, Cancel where there is one, else OK.
MsgAnswer MsgBox(const QString &text, MsgButtons buttons, MsgIcon icon, const QString &title,
                 QWidget *parent = nullptr);
