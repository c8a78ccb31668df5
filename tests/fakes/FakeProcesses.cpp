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
