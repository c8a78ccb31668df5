#pragma once

#include "Processes.h"

// Programs start through ChildProcess, so they keep no descriptor of the
// browser; documents open with the desktop's handler.
class QtProcesses : public ProcessImpl
{
public:
    bool startDetached(const QString &program, const QStringList &arguments, bool hidden) override;
    bool openDocument(const QString &path) override;
};
