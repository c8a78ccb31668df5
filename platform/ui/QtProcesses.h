#pragma once

#include "Processes.h"

// Programs start through ChildProcess, so they keep no descriptor of the
// browser, whether detached or watched for their end; documents open with the
// desktop's handler.
class QtProcesses : public ProcessImpl
{
public:
    bool startDetached(const QString &program, const QStringList &arguments, bool hidden) override;
    void startWatched(const QString &program, const QStringList &arguments, bool hidden, QObject *context,
                      std::function<void(int exitCode)> done) override;
    bool openDocument(const QString &path) override;
};
