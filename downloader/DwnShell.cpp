#include "DwnShell.h"

#include "ChildProcess.h"
#include "MessageBoxes.h"

#include <QDesktopServices>
#include <QUrl>

namespace {
DwnShell *&current()
{
    static DwnShell *shell = nullptr;
    return shell;
}
} // namespace

bool DwnShell::askYesNo(QWidget *parent, const QString &title, const QString &text)
{
    return MsgBox(text, MsgButtons::YesNo, MsgIcon::Question, title, parent) == MsgAnswer::Yes;
}

bool DwnShell::openDocument(const QString &path)
{
    // The opened program keeps no descriptor of Dunmora (open downloads).
    return ChildProcess::openDocument(path) || QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool DwnShell::startDetached(const QString &program, const QStringList &arguments)
{
    return ChildProcess::startDetached(program, arguments);
}

DwnShell *DwnShell::instance()
{
    static DwnShell desktop;
    return current() ? current() : &desktop;
}

void DwnShell::setInstance(DwnShell *shell)
{
    current() = shell;
}
