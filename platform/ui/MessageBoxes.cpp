#include "MessageBoxes.h"

#include "QtMessageBoxes.h"

namespace {
MessageBoxImpl *&current()
{
    static MessageBoxImpl *impl = nullptr;
    return impl;
}
} // namespace

void MessageBoxes::setImpl(MessageBoxImpl *impl)
{
    current() = impl;
}

MessageBoxImpl *MessageBoxes::impl()
{
    static QtMessageBoxes real;
    return current() ? current() : &real;
}

MsgAnswer MsgBox(const QString &text, MsgButtons buttons, MsgIcon icon, const QString &title, QWidget *parent)
{
    MsgBoxRequest request;
    request.text = text;
    request.buttons = buttons;
    request.icon = icon;
    request.title = title;
    return MessageBoxes::impl()->ask(request, parent);
}
