#include "UrlDownload.h"

#include "TransferEngine.h"
#include "UrlTransfer.h"

#include <QCoreApplication>
#include <QEventLoop>

TransferResult UrlDownloadToFile(const QString &url, const QString &path, BindStatusCallback *callback)
{
    if (!callback || !QCoreApplication::instance())
        return TransferResult::Failed;
    const auto t = std::make_shared<UrlTransfer>(url, path, callback);
    if (!t->begin())
        return t->result();
    if (!t->stopDelivered()) {
        QEventLoop loop;
        t->setLoop(&loop);
        loop.exec();
        t->setLoop(nullptr);
        // The loop also ends when the application quits: the transfer goes with it.
        if (!t->stopDelivered())
            t->abort();
    }
    return t->result();
}

void PrepareUrlDownloads()
{
    TransferEngine::instance();
}
