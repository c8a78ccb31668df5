#include "DDESend.h"
#include "DwnRequest.h"
#include "InstanceChannel.h"
#include "UrlDownload.h"
#include "frmMain.h"

#include <QApplication>

using dunmora::frmMain;

namespace {
const QString kService = QStringLiteral("Dunmora|Dwn");
}

int main(int argc, char **argv)
{
    // An empty command line ends at once, before anything is set up.
    QStringList raw;
    for (int i = 0; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    if (DwnCommandLine(raw).isEmpty())
        return 0;

    QApplication app(argc, argv);
    const QString cmd = DwnCommandLine(QCoreApplication::arguments());

    InstanceChannel channel(kService);
    if (!channel.listen()) {
        DDESend(kService, cmd);
        return 0;
    }

    PrepareUrlDownloads();
    frmMain window;
    QObject::connect(&channel, &InstanceChannel::requestReceived, &window, &frmMain::QueueRequest);
    if (!window.Load(cmd))
        return 0;
    return app.exec();
}
