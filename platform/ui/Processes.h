#pragma once

#include <QString>
#include <QStringList>

// Starting outside programs and opening documents with the desktop's
// handler. Programs are started with an argument list, never through a
// shell, and are not waited for. hidden: the program gets no terminal output
// (its standard streams go to the null device), the nearest thing to a hidden
// window here.
class ProcessImpl
{
public:
    virtual ~ProcessImpl() = default;
    virtual bool startDetached(const QString &program, const QStringList &arguments, bool hidden) = 0;
    virtual bool openDocument(const QString &path) = 0;
};

namespace Processes {
// nullptr restores the real one. The caller keeps ownership.
void setImpl(ProcessImpl *impl);
ProcessImpl *impl();

bool startDetached(const QString &program, const QStringList &arguments, bool hidden = false);
bool openDocument(const QString &path);
} // namespace Processes
