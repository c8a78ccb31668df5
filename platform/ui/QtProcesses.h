#pragma once

#include "Processes.h"

// QProcess (detached, or a child watched for its end) and
// QDesktopServices::openUrl.
class QtProcesses : public ProcessImpl
{
public:
    bool startDetached(const QString &program, const QStringList &arguments, bool hidden) override;
    void startWatched(const QString &program, const QStringList &arguments, bool hidden, QObject *context,
                      std::function<void(int exitCode)> done) override;
    bool openDocument(const QString &path) override;
};
