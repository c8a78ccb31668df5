#include "WebPage.h"

#include "PageDialog.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QRandomGenerator>
#include <QWebEngineCertificateError>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace {
// The engine answers scripts only asynchronously and never while it is itself
// deciding on a download, so the page reports its active element whenever it
// changes, through the console, from its own isolated world. Every report
// begins with the page's key, which only that world knows. The first report
// of a document comes before any of the page's own scripts runs, and the
// engine delivers it before anything those scripts ask for (dialogs, windows).

QString activeElementScript(const QString &prefix)
{
    // The key holds only hex digits and the prefix ASCII letters: it needs no quoting.
    return QStringLiteral(R"JS((function(){
  var prefix = '%1';
  console.log(prefix + JSON.stringify({doc: true}));
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
})();)JS")
        .arg(prefix);
}

QString newBridgePrefix()
{
    quint32 words[4];
    QRandomGenerator::system()->fillRange(words);
    QString key;
    for (quint32 w : words)
        key += QStringLiteral("%1").arg(w, 8, 16, QLatin1Char('0'));
    return QStringLiteral("tessivane-active:") + key + QLatin1Char(':');
}
} // namespace

WebPage::WebPage(QWebEngineProfile *profile, QObject *parent)
    : QWebEnginePage(profile, parent), m_bridgePrefix(newBridgePrefix())
{
    // A page with a bad certificate is refused, as the engine does by default;
    // the mark keeps the security state at "none" for it.
    connect(this, &QWebEnginePage::certificateError, this, [this](QWebEngineCertificateError) { m_certError = true; });
    connect(this, &QWebEnginePage::newWindowRequested, this, &WebPage::onNewWindowRequested);

    QWebEngineScript watch;
    watch.setName(QStringLiteral("tessivane-active-element"));
    watch.setInjectionPoint(QWebEngineScript::DocumentCreation);
    watch.setWorldId(QWebEngineScript::ApplicationWorld);
    watch.setRunsOnSubFrames(false);
    watch.setSourceCode(activeElementScript(m_bridgePrefix));
    scripts().insert(watch);
    updateWindowPermission();
}

void WebPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString &message, int, const QString &)
{
    // Pages' own console output is not shown anywhere, and never read.
    if (!message.startsWith(m_bridgePrefix))
        return;
    const QJsonObject o = QJsonDocument::fromJson(message.mid(m_bridgePrefix.size()).toUtf8()).object();
    if (o.contains(QStringLiteral("doc"))) {
        if (m_guard.documentCreated())
            updateWindowPermission();
        return;
    }
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
    // Every new window goes through newWindowRequested, which tells whether a
    // user gesture asked for it.
    return nullptr;
}

void WebPage::updateWindowPermission()
{
    // Once the allowance is spent the engine itself refuses windows without a
    // gesture, before it builds anything for them.
    settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, m_guard.windowsLeft() > 0);
}

void WebPage::onNewWindowRequested(QWebEngineNewWindowRequest &request)
{
    const bool allowed = m_guard.allowWindow(request.isUserInitiated());
    updateWindowPermission();
    if (!allowed)
        return;
    QWebEnginePage *page = nullptr;
    bool cancel = false;
    emit newWindowRequest(&page, &cancel);
    if (!cancel && page)
        request.openIn(page);
}

bool WebPage::showDialog(int kind, const QString &msg, const QString &defaultValue, QString *result)
{
    if (m_guard.dialogsStopped())
        return false;
    const bool offerStop = m_guard.countDialog();
    QPointer<WebPage> self(this);
    QWidget *owner = nullptr;
    if (QWebEngineView *view = QWebEngineView::forPage(this))
        owner = view->window();
    bool stop = false;
    const bool ok = PageDialog::ask(PageDialog::Kind(kind), msg, defaultValue, offerStop, owner, result, &stop);
    if (self && stop)
        m_guard.stopDialogs();
    return ok;
}

void WebPage::javaScriptAlert(const QUrl &, const QString &msg)
{
    showDialog(PageDialog::Alert, msg, QString(), nullptr);
}

bool WebPage::javaScriptConfirm(const QUrl &, const QString &msg)
{
    return showDialog(PageDialog::Confirm, msg, QString(), nullptr);
}

bool WebPage::javaScriptPrompt(const QUrl &, const QString &msg, const QString &defaultValue, QString *result)
{
    QString value;
    const bool ok = showDialog(PageDialog::Prompt, msg, defaultValue, &value);
    if (ok && result)
        *result = value;
    return ok;
}
