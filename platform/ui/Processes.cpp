#include "Processes.h"

#include "QtProcesses.h"

namespace {
ProcessImpl *&current()
{
    static ProcessImpl *impl = nullptr;
    return impl;
}
} // namespace

void Processes::setImpl(ProcessImpl *impl)
{
    current() = impl;
}

ProcessImpl *Processes::impl()
{
    static QtProcesses real;
    return current() ? current() : &real;
}

bool Processes::startDetached(const QString &program, const QStringList &arguments, bool hidden)
{
    return impl()->startDetached(program, arguments, hidden);
}

void Processes::startWatched(const QString &program, const QStringList &arguments, bool hidden, QObject *context,
                             std::function<void(int exitCode)> done)
{
    impl()->startWatched(program, arguments, hidden, context, std::move(done));
}

bool Processes::openDocument(const QString &path)
{
    return impl()->openDocument(path);
}
