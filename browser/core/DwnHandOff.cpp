#include "DwnHandOff.h"

#include "DownloadRequest.h"
#include "Files.h"
#include "InstanceChannel.h"
#include "Processes.h"
#include "ProgramFolder.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>

namespace {
const QString kService = QStringLiteral("Dunmora|Dwn");
// How long a freshly started Dunmora may take before it serves its channel.
constexpr int kChannelWaitMs = 5000;
} // namespace

QString DunmoraPath()
{
    return GetAppPath() + QStringLiteral("Dunmora");
}

bool DunmoraExists()
{
    return QFileInfo(toLocalPath(DunmoraPath())).isFile();
}

bool ShowDunmora()
{
    if (!DunmoraExists())
        return false;
    return Processes::startDetached(toLocalPath(DunmoraPath()), {QStringLiteral("Show")});
}

bool HandDownloadToDunmora(const QString &url, const QString &path)
{
    if (!DunmoraExists() || path.contains(QChar(0)))
        return false;
    const QString request = JoinDownloadRequest(url, path);
    const qsizetype bytes = request.toUtf8().size();
    if (bytes <= kMaxDwnArgumentBytes)
        return Processes::startDetached(toLocalPath(DunmoraPath()), {request});
    if (bytes > InstanceChannel::kMaxCommandBytes)
        return false;
    // The system allows no longer program argument: Dunmora is started (or
    // shown) first and takes the request as a later start would hand it over.
    if (!ShowDunmora())
        return false;
    QDeadlineTimer deadline(kChannelWaitMs);
    while (!deadline.hasExpired()) {
        if (InstanceChannel::send(kService, request, int(qMax<qint64>(deadline.remainingTime(), 1))))
            return true;
        QThread::msleep(50);
    }
    return false;
}
