#include "frmMouse.h"

#include "GestureLogic.h"
#include "ThemeColors.h"
#include "Twips.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QScreen>

namespace tessivane {

namespace {
constexpr int kPenWidth = 3;
constexpr double kNameBelowPointer = 360; // twips
} // namespace

frmMouse::frmMouse(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                          | Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus
                          | Qt::X11BypassWindowManagerHint)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(false);
    setWindowOpacity(230.0 / 255.0);

    picTxt = new VbPictureBox(this);
    picTxt->setBackColor(0xFFFFFF);
    TwipsMove(picTxt, 0, 0, 1215, 615);
    shpTxt = new QWidget(picTxt);
    shpTxt->setAutoFillBackground(true);
    QPalette pal = shpTxt->palette();
    pal.setColor(QPalette::Window, QColor(0x60, 0x60, 0x60));
    shpTxt->setPalette(pal);
    shpTxt->setGeometry(picTxt->rect());
    lblTxt = new QLabel(QStringLiteral("Txt"), picTxt);
    lblTxt->setFont(UiFont(10.5));
    lblTxt->setAlignment(Qt::AlignCenter);
    lblTxt->setStyleSheet(QStringLiteral("color: #FFFFFF; background: transparent;"));
    lblTxt->setGeometry(picTxt->rect());

    tmrMouse = new VbTimer(this, 10, false);
    connect(tmrMouse, &QTimer::timeout, this, &frmMouse::tmrMouse_Timer);
}

void frmMouse::Form_Load()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    setGeometry(screen ? screen->virtualGeometry() : QRect(0, 0, 1, 1));
    m_foreColor = ClrTabAct;
    m_lastPt = QCursor::pos();
    m_curPt = m_lastPt;
    tmrMouse->setEnabled(true);
    UpdateShape();
}

void frmMouse::GetMouse(const QString &SS)
{
    const QString name = GestureName(SS);
    if (!name.isEmpty())
        lblTxt->setText(name);
}

void frmMouse::ClearTrail()
{
    m_trail.clear();
    m_trailRegion = QRegion();
    m_lastPt = QCursor::pos();
    UpdateShape();
    update();
}

void frmMouse::tmrMouse_Timer()
{
    m_curPt = QCursor::pos();
    const QPoint cur = m_curPt - geometry().topLeft();
    picTxt->move(cur.x(), cur.y() + TwipsToPx(kNameBelowPointer));
    const QLine seg(m_lastPt - geometry().topLeft(), cur);
    m_lastPt = m_curPt;
    if (seg.p1() != seg.p2() || m_trail.isEmpty()) {
        m_trail.append(seg);
        QPainterPath path(seg.p1());
        path.lineTo(seg.p2());
        QPainterPathStroker stroker;
        stroker.setWidth(kPenWidth);
        stroker.setCapStyle(Qt::RoundCap);
        m_trailRegion += QRegion(stroker.createStroke(path).toFillPolygon().toPolygon())
                             .united(QRect(seg.p2() - QPoint(1, 1), QSize(kPenWidth, kPenWidth)));
        update(QRect(seg.p1(), seg.p2()).normalized().adjusted(-4, -4, 4, 4));
    }
    UpdateShape();
}

void frmMouse::UpdateShape()
{
    setMask(m_trailRegion.united(picTxt->geometry()));
}

void frmMouse::paintEvent(QPaintEvent *)
{
    // The trail is exactly the window's shape, so that no edge of the white
    // (see-through) background shows beside it.
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setClipRegion(m_trailRegion);
    p.fillRect(rect(), VbColor(m_foreColor));
}

}  // namespace tessivane
