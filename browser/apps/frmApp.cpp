#include "frmApp.h"

#include "AppEngines.h"
#include "ProgramFolder.h"
#include "ScriptControl.h"
#include "Twips.h"
#include "WebView.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QUrl>

frmApp::frmApp(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString());
    const QSize client(qRound(5460 / 15.0), qRound(4890 / 15.0));
    setFixedSize(client);
    if (QScreen *s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - QPoint(client.width() / 2, client.height() / 2));

    WbHtml = new WebView(this);
    // An app page opens no windows of its own.
    connect(WbHtml, &WebView::newWindow2, this, [](QObject **, bool *cancel) { *cancel = true; });
    connect(WbHtml, &WebView::titleChange, this, [this](const QString &t) { setWindowTitle(t); });
    WbHtml->navigate(QStringLiteral("about:blank"));
}

frmApp::~frmApp() = default;

void frmApp::UnloadForm()
{
    close();
}

void frmApp::SetHtml(const QString &sHtmPath)
{
    if (!WbHtml)
        return;
    if (sHtmPath.contains(QLatin1String("://")) || sHtmPath.startsWith(QLatin1String("about:")))
        WbHtml->navigate(sHtmPath);
    else
        WbHtml->navigate(QUrl::fromLocalFile(toLocalPath(sHtmPath)).toString());
}

void frmApp::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    // The view overhangs the client area by 23 twips on each side, hiding its border.
    if (WbHtml)
        TwipsMove(WbHtml, -23, -23, width() * 15.0 + 46, height() * 15.0 + 46);
}

void frmApp::closeEvent(QCloseEvent *e)
{
    e->accept();
    if (m_endSent)
        return;
    m_endSent = true;
    bool ok = false;
    const int index = Tag.toInt(&ok);
    if (!ok)
        return;
    QPointer<ScriptControl> sc = AppEngines::Engine(index);
    // Only the window's own app ends: once it has ended (its engine gone),
    // the index may belong to a later app.
    if (!sc || (m_hasEngine && sc != m_engine))
        return;
    if (sc->isRunning()) {
        // The script is busy further down the stack (sleeping): end it directly.
        AppEngines::End(index);
        return;
    }
    const bool js = sc->language().compare(QLatin1String("JScript"), Qt::CaseInsensitive) == 0;
    const QString proc = js ? QStringLiteral("function TheOrvLetUEnd() {\r\nAppControl.EndApp();\r\n}")
                            : QStringLiteral("Sub TheOrvLetUEnd\r\nAppControl.EndApp\r\nEnd Sub");
    if (sc->addCode(proc) && sc)
        sc->run(QStringLiteral("TheOrvLetUEnd"));
}

void frmApp::setEngine(ScriptControl *engine)
{
    m_engine = engine;
    m_hasEngine = true;
}
