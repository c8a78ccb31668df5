#pragma once

#include <QString>

class QWidget;

// Message boxes: the programs' questions and notices, with their Chinese
// texts, titles, icons and buttons. Every box goes through MsgBox(), whose
// implementation is replaceable process-wide, so that tests answer for the
// user (a test double).
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
} // namespace MessageBoxes

// Shows the box modally and returns the button chosen. Closing the box
// without a button gives No for Yes/No, Cancel where there is one, else OK.
MsgAnswer MsgBox(const QString &text, MsgButtons buttons, MsgIcon icon, const QString &title,
                 QWidget *parent = nullptr);
