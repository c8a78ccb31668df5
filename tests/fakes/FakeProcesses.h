#pragma once

#include "Processes.h"

#include <QList>

// For tests: installs itself for its lifetime, records every start and
// document, and reports the configured result.
class FakeProcesses : public ProcessImpl
{
public:
    struct Start
    {
        QString program;
        QStringList arguments;
        bool hidden = false;
    };

    FakeProcesses();
    ~FakeProcesses() override;

    bool startDetached(const QString &program, const QStringList &arguments, bool hidden) override;
    bool openDocument(const QString &path) override;

    void setResult(bool ok) { m_result = ok; }
    const QList<Start> &starts() const { return m_starts; }
    const QStringList &documents() const { return m_documents; }

private:
    ProcessImpl *m_previous = nullptr;
    QList<Start> m_starts;
    QStringList m_documents;
    bool m_result = true;
};
