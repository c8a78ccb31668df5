#pragma once

#include "Processes.h"

// QProcess::startDetached and QDesktopServices::openUrl.
class QtProcesses : public ProcessImpl
{
public:
    bool startDetached(const QString &program, const QStringList &arguments, bool hidden) override;
    bool openDocument(const QString &path) override;
};
