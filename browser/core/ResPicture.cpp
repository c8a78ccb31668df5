#include "ResPicture.h"

static void InitBrowserResources()
{
    // The pictures are compiled into a static library: register them explicitly.
    Q_INIT_RESOURCE(resources);
}

QPixmap ResPicture(const QString &name)
{
    static const bool once = (InitBrowserResources(), true);
    Q_UNUSED(once);
    return QPixmap(QStringLiteral(":/res/") + name + QStringLiteral(".png"));
}
