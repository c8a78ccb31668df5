#pragma once

#include <QPointer>
#include <QUrl>
#include <QVariant>
#include <QWebEngineView>

class QPrinter;
class QWebEngineDownloadRequest;
class QWebEngineLoadingInfo;
class WebPage;

// A web view that reports what happens in it as the page control expects:
// each signal is one event of the embedded browser the control was written
// for, raised on the UI thread in the order the control relies on.
//
// "about:nav" is never given to the engine: navigate() recognises it exactly
// (case-sensitive), raises the navigation start for it and loads an empty
// marker page in its place; every event and locationUrl() then report
// "about:nav" again, also when the user goes back or forward to it.
class WebView : public QWebEngineView
{
    Q_OBJECT
public:
    static const QString kAboutNav; // "about:nav"

    explicit WebView(QWidget *parent = nullptr);
    ~WebView() override;

    // Navigates to url. headers: lines "Name: value" sent with the request
    // (a "User-Agent" line replaces the engine's agent for this navigation);
    // postData: bytes sent as a POST body. Both may be empty. The browser
    // sends the page there, so the page's allowances for dialogs and windows
    // start afresh with the new document (PageGuard); so do goBack,
    // goForward and refresh.
    void navigate(const QString &url, const QString &headers = QString(), const QByteArray &postData = QByteArray());
    // Issues a navigation that has already begun once more, with other
    // headers; it counts as the navigation it repeats, whoever started that.
    void reissue(const QString &url, const QString &headers);

    // The current address as the events give it ("about:nav" for the marker).
    QString locationUrl() const;
    bool isAboutNav() const;
    // The page object handed out for new windows and kept as the document.
    QWebEnginePage *pageObject() const;
    // Its policy: what the page may do on its own.
    WebPage *webPage() const { return m_page; }
    // Whether the page holds a document (anything has been loaded).
    bool hasDocument() const;

    // Page commands.
    void goBack();
    void goForward();
    void stopLoad();
    void refresh();
    // Sets the body's CSS zoom to the percentage text; nothing without a document.
    void setBodyZoom(const QString &percentText);
    // Asks for a file and saves the whole page there.
    void savePageAs();
    // Asks for a printer and prints the page.
    void printPage();

signals:
    // Before every navigation (main frame and frames). headers: the extra
    // header lines of a navigation that navigate() started, else empty.
    void beforeNavigate2(const QString &url, bool isMainFrame, bool isFormSubmission, const QString &headers,
                         bool *cancel);
    // The main frame committed to url.
    void navigateComplete2(const QString &url);
    // A load of the main frame ended, successfully or not.
    void downloadComplete();
    void documentComplete(const QString &url);
    // progress of progressMax; -1 when the load has ended.
    void progressChange(int progress, int progressMax);
    void titleChange(const QString &text);
    // The hovered link's address; "完成" when a load has ended, "" when the pointer leaves a link.
    void statusTextChange(const QString &text);
    // A page opens a window: put the page that shows it in *ppDisp, or set *cancel.
    void newWindow2(QObject **ppDisp, bool *cancel);
    // A main-frame load failed: HTTP status (positive) or network error (negative).
    void navigateError(const QString &url, int statusCode);
    // 6 for an https page that loaded without certificate error, else 0.
    void setSecureLockIcon(int value);
    // The engine is about to download url. activeKnown: the document's active
    // element could be read; hasHref: it has a property "href", whose value is href.
    void fileDownload(const QString &url, bool activeKnown, bool hasHref, const QString &href);
    // Right after fileDownload: set *taken when the host hands the download to
    // another program; otherwise the view asks for a file and saves it.
    void downloadHandOff(const QString &url, bool *taken);

private:
    void startLoad(const QString &url, const QString &headers, const QByteArray &postData);
    void onNavigationRequest(const QUrl &url, int type, bool isMainFrame, bool *cancel);
    void onLoadingChanged(const QWebEngineLoadingInfo &info);
    void onDownloadRequested(QWebEngineDownloadRequest *download);
    QString eventUrl(const QUrl &url) const;

    WebPage *m_page = nullptr;
    QString m_pendingHeaders;     // headers of the navigation navigate() just started
    bool m_navMarkerPending = false;
    // The active element of the current document, as the page last reported it.
    bool m_activeKnown = false;
    bool m_activeHasHref = false;
    QString m_activeHref;
    QUrl m_documentUrl;
    QPrinter *m_printer = nullptr;
    bool m_printing = false;
};
