#include "FakeProcesses.h"

FakeProcesses::FakeProcesses()
    : m_previous(Processes::impl())
{
    Processes::setImpl(this);
}

FakeProcesses::~FakeProcesses()
{
    Processes::setImpl(m_previous);
}

bool FakeProcesses::startDetached(const QString &program, const QStringList &arguments, bool hidden)
{
    m_starts.append({program, arguments, hidden});
    return m_result;
}

bool FakeProcesses::openDocument(const QString &path)
{
    m_documents.append(path);
    return m_result;
}

void FakeProcesses::startWatched(const QString &program, const QStringList &arguments, bool hidden, QObject *context,
                                 std::function<void(int exitCode)> done)
{
    m_watched.insert(int(m_starts.size()), Watch{context, std::move(done)});
    m_starts.append({program, arguments, hidden, true});
}

bool FakeProcesses::finish(int i, int exitCode)
{
    auto it = m_watched.find(i);
    if (it == m_watched.end())
        return false;
    Watch w = std::move(it.value());
    m_watched.erase(it);
    if (!w.context || !w.done)
        return false;
    w.done(exitCode);
    return true;
}
