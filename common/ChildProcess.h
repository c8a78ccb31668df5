#pragma once

#include <QString>
#include <QStringList>

class QProcess;

// Starting a program that outlives its starter: Dunmora, the archive tool,
// the browser from Dunmora, the desktop's document opener.
//
// The program runs in a session of its own and is not waited for. It gets
// standard input, output and error (the starter's, or the null device) and no
// other descriptor of the starter: the web engine's sockets, open files and
// locks stay with the starter, so its engine helpers end with it even while
// the program runs on. Signal dispositions and the signal mask start at their
// defaults. No shell is involved; a program name without "/" is looked up in
// PATH.
namespace ChildProcess {

enum class Streams { Inherit, Null };

// True once the program runs; false when it cannot be started (empty or
// missing, not executable, no process to be had).
bool startDetached(const QString &program, const QStringList &arguments, Streams streams = Streams::Inherit);

// For a program that is waited for (QProcess::start): the same isolation.
// Every descriptor above standard error is marked close-on-exec in the child
// (QProcess's own pipes are in place by then), and signal dispositions and
// the mask start at their defaults. Call before start().
void isolate(QProcess &process);

// Opens a file with the desktop's handler "xdg-open", started as above.
// False when there is no such handler or it cannot be started; the caller may
// then fall back to the platform's own opener.
bool openDocument(const QString &path);

} // namespace ChildProcess
