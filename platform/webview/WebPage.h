#pragma once

#include "PageGuard.h"

#include <QWebEnginePage>

class QWebEngineNewWindowRequest;

// The page decides policy: it asks its view before every navigation and for
// every new window, keeps the engine from showing messages of its own, and
// shows the page's script dialogs itself.
//
// The browser's own script in the page (it reports the active element) runs
// in an isolated world and speaks through the console with a key made for
// this page alone: page scripts can neither read the key nor speak for that
// script.
class WebPage : public QWebEnginePage
{
    Q_OBJECT
public:
    explicit WebPage(QWebEngineProfile *profile, QObject *parent = nullptr);

    // Set by a certificate error of the current load, cleared at its start.
    bool hadCertificateError() const { return m_certError; }
    void resetCertificateError() { m_certError = false; }

    // The browser itself sends the page somewhere: the page's allowances for
    // dialogs and windows start afresh with the next document.
    void browserNavigates() { m_guard.browserNavigates(); }
    const PageGuard &guard() const { return m_guard; }

signals:
    // Every navigation, main frame and frames; set *cancel to refuse it.
    void navigationRequest(const QUrl &url, QWebEnginePage::NavigationType type, bool isMainFrame, bool *cancel);
    // A page asks for a new window: put the page that shows it in *page, or set *cancel.
    void newWindowRequest(QWebEnginePage **page, bool *cancel);
    // The document's active element changed: whether it has a property
    // "href", and its value.
    void activeElementChanged(bool hasHref, const QString &href);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage *createWindow(WebWindowType type) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message, int line,
                                  const QString &source) override;
    void javaScriptAlert(const QUrl &securityOrigin, const QString &msg) override;
    bool javaScriptConfirm(const QUrl &securityOrigin, const QString &msg) override;
    bool javaScriptPrompt(const QUrl &securityOrigin, const QString &msg, const QString &defaultValue,
                          QString *result) override;

private:
    void onNewWindowRequested(QWebEngineNewWindowRequest &request);
    void updateWindowPermission();
    bool showDialog(int kind, const QString &msg, const QString &defaultValue, QString *result);

    bool m_certError = false;
    QString m_bridgePrefix;
    PageGuard m_guard;
};
