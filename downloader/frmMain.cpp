#include "frmMain.h"

#include "CFileDownload.h"
#include "DwnQuestion.h"
#include "DwnRequest.h"
#include "DwnPictures.h"
#include "ThemeColors.h"
#include "Twips.h"
#include "VbWidgets.h"
#include "ucDwnLst.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace dunmora {

namespace {
constexpr long kBack = 0x404040;
} // namespace

frmMain::frmMain(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setWindowTitle(QStringLiteral("Dunmora"));
    setFixedSize(TwipsToPx(4815), TwipsToPx(6150));
    setMouseTracking(false);

    lblCaption = new VbImage(this);
    lblCaption->setObjectName(QStringLiteral("lblCaption"));
    lblCaption->setText(QStringLiteral("Tessivane 下载管理器"));
    lblCaption->setFont(UiFont(10.5));
    lblCaption->setForeColor(0xE0E0E0);
    lblCaption->setTransparentBack();
    TwipsMove(lblCaption, 120, 80, 2100, 300);
    connect(lblCaption, &VbImage::mouseDown, this, [this] { m_manualDrag = false; });
    connect(lblCaption, &VbImage::mouseMove, this, [this](int button, int, double, double) {
        if (button & 1)
            Drag(nullptr);
    });

    const double ctrlLeft[2] = {4320, 3840};
    const long pressed[2] = {0x0000C0, 0x808080};
    const QPixmap pictures[2] = {DwnPictures::close(), DwnPictures::minimise()};
    for (int i = 0; i < 2; ++i) {
        // The pressed look lies under the image and shows through it.
        lblCtrl[i] = new VbImage(this);
        lblCtrl[i]->setObjectName(QStringLiteral("lblCtrl%1").arg(i));
        lblCtrl[i]->setBackColor(pressed[i]);
        TwipsMove(lblCtrl[i], ctrlLeft[i], 0, 495, 495);
        lblCtrl[i]->hide();

        imgCtrl[i] = new VbImage(this);
        imgCtrl[i]->setObjectName(QStringLiteral("imgCtrl%1").arg(i));
        imgCtrl[i]->setPixmap(pictures[i]);
        TwipsMove(imgCtrl[i], ctrlLeft[i], 0, 480, 480);
        connect(imgCtrl[i], &VbImage::mouseDown, this, [this, i] { lblCtrl[i]->show(); });
        connect(imgCtrl[i], &VbImage::mouseUp, this, [this, i] { lblCtrl[i]->hide(); });
        connect(imgCtrl[i], &VbImage::clicked, this, [this, i] { imgCtrl_Click(i); });
    }
    for (int i = 0; i < 2; ++i)
        imgCtrl[i]->raise();

    DW = new ucDwnLst(this);
    DW->setObjectName(QStringLiteral("DW"));
    // A timer, not posted events: it fires in whichever event loop runs, the
    // innermost transfer's included, however deep the transfers are nested.
    tmrRequest = new QTimer(this);
    tmrRequest->setSingleShot(true);
    tmrRequest->setInterval(0);
    connect(tmrRequest, &QTimer::timeout, this, &frmMain::TakeRequest);
    connect(DwnQuestion::instance(), &DwnQuestion::answered, this, [this] {
        if (!m_waiting.isEmpty())
            tmrRequest->start();
    });
    TwipsMove(DW, 0, 480, 4830, 5670);

    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect r = screen->geometry();
        move(r.x() + (r.width() - width()) / 2, r.y() + (r.height() - height()) / 2);
    }
}

bool frmMain::Load(const QString &cmd)
{
    show();
    const DwnRequest request = ParseDwnRequest(cmd);
    if (request.show)
        return true;
    if (!request.hasDownload)
        return false;
    // The first transfer runs from the event loop, so that the window works
    // through its pumps from the start.
    QTimer::singleShot(0, this, [this, request] {
        if (!m_closing)
            DW->AddNewDwn(request.url, request.path);
    });
    return true;
}

void frmMain::HandleRequest(const QString &CmdStr)
{
    if (m_closing)
        return;
    if (DwnQuestion::instance()->isOpen()) {
        m_waiting.append(CmdStr);
        return;
    }
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    const DwnRequest request = ParseDwnRequest(CmdStr);
    if (request.show || !request.hasDownload)
        return;
    DW->AddNewDwn(request.url, request.path);
}

void frmMain::QueueRequest(const QString &CmdStr)
{
    if (m_closing)
        return;
    m_waiting.append(CmdStr);
    tmrRequest->start();
}

void frmMain::TakeRequest()
{
    if (m_closing || m_waiting.isEmpty() || DwnQuestion::instance()->isOpen())
        return;
    if (CFileDownload::InStartPump()) {
        // Taken once that transfer runs, inside it.
        tmrRequest->start();
        return;
    }
    if (m_requestDepth >= kMaxNestedRequests)
        return; // taken again when a nested one has returned
    const QString cmd = m_waiting.takeFirst();
    // The next one is taken inside this one's transfer.
    if (!m_waiting.isEmpty())
        tmrRequest->start();
    ++m_requestDepth;
    HandleRequest(cmd);
    --m_requestDepth;
    if (!m_waiting.isEmpty())
        tmrRequest->start();
}

void frmMain::closeEvent(QCloseEvent *e)
{
    if (m_closing) {
        e->accept();
        return;
    }
    if (!DwnQuestion::ask(this, QStringLiteral("关闭下载管理器"),
                          QStringLiteral("关闭下载管理器会导致所有正在下载的任务停止\n是否继续？"))) {
        e->ignore();
        return;
    }
    // Every transfer stops now and takes its temporary file with it; the
    // process ends once the calls waiting for them have returned. Requests
    // that came during the question are not taken.
    m_closing = true;
    m_waiting.clear();
    DW->StopAll();
    e->accept();
    QCoreApplication::quit();
}

void frmMain::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), VbColor(kBack));
}

void frmMain::imgCtrl_Click(int Index)
{
    if (Index == 0)
        close();
    else
        showMinimized();
}

void frmMain::mousePressEvent(QMouseEvent *e)
{
    m_manualDrag = false;
    QWidget::mousePressEvent(e);
}

void frmMain::mouseMoveEvent(QMouseEvent *e)
{
    if (e->buttons() & Qt::LeftButton)
        Drag(e);
}

void frmMain::mouseReleaseEvent(QMouseEvent *e)
{
    m_manualDrag = false;
    QWidget::mouseReleaseEvent(e);
}

void frmMain::Drag(QMouseEvent *)
{
    const QPoint cursor = QCursor::pos();
    if (m_manualDrag) {
        move(cursor - m_dragOffset);
        return;
    }
    if (QWindow *w = windowHandle()) {
        if (w->startSystemMove())
            return;
    }
    m_manualDrag = true;
    m_dragOffset = cursor - pos();
}

}  // namespace dunmora
