// The main window's frame: the layout of every part, the caption bar (drag,
// double-click, menu), the four window buttons, the sizing border of the
// frameless window and the maximised size.
#include "frmMain.h"

#include "Files.h"
#include "FrameEdges.h"
#include "Twips.h"
#include "VbCompat.h"
#include "ucListBox.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace tessivane {

namespace {
// The smallest window whose caption bar still holds its buttons and a tab.
constexpr int kMinWindowW = 480;
constexpr int kMinWindowH = 240;

// A widget placed in twips whose width must not go below 0: the step is skipped.
bool MoveIfValid(QWidget *w, double left, double top, double width = -1, double height = -1)
{
    if (!w)
        return false;
    if ((width != -1 && width < 0) || (height != -1 && height < 0))
        return false;
    TwipsMove(w, left, top, width, height);
    return true;
}
} // namespace

void frmMain::Form_Resize()
{
    if (!picCaption || m_inFormResize)
        return;
    m_inFormResize = true;
    ConnectFrameEvents();
    const double sw = TScaleWidth(this), sh = TScaleHeight(this);
    // The caption bar is aligned to the top: always the window's full width.
    SetTWidth(picCaption, sw);
    const double capH = THeight(picCaption);

    // 1, 2: the lock panel keeps its place when shown, else it is parked above the client area.
    if (picPass) {
        MoveIfValid(picPass, 0, TTop(picPass), sw, sh - capH);
        if (TTop(picPass) != capH)
            SetTTop(picPass, -sh);
    }
    // 3
    if (picPass && picPassCore)
        TwipsMove(picPassCore, (TWidth(picPass) - TWidth(picPassCore)) / 2,
                  (THeight(picPass) - THeight(picPassCore)) / 2);
    // 4: toolbar images; stop and refresh share one place.
    if (imgBtn[0] && imgBtn[1] && imgBtn[2] && imgBtn[3]) {
        SetTLeft(imgBtn[0], 0);
        SetTLeft(imgBtn[1], TWidth(imgBtn[0]));
        SetTLeft(imgBtn[2], TWidth(imgBtn[0]));
        SetTLeft(imgBtn[3], TLeft(imgBtn[1]) + TWidth(imgBtn[0]));
    }
    // 5: window buttons from the right edge.
    {
        double x = sw;
        for (VbImage *b : imgCtrl) {
            if (!b)
                break;
            x -= TWidth(b);
            SetTLeft(b, x);
        }
    }
    // 6
    if (lstAddr && txtAddr && picAddr)
        TwipsMove(lstAddr, TLeft(txtAddr), capH + THeight(picAddr));
    // 7, 8: open panels stay glued to the right edge, closed ones just outside it.
    if (picApp && tmrSApp)
        TwipsMove(picApp, tmrSApp->Tag.isEmpty() ? sw : sw - TWidth(picApp), capH);
    if (BM && tmrSBM && picAddr)
        TwipsMove(BM, tmrSBM->Tag.isEmpty() ? sw : sw - TWidth(BM), capH + THeight(picAddr));
    // 9: a strip that would be narrower than nothing stays where it was.
    if (picTabBar && imgBtn[3] && imgBtn[0] && imgCtrl[0])
        MoveIfValid(picTabBar, TLeft(imgBtn[3]) + TWidth(imgBtn[3]) + 120, 0,
                    sw - 3 * TWidth(imgBtn[0]) - 4 * TWidth(imgCtrl[0]) - 1000);
    // 10
    if (imgAddWeb && picTabBar)
        SetTLeft(imgAddWeb, TScaleWidth(picTabBar) - TWidth(imgAddWeb));
    // 11
    RfshTabs();
    // 12
    if (picSta)
        TwipsMove(picSta, 0, sh - THeight(picSta));
    // 13, 14: the address bar, collapsed at 375 twips or across the window.
    if (picAddr && !isMinimized())
        TwipsMove(picAddr, 0, capH, TWidth(picAddr) > 375 ? sw : 375);
    if (picAddr && TWidth(picAddr) > 375 && picZoom && txtAddr && imgWebIco[0]) {
        SetTLeft(picZoom, TWidth(picAddr) - TWidth(picZoom) - 120);
        const double w = TWidth(picAddr) - 600 - TWidth(picZoom) - TWidth(imgWebIco[0]);
        if (w >= 0)
            SetTWidth(txtAddr, w);
    }
    // 15: lock on minimise. A MinPass that is no number counts as off.
    if (FlagOn(ReadSet(QStringLiteral("MinPass"))) && isMinimized()) {
        if (tmrSPass)
            tmrSPass->setEnabled(false);
        ShowLock();
    }
    m_inFormResize = false;
}

