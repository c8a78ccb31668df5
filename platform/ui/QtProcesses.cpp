#include "QtProcesses.h"

#include "ChildProcess.h"

#include <QDesktopServices>
#include <QPointer>
#include <QProcess>
#include <QUrl>

#include <memory>

bool QtProcesses::startDetached(const QString &program, const QStringList &arguments, bool hidden)
{
    if (program.isEmpty())
        return false;
    return ChildProcess::startDetached(program, arguments,
                                       hidden ? ChildProcess::Streams::Null : ChildProcess::Streams::Inherit);
}

void QtProcesses::startWatched(const QString &program, const QStringList &arguments, bool hidden, QObject *context,
                               std::function<void(int exitCode)> done)
{
    Q_ASSERT(context);
    auto *process = new QProcess(context);
    process->setProgram(program);
    process->setArguments(arguments);
    if (hidden) {
        process->setStandardInputFile(QProcess::nullDevice());
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setStandardErrorFile(QProcess::nullDevice());
    }
    ChildProcess::isolate(*process);
    // Reported once; not at all while context is going away (its children,
    // the process among them, are destroyed after its guards are cleared).
    auto pending = std::make_shared<std::function<void(int)>>(std::move(done));
    const QPointer<QObject> guard(context);
    const auto report = [process, pending, guard](int code) {
        if (!*pending)
            return;
        const std::function<void(int)> callback = std::move(*pending);
        *pending = nullptr;
        process->deleteLater();
        if (guard)
            callback(code);
    };
    QObject::connect(process, &QProcess::finished, process, [report](int code, QProcess::ExitStatus status) {
        report(status == QProcess::NormalExit ? code : -1);
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [report](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            report(-1);
    });
    process->start();
}

bool QtProcesses::openDocument(const QString &path)
{
    if (path.isEmpty())
        return false;
    return ChildProcess::openDocument(path) || QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
