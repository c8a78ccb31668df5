#include "DwnQuestion.h"

#include "DwnShell.h"

DwnQuestion *DwnQuestion::instance()
{
    static DwnQuestion gate;
    return &gate;
}

bool DwnQuestion::ask(QWidget *parent, const QString &title, const QString &text)
{
    DwnQuestion *gate = instance();
    ++gate->m_open;
    const bool yes = DwnShell::instance()->askYesNo(parent, title, text);
    if (--gate->m_open == 0)
        emit gate->answered();
    return yes;
}
