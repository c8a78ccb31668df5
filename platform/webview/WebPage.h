#pragma once

#include <QWebEnginePage>

// The page decides policy: it asks its view before every navigation and for
// every new window, and keeps the engine from showing messages of its own.
class WebPage : public QWebEnginePage
{
    Q_OBJECT
public:
    explicit WebPage(QWebEngineProfile *profile, QObject *parent = nullptr);

    // Set by a certificate error of the current load, cleared at its start.
    bool hadCertificateError() const { return m_certError; }
    void resetCertificateError() { m_certError = false; }

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

private:
    bool m_certError = false;
};
