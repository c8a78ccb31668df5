#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Dunmora's doors to the desktop: message boxes, opening a file with its
// default application, starting a program. Tests put a fake in place.
class DwnShell
{
public:
    virtual ~DwnShell() = default;

    // Yes/No question with the question icon; true for Yes. The desktop's is
    // the programs' message box, with the buttons "是" and "否".
    virtual bool askYesNo(QWidget *parent, const QString &title, const QString &text);
    virtual bool openDocument(const QString &path);
    // Starts program with its arguments, without a shell and without waiting.
    virtual bool startDetached(const QString &program, const QStringList &arguments);

    static DwnShell *instance();
    // nullptr restores the desktop's own.
    static void setInstance(DwnShell *shell);
};
