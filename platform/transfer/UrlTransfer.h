#pragma once

#include "FileSink.h"
#include "UrlDownload.h"

#include <QByteArray>
#include <QPointer>
#include <QString>

#include <curl/curl.h>

#include <memory>

class QEventLoop;

// One transfer of one address into one file: the easy handle, the temporary
// file beside the target, and the state that the notifications report. Once
// the transfer has ended it holds nothing: no handle, no descriptor, no file.
class UrlTransfer : public TransferBinding, public std::enable_shared_from_this<UrlTransfer>
{
public:
    UrlTransfer(const QString &url, const QString &path, BindStatusCallback *callback);
    ~UrlTransfer() override;

    // Calls onStartBinding and hands the transfer to the engine, which
    // launches it at once or when a running one has ended. False only when
    // it was aborted inside onStartBinding; one that cannot start is stopped
    // with Failed through the queue of notifications.
    bool begin();
    void abort() override;

    bool stopDelivered() const { return m_stopDelivered; }
    TransferResult result() const { return m_result; }
    void setLoop(QEventLoop *loop) { m_loop = loop; }

    // Engine side.
    // Opens the temporary file and makes the easy handle; false (and the
    // transfer failed) when either cannot be had.
    bool launch();
    void launchFailed() { fail(QStringLiteral("cannot start the transfer")); }
    CURL *easy() const { return m_easy; }
    void finish(CURLcode code);       // curl is done with it (outside curl)
    void resume();                    // the file's queue drained: read on
    void complete(bool ok, const QString &error); // the file is written and closed
    void sample(qint64 nowMs, bool force); // status changes and throttled data progress
    void deliverProgress(qint64 progress, qint64 max, int status, const QString &text);
    void deliverStop();

private:
    static size_t writeCallback(char *data, size_t size, size_t n, void *userp);
    static int progressCallback(void *userp, curl_off_t dltotal, curl_off_t dlnow, curl_off_t, curl_off_t);
    void queueProgress(int status, const QString &text);
    void queueStop();
    void fail(const QString &why);
    void releaseHandle();
    void releaseFile();
    bool openTemp(QString *error);

    QString m_url;
    QString m_path;
    BindStatusCallback *m_callback;
    QEventLoop *m_loop = nullptr;
    CURL *m_easy = nullptr;
    // A short name of its own in the target's folder, so that any name the
    // folder takes for the target works; empty once renamed or removed.
    QByteArray m_tempName;
    std::unique_ptr<FileSink> m_sink;
    bool m_paused = false;   // curl holds the body until the file's queue drains
    bool m_draining = false; // curl is done; the file is still being written
    char m_error[CURL_ERROR_SIZE] = {};
    QString m_errorText;
    QString m_textUrl; // the address the data notifications name

    qint64 m_now = 0;   // bytes received (on the wire)
    qint64 m_total = 0; // size given by the server, 0 when unknown
    qint64 m_written = 0;
    bool m_writeFailed = false;
    bool m_touched = false;     // curl reported something since the last sample
    bool m_bodyStarted = false; // the first body bytes were written
    bool m_beginSent = false;
    QByteArray m_peer;
    long m_redirects = 0;
    qint64 m_lastDataNote = -1;
    bool m_dataPending = false;

    bool m_inEngine = false;
    bool m_finished = false;
    bool m_stopQueued = false;
    bool m_stopDelivered = false;
    TransferResult m_result = TransferResult::Failed;
};
