#include "PageScript.h"

#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QWebEnginePage>

#include <memory>

namespace {
struct Pending
{
    bool done = false;
    QVariant value;
    QPointer<QEventLoop> loop;
};
} // namespace

PageScriptResult PageScript::run(QWebEnginePage *page, const QString &script, int timeoutMs, quint32 worldId)
{
    PageScriptResult result;
    if (!page)
        return result;
    QPointer<QWebEnginePage> guard(page);
    // The callback may come after this call returned (timeout): it then only
    // writes into the shared record.
    auto pending = std::make_shared<Pending>();
    QEventLoop loop;
    pending->loop = &loop;
    page->runJavaScript(script, worldId, [pending](const QVariant &v) {
        pending->done = true;
        pending->value = v;
        if (pending->loop)
            pending->loop->quit();
    });
    if (!pending->done) {
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        QObject::connect(page, &QObject::destroyed, &loop, &QEventLoop::quit);
        timer.start(timeoutMs);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    pending->loop = nullptr;
    if (!guard || !pending->done)
        return result;
    result.ok = true;
    result.value = pending->value;
    return result;
}
