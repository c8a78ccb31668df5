#include "WebView.h"

#include "ModalDialog.h"
#include "WebFileDialog.h"
#include "WebPage.h"
#include "WebProfile.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QWebEngineDownloadRequest>
#include <QWebEngineHistory>
#include <QWebEngineHttpRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

#include <QDir>
#include <QRegularExpression>
#include <QFileInfo>

const QString WebView::kAboutNav = QStringLiteral("about:nav");

namespace {
// The empty page that stands for "about:nav" inside the engine. Its title is
// the address the events report.
const QUrl &navMarker()
{
    static const QUrl url(QStringLiteral("data:text/html;charset=utf-8,<title>about:nav</title><body></body>"));
    return url;
}

bool isNavMarker(const QUrl &url)
{
    return url.toString(QUrl::FullyEncoded) == navMarker().toString(QUrl::FullyEncoded);
}

// The engine's internal address of its own error page.
bool isEngineErrorPage(const QString &url)
{
    return url.startsWith(QLatin1String("chrome-error:"), Qt::CaseInsensitive);
}

// Chromium reports a navigation that became a download or was stopped as
// aborted; that is no failure of the page.
constexpr int kErrAborted = -3;
} // namespace

WebView::WebView(QWidget *parent)
    : QWebEngineView(parent)
{
    m_page = new WebPage(WebProfile::instance(), this);
    setPage(m_page);
    WebProfile::registerPage(m_page);
    setContextMenuPolicy(Qt::DefaultContextMenu);

    connect(m_page, &WebPage::navigationRequest, this,
            [this](const QUrl &url, QWebEnginePage::NavigationType type, bool isMainFrame, bool *cancel) {
                onNavigationRequest(url, int(type), isMainFrame, cancel);
            });
    connect(m_page, &WebPage::newWindowRequest, this, [this](QWebEnginePage **page, bool *cancel) {
        QObject *disp = nullptr;
        emit newWindow2(&disp, cancel);
        *page = qobject_cast<QWebEnginePage *>(disp);
    });
    connect(m_page, &WebPage::activeElementChanged, this, [this](bool hasHref, const QString &href) {
        m_activeKnown = true;
        m_activeHasHref = hasHref;
        m_activeHref = href;
    });
    connect(m_page, &QWebEnginePage::urlChanged, this, [this](const QUrl &url) {
        const QUrl document = url.adjusted(QUrl::RemoveFragment);
        if (document != m_documentUrl) {
            m_documentUrl = document;
            m_activeKnown = false;
        }
        if (!url.isEmpty())
            emit navigateComplete2(eventUrl(url));
    });
    connect(m_page, &QWebEnginePage::loadProgress, this, [this](int p) { emit progressChange(p, 100); });
    connect(m_page, &QWebEnginePage::titleChanged, this, [this](const QString &t) {
        // The marker page's only title is its own; the engine first shows its address.
        if (isNavMarker(m_page->url()) && t != kAboutNav)
            return;
        emit titleChange(t);
    });
    connect(m_page, &QWebEnginePage::linkHovered, this, [this](const QString &url) {
        // A link of the engine's own error page points into its internal
        // error document, an address that means nothing to the user.
        emit statusTextChange(isEngineErrorPage(url) ? QString() : url);
    });
    connect(m_page, &QWebEnginePage::loadingChanged, this, &WebView::onLoadingChanged);
    connect(WebProfile::instance(), &QWebEngineProfile::downloadRequested, this,
            [this](QWebEngineDownloadRequest *d) {
                if (d && d->page() == m_page)
                    onDownloadRequested(d);
            });
}

WebView::~WebView()
{
    delete m_printer;
}

QString WebView::eventUrl(const QUrl &url) const
{
    return isNavMarker(url) ? kAboutNav : url.toString();
}

void WebView::navigate(const QString &url, const QString &headers, const QByteArray &postData)
{
    m_page->browserNavigates();
    startLoad(url, headers, postData);
}

void WebView::reissue(const QString &url, const QString &headers)
{
    startLoad(url, headers, QByteArray());
}

void WebView::startLoad(const QString &url, const QString &headers, const QByteArray &postData)
{
    if (url == kAboutNav) {
        bool cancel = false;
        emit beforeNavigate2(kAboutNav, true, false, headers, &cancel);
        if (cancel)
            return;
        m_navMarkerPending = true;
        m_page->load(navMarker());
        return;
    }
    QWebEngineHttpRequest request(QUrl::fromUserInput(url));
    const QStringList lines = headers.split(QRegularExpression(QStringLiteral("\r\n|\n|\r")), Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        const int colon = line.indexOf(QLatin1Char(':'));
        if (colon <= 0)
            continue;
        const QByteArray name = line.left(colon).trimmed().toLatin1();
        const QByteArray value = line.mid(colon + 1).trimmed().toUtf8();
        request.setHeader(name, value);
    }
    if (!postData.isEmpty()) {
        request.setMethod(QWebEngineHttpRequest::Post);
        request.setPostData(postData);
    }
    m_pendingHeaders = headers;
    m_page->load(request);
}

