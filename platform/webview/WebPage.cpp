#include "WebPage.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QWebEngineCertificateError>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace {
// The engine answers scripts only asynchronously and never while it is itself
// deciding on a download, so the page reports its active element whenever it
// changes, through the console, in its own isolated world.

QString activeElementScript()
{
    return QStringLiteral(R"JS((function(){
  var prefix = 'tessivane-active:';
  function report() {
    var e = document.activeElement, has = !!e && ('href' in e), href = '';
    if (has) { try { href = String(e.href); } catch (x) { href = ''; } }
    console.log(prefix + JSON.stringify({has: has, href: href}));
  }
  ['focusin', 'focusout', 'mousedown', 'click', 'keydown'].forEach(function(t) {
    document.addEventListener(t, function() { report(); setTimeout(report, 0); }, true);
  });
  if (document.readyState === 'loading')
    document.addEventListener('DOMContentLoaded', report);
  else
    report();
})();)JS");
}
} // namespace

WebPage::WebPage(QWebEngineProfile *profile, QObject *parent)
    : QWebEnginePage(profile, parent)
{
    // A page with a bad certificate is refused, as the engine does by default;
    // the mark keeps the security state at "none" for it.
    connect(this, &QWebEnginePage::certificateError, this, [this](QWebEngineCertificateError) { m_certError = true; });

    QWebEngineScript watch;
    watch.setName(QStringLiteral("tessivane-active-element"));
    watch.setInjectionPoint(QWebEngineScript::DocumentCreation);
    watch.setWorldId(QWebEngineScript::ApplicationWorld);
    watch.setRunsOnSubFrames(false);
    watch.setSourceCode(activeElementScript());
    scripts().insert(watch);
}

void WebPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString &message, int, const QString &)
{
    // Pages' own console output is not shown anywhere.
    static const QString prefix = QString(QChar(1)) + QStringLiteral("tessivane-active:");
    if (!message.startsWith(prefix))
        return;
    const QJsonObject o = QJsonDocument::fromJson(message.mid(prefix.size()).toUtf8()).object();
    emit activeElementChanged(o.value(QStringLiteral("has")).toBool(), o.value(QStringLiteral("href")).toString());
}

bool WebPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    bool cancel = false;
    emit navigationRequest(url, type, isMainFrame, &cancel);
    return !cancel;
}

QWebEnginePage *WebPage::createWindow(WebWindowType)
{
    QWebEnginePage *page = nullptr;
    bool cancel = false;
    emit newWindowRequest(&page, &cancel);
    return cancel ? nullptr : page;
}
