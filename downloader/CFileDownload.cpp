#include "CFileDownload.h"

#include <QCoreApplication>

namespace {
// The transfer's notifications pump the event loop, but never so often that
// the pumping itself slows the transfer down.
constexpr qint64 kMinPumpIntervalMs = 10;
int g_startPumps = 0;
} // namespace

bool CFileDownload::InStartPump()
{
    return g_startPumps > 0;
}

CFileDownload::CFileDownload(QObject *parent)
    : QObject(parent)
{
}

CFileDownload::~CFileDownload()
{
    if (m_held == 1 && m_Binding)
        m_Binding->abort();
    m_held = 0;
    m_busy = false;
}

bool CFileDownload::StartDownloading(const QString &sSrc, const QString &sDest)
{
    if (m_busy)
        return false;
    const quint64 call = ++m_calls;
    ++g_startPumps;
    QCoreApplication::processEvents();
    --g_startPumps;
    if (call <= m_abortedUpTo)
        return false;
    return UrlDownloadToFile(sSrc, sDest, this) == TransferResult::Ok;
}

void CFileDownload::AbortDownloading()
{
    if (m_held == 1 && m_Binding)
        m_Binding->abort();
    else
        m_abortedUpTo = m_calls;
    m_busy = false;
}

void CFileDownload::onStartBinding(const std::shared_ptr<TransferBinding> &binding)
{
    m_Binding = binding;
    m_busy = true;
    m_held = 1;
}

void CFileDownload::onProgress(qint64 progress, qint64 progressMax, int statusCode, const QString &statusText)
{
    emit OnProgress(progress, progressMax, statusCode, statusText);
    pump();
}

void CFileDownload::onStopBinding(TransferBinding *binding, TransferResult, const QString &)
{
    // Only the current binding's end changes the state: an aborted transfer
    // may still be unwinding while its successor runs.
    if (binding != m_Binding.get())
        return;
    m_busy = false;
    m_held = 0;
}

void CFileDownload::pump()
{
    if (m_lastPump.isValid() && m_lastPump.elapsed() < kMinPumpIntervalMs)
        return;
    m_lastPump.start();
    QCoreApplication::processEvents();
}
