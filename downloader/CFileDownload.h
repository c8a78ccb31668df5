#pragma once

#include "UrlDownload.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <memory>

// Transfers one address to one file for one download row. StartDownloading
// blocks until the transfer has ended; meanwhile OnProgress reports it and the
// event loop runs, so the window stays usable and other rows' transfers, new
// requests and clicks are handled inside the call.
class CFileDownload : public QObject, private BindStatusCallback
{
    Q_OBJECT
public:
    explicit CFileDownload(QObject *parent = nullptr);
    ~CFileDownload() override;

    // False at once while Busy; otherwise runs the whole transfer and returns
    // True when the file is complete at sDest.
    bool StartDownloading(const QString &sSrc, const QString &sDest);
    // Aborts the running transfer. Asked before the transfer has started (in
    // the pump that precedes it), the transfer does not start at all.
    void AbortDownloading();

    bool Busy() const { return m_busy; }
    // True while some transfer object pumps the queue just before its
    // transfer starts: a new transfer started there would have to end
    // before that one could begin.
    static bool InStartPump();
    int Held() const { return m_held; }

signals:
    // lStatusCode: the BindStatus values. Counts are 64-bit.
    void OnProgress(qint64 lProgress, qint64 lMaxProgress, int lStatusCode, const QString &sStatusText);

private:
    void onStartBinding(const std::shared_ptr<TransferBinding> &binding) override;
    void onProgress(qint64 progress, qint64 progressMax, int statusCode, const QString &statusText) override;
    void onStopBinding(TransferBinding *binding, TransferResult result, const QString &error) override;
    void pump();

    std::shared_ptr<TransferBinding> m_Binding;
    bool m_busy = false;
    int m_held = 0;
    // Every StartDownloading call takes the next number; an abort before the
    // binding exists cancels the calls numbered up to then.
    quint64 m_calls = 0;
    quint64 m_abortedUpTo = 0;
    QElapsedTimer m_lastPump;
};