void frmMain::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    Form_Resize();
}

void frmMain::changeEvent(QEvent *e)
{
    QWidget::changeEvent(e);
    if (e->type() != QEvent::WindowStateChange)
        return;
    const auto *sc = static_cast<QWindowStateChangeEvent *>(e);
    if (isMaximized()) {
        if (!(sc->oldState() & (Qt::WindowMaximized | Qt::WindowMinimized)) && !m_zoomed)
            m_normalGeometry = geometry();
        m_zoomed = true;
        // The maximised size the hook fixes: from the screen's top-left corner,
        // leaving the taskbar at the bottom free.
        const QRect target = MaximisedRect();
        if (geometry() != target)
            setGeometry(target);
    } else if (!isMinimized() && (sc->oldState() & Qt::WindowMaximized)) {
        m_zoomed = false;
        if (m_normalGeometry.isValid())
            setGeometry(m_normalGeometry);
    }
    Form_Resize();
}

void frmMain::HookMaxSize(int MinW, int MinH, int MaxW, int MaxH)
{
    m_minW = MinW;
    m_minH = MinH;
    const QScreen *s = screen();
    m_maxW = MaxW != 0 ? MaxW : (s ? s->geometry().width() : 0);
    m_maxH = MaxH != 0 ? MaxH : (s ? s->geometry().height() : 0);
    setMinimumSize(qMax(MinW, kMinWindowW), qMax(MinH, kMinWindowH));
}

void frmMain::ConnectFrameEvents()
{
    if (m_frameWired || !picCaption)
        return;
    m_frameWired = true;
    connect(picCaption, &VbPictureBox::mouseDown, this, &frmMain::picCaption_MouseDown);
    connect(picCaption, &VbPictureBox::mouseMove, this, &frmMain::picCaption_MouseMove);
    connect(picCaption, &VbPictureBox::mouseUp, this, &frmMain::picCaption_MouseUp);
    connect(picCaption, &VbPictureBox::dblClick, this, &frmMain::picCaption_DblClick);
    for (int i = 0; i < int(imgCtrl.size()); ++i) {
        if (!imgCtrl[i])
            continue;
        connect(imgCtrl[i], &VbImage::mouseUp, this, [this, i](int b, int s, double x, double y) {
            // Any button released over the button.
            if (x >= 0 && y >= 0 && x < TWidth(imgCtrl[i]) && y < THeight(imgCtrl[i]))
                imgCtrl_MouseUp(i, b, s, x, y);
        });
    }
    qApp->installEventFilter(this);
}

void frmMain::picCaption_MouseDown(int Button, int, double X, double Y)
{
    m_captionArmed = Button == 1;
    m_manualMove = false;
    m_captionPress = picCaption->mapToGlobal(QPoint(TwipsToPx(X), TwipsToPx(Y)));
    m_windowAtPress = pos();
}

void frmMain::picCaption_MouseMove(int Button, int, double X, double Y)
{
    const QPoint global = picCaption->mapToGlobal(QPoint(TwipsToPx(X), TwipsToPx(Y)));
    // Only with the left button alone; the drag starts after a few pixels so
    // that a double-click still reaches the caption bar.
    if (Button != 1) {
        m_captionArmed = false;
        m_manualMove = false;
        return;
    }
    if (m_manualMove) {
        move(m_windowAtPress + (global - m_captionPress));
        return;
    }
    if (!m_captionArmed || (global - m_captionPress).manhattanLength() < QApplication::startDragDistance())
        return;
    m_captionArmed = false;
    if (isMaximized())
        return;
    QWindow *w = windowHandle();
    // Without a window manager that moves windows, the window follows the pointer itself.
    if (!w || !w->startSystemMove())
        m_manualMove = true;
}

