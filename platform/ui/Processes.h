#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QObject;

// Starting outside programs and opening documents with the desktop's
// handler. Programs are started with an argument list, never through a
// shell. hidden: the program gets no terminal output (its standard streams go
// to the null device), the nearest thing to a hidden window here.
//
// startDetached does not wait for the program. startWatched does not wait
// either, but calls done with the program's exit code once it has ended, from
// the event loop of context's thread; -1 when it could not be started or did
// not end on its own. When context is destroyed first, the program is ended
// and done is never called (it is released).
class ProcessImpl
{
public:
    virtual ~ProcessImpl() = default;
    virtual bool startDetached(const QString &program, const QStringList &arguments, bool hidden) = 0;
    virtual void startWatched(const QString &program, const QStringList &arguments, bool hidden, QObject *context,
                              std::function<void(int exitCode)> done) = 0;
    virtual bool openDocument(const QString &path) = 0;
};

namespace Processes {
// nullptr restores the real one. The caller keeps ownership.
void setImpl(ProcessImpl *impl);
ProcessImpl *impl();

bool startDetached(const QString &program, const QStringList &arguments, bool hidden = false);
void startWatched(const QString &program, const QStringList &arguments, bool hidden, QObject *context,
                  std::function<void(int exitCode)> done);
bool openDocument(const QString &path);
} // namespace Processes