void WebView::onNavigationRequest(const QUrl &url, int type, bool isMainFrame, bool *cancel)
{
    QString headers;
    if (isMainFrame) {
        headers = m_pendingHeaders;
        m_pendingHeaders.clear();
    }
    if (isNavMarker(url)) {
        if (m_navMarkerPending && isMainFrame) {
            // navigate() raised the event already.
            m_navMarkerPending = false;
            return;
        }
        emit beforeNavigate2(kAboutNav, isMainFrame, false, headers, cancel);
        return;
    }
    if (isMainFrame)
        m_navMarkerPending = false;
    emit beforeNavigate2(url.toString(), isMainFrame, type == QWebEnginePage::NavigationTypeFormSubmitted, headers,
                         cancel);
}

void WebView::onLoadingChanged(const QWebEngineLoadingInfo &info)
{
    switch (info.status()) {
    case QWebEngineLoadingInfo::LoadStartedStatus:
        m_page->resetCertificateError();
        return;
    case QWebEngineLoadingInfo::LoadFailedStatus:
        if (info.errorCode() != 0 && info.errorCode() != kErrAborted) {
            int code = info.errorCode();
            if (info.errorDomain() != QWebEngineLoadingInfo::HttpStatusCodeDomain && code > 0)
                code = -code;
            emit navigateError(eventUrl(info.url()), code);
        }
        break;
    case QWebEngineLoadingInfo::LoadSucceededStatus:
    case QWebEngineLoadingInfo::LoadStoppedStatus:
        break;
    }
    const bool secure = info.status() == QWebEngineLoadingInfo::LoadSucceededStatus
        && info.url().scheme() == QLatin1String("https") && !m_page->hadCertificateError();
    emit statusTextChange(QStringLiteral("完成"));
    emit progressChange(-1, 100);
    emit setSecureLockIcon(secure ? 6 : 0);
    emit downloadComplete();
    emit documentComplete(eventUrl(info.url()));
}

void WebView::onDownloadRequested(QWebEngineDownloadRequest *download)
{
    if (download->isSavePageDownload()) {
        download->accept();
        return;
    }
    QPointer<QWebEngineDownloadRequest> guard(download);
    const QString url = download->url().toString();
    emit fileDownload(url, m_activeKnown, m_activeHasHref, m_activeHref);
    if (!guard || guard->state() != QWebEngineDownloadRequest::DownloadRequested)
        return;
    bool taken = false;
    emit downloadHandOff(url, &taken);
    if (!guard || guard->state() != QWebEngineDownloadRequest::DownloadRequested)
        return;
    if (taken) {
        guard->cancel();
        return;
    }
    const QString suggested = QDir(guard->downloadDirectory()).filePath(guard->downloadFileName());
    const QString path = WebFileDialog::getSaveFileName(window(), QStringLiteral("另存为"), suggested);
    if (!guard || guard->state() != QWebEngineDownloadRequest::DownloadRequested)
        return;
    if (path.isEmpty()) {
        guard->cancel();
        return;
    }
    const QFileInfo fi(path);
    guard->setDownloadDirectory(fi.absolutePath());
    guard->setDownloadFileName(fi.fileName());
    guard->accept();
}

QString WebView::locationUrl() const
{
    return eventUrl(m_page->url());
}

bool WebView::isAboutNav() const
{
    return isNavMarker(m_page->url());
}

QWebEnginePage *WebView::pageObject() const
{
    return m_page;
}

bool WebView::hasDocument() const
{
    return !m_page->url().isEmpty();
}

void WebView::goBack()
{
    m_page->browserNavigates();
    m_page->triggerAction(QWebEnginePage::Back);
}

void WebView::goForward()
{
    m_page->browserNavigates();
    m_page->triggerAction(QWebEnginePage::Forward);
}

void WebView::stopLoad()
{
    m_page->triggerAction(QWebEnginePage::Stop);
}

void WebView::refresh()
{
    m_page->browserNavigates();
    m_page->triggerAction(QWebEnginePage::Reload);
}

void WebView::setBodyZoom(const QString &percentText)
{
    if (!hasDocument())
        return;
    QString quoted = percentText;
    quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('\''), QLatin1String("\\'"));
    // Right after a navigation commits the body is not parsed yet: the zoom
    // then waits for it.
    m_page->runJavaScript(QStringLiteral("(function (z) { function a() { if (document.body) document.body.style.zoom = z; }"
                                         " if (document.body) a(); else document.addEventListener('DOMContentLoaded', a); })('%1');")
                              .arg(quoted));
}

void WebView::savePageAs()
{
    if (!hasDocument())
        return;
    QString name = m_page->title().trimmed();
    name.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|]")), QStringLiteral("_"));
    if (name.isEmpty())
        name = QStringLiteral("page");
    const QString path = WebFileDialog::getSaveFileName(window(), QStringLiteral("保存网页"), name + QStringLiteral(".html"));
    if (!path.isEmpty())
        m_page->save(path, QWebEngineDownloadRequest::CompleteHtmlSaveFormat);
}

void WebView::printPage()
{
    if (m_printing || !hasDocument())
        return;
    if (!m_printer)
        m_printer = new QPrinter(QPrinter::HighResolution);
    QPrintDialog dialog(m_printer, window());
    if (ExecModal(&dialog) != QDialog::Accepted)
        return;
    m_printing = true;
    connect(this, &QWebEngineView::printFinished, this, [this](bool) { m_printing = false; },
            Qt::SingleShotConnection);
    print(m_printer);
}
