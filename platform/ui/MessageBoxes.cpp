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

MsgAnswer MessageBoxes::autoAnswer(const QString &word, MsgButtons buttons)
{
    const QString w = word.trimmed().toLower();
    switch (buttons) {
    case MsgButtons::Ok:
        return MsgAnswer::Ok;
    case MsgButtons::OkCancel:
        return (w == QLatin1String("cancel") || w == QLatin1String("no")) ? MsgAnswer::Cancel : MsgAnswer::Ok;
    case MsgButtons::YesNo:
        return w == QLatin1String("no") ? MsgAnswer::No : MsgAnswer::Yes;
    case MsgButtons::YesNoCancel:
        if (w == QLatin1String("no"))
            return MsgAnswer::No;
        return w == QLatin1String("cancel") ? MsgAnswer::Cancel : MsgAnswer::Yes;
    }
    return MsgAnswer::Ok;
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
