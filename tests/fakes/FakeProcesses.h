#pragma once

#include "Processes.h"

#include <QList>
#include <QMap>
#include <QPointer>

// For tests: installs itself for its lifetime, records every start and
// document, and reports the configured result. A watched program ends when
// the test calls finish() with its exit code.
class FakeProcesses : public ProcessImpl
{
public:
    struct Start
    {
        QString program;
        QStringList arguments;
        bool hidden = false;
        bool watched = false;
    };

    FakeProcesses();
    ~FakeProcesses() override;

    bool startDetached(const QString &program, const QStringList &arguments, bool hidden) override;
    void startWatched(const QString &program, const QStringList &arguments, bool hidden, QObject *context,
                      std::function<void(int exitCode)> done) override;
    bool openDocument(const QString &path) override;

    // Ends the watched start number i (in starts()) with the exit code; false
    // when it is no watched start, has ended already or its context is gone.
    bool finish(int i, int exitCode);

    void setResult(bool ok) { m_result = ok; }
    const QList<Start> &starts() const { return m_starts; }
    const QStringList &documents() const { return m_documents; }

private:
    ProcessImpl *m_previous = nullptr;
    QList<Start> m_starts;
    QStringList m_documents;
    struct Watch
    {
        QPointer<QObject> context;
        std::function<void(int)> done;
    };
    QMap<int, Watch> m_watched;
    bool m_result = true;
};
