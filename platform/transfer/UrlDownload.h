#pragma once

#include <QString>
#include <QtGlobal>

#include <memory>

// Status codes of the progress notifications, numbered as the download rows
// know them from the platform's bind-status values.
namespace BindStatus {
enum : int {
    FindingResource = 1,   // text: the host name
    Connecting = 2,        // text: the address of the peer
    Redirecting = 3,       // text: the address followed next
    BeginDownloadData = 4, // text: the address; the first bytes of the body arrived
    DownloadingData = 5,   // text: the address
    EndDownloadData = 6,   // text: the address; raised only when the file is complete at its target
};
}

enum class TransferResult { Ok, Aborted, Failed };

// One running transfer, handed to the callback when it starts. Aborting ends
// the transfer at once: the callback's onStopBinding runs before abort()
// returns and the blocking UrlDownloadToFile returns Aborted once control
// comes back to it. Aborting an ended transfer does nothing.
class TransferBinding
{
public:
    virtual ~TransferBinding() = default;
    virtual void abort() = 0;
};

// What a caller of UrlDownloadToFile hears about its transfer, always on the
// thread that called it and never while libcurl is inside a call, so that a
// handler may abort this or any other transfer, or start a nested one.
class BindStatusCallback
{
public:
    virtual ~BindStatusCallback() = default;
    // First of all, before any progress.
    virtual void onStartBinding(const std::shared_ptr<TransferBinding> &binding) = 0;
    // Counts are 64-bit: bytes received so far and the size the server gave (0
    // while it is not known). Data notifications come at most every
    // kProgressIntervalMs; status changes always.
    virtual void onProgress(qint64 progress, qint64 progressMax, int statusCode, const QString &statusText) = 0;
    // Last of all, exactly once per started transfer.
    virtual void onStopBinding(TransferBinding *binding, TransferResult result, const QString &error) = 0;
};

constexpr int kProgressIntervalMs = 50;

// Transfers url into the file path and returns when the transfer has ended.
// Meanwhile it runs the Qt event loop, so the window stays usable, and every
// other running transfer goes on, nested calls included: an outer call
// returns only after the calls started inside it have returned.
//
// The body is written to a temporary file beside the target that replaces
// the target only when the whole transfer succeeded; a failed or aborted
// transfer leaves an existing target as it was and no temporary file behind,
// and an ended transfer keeps no descriptor of either. The file holds the body
// as the server sent it: no content encoding is asked for or undone. Only
// http and https are followed, redirects included; HTTP errors fail the
// transfer; TLS peers are verified. Every transfer reports at least its first
// step (FindingResource) before it ends, also one that cannot start.
TransferResult UrlDownloadToFile(const QString &url, const QString &path, BindStatusCallback *callback);

// Sets up the transfer machinery (TLS libraries included) ahead of the first
// transfer, so that its cost falls at start-up rather than into a running window.
void PrepareUrlDownloads();