void frmMain::picCaption_MouseUp(int Button, int, double, double)
{
    m_captionArmed = false;
    m_manualMove = false;
    if (Button == 2 && mnuMain)
        mnuMain->popup(QCursor::pos());
}

void frmMain::picCaption_DblClick()
{
    m_captionArmed = false;
    m_manualMove = false;
    if ((windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)) || m_zoomed) {
        m_zoomed = false;
        showNormal();
        if (m_normalGeometry.isValid())
            setGeometry(m_normalGeometry);
        return;
    }
    m_normalGeometry = geometry();
    m_zoomed = true;
    showMaximized();
    // Without a window manager nothing answers the request: the window then
    // takes the maximised rectangle itself.
    QTimer::singleShot(150, this, [this] {
        if (m_zoomed && !isMaximized())
            setGeometry(MaximisedRect());
    });
}

QRect frmMain::MaximisedRect() const
{
    const QScreen *s = screen();
    if (!s)
        return geometry();
    const int w = m_maxW > 0 ? m_maxW : s->geometry().width();
    const int h = m_maxH > 0 ? m_maxH : s->availableGeometry().bottom() - s->geometry().top() + 1;
    return QRect(s->geometry().topLeft(), QSize(w, h));
}

void frmMain::imgCtrl_MouseUp(int Index, int, int, double, double)
{
    switch (Index) {
    case 0:
        close();
        break;
    case 1:
        picCaption_DblClick();
        break;
    case 2:
        showMinimized();
        break;
    case 3:
        // The bookmarks panel glides out; the app panel toggles.
        tmrSBM->Tag = QStringLiteral("1");
        tmrSBM->setEnabled(true);
        if (lblAddApp[1])
            lblAddApp[1]->setText(QStringLiteral("添加应用"));
        RfshApps();
        tmrSApp->setEnabled(true);
        break;
    default:
        break;
    }
}

bool frmMain::eventFilter(QObject *watched, QEvent *e)
{
    if (TabsEvent(watched, e))
        return true;
    const QEvent::Type t = e->type();
    // The release that ends a resize started from the border is no click:
    // on a caption button it would otherwise close or minimise the window.
    // The window manager may keep that release to itself: the next press
    // then ends the wait.
    if (t == QEvent::MouseButtonRelease && m_borderPressed) {
        m_borderPressed = false;
        return true;
    }
    if (t == QEvent::MouseButtonPress)
        m_borderPressed = false;
    if (t != QEvent::MouseMove && t != QEvent::MouseButtonPress)
        return QWidget::eventFilter(watched, e);
    auto *w = qobject_cast<QWidget *>(watched);
    if (!w || w->window() != this || isMaximized() || isMinimized())
        return QWidget::eventFilter(watched, e);
    const auto *me = static_cast<QMouseEvent *>(e);
    const QPoint p = mapFromGlobal(me->globalPosition().toPoint());
    FrameSpot spot = FrameSpot::Client;
    if (w == picCaption)
        spot = FrameSpot::CaptionBar;
    else if (picCaption && picCaption->isAncestorOf(w))
        spot = FrameSpot::CaptionControl;
    const Qt::Edges edges = FrameResizeEdges(size(), p, spot);
    if (t == QEvent::MouseMove && me->buttons() == Qt::NoButton) {
        if (edges != m_borderEdges) {
            if (m_borderEdges)
                QGuiApplication::restoreOverrideCursor();
            m_borderEdges = edges;
            if (edges) {
                Qt::CursorShape shape = Qt::SizeHorCursor;
                if (edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge))
                    shape = Qt::SizeFDiagCursor;
                else if (edges == (Qt::RightEdge | Qt::TopEdge) || edges == (Qt::LeftEdge | Qt::BottomEdge))
                    shape = Qt::SizeBDiagCursor;
                else if (edges & (Qt::TopEdge | Qt::BottomEdge))
                    shape = Qt::SizeVerCursor;
                QGuiApplication::setOverrideCursor(QCursor(shape));
            }
        }
        return QWidget::eventFilter(watched, e);
    }
    if (t == QEvent::MouseButtonPress && me->button() == Qt::LeftButton && edges && windowHandle()
        && windowHandle()->startSystemResize(edges)) {
        m_borderPressed = true;
        return true;
    }
    return QWidget::eventFilter(watched, e);
}

}  // namespace tessivane
