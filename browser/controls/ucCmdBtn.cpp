#include "ucCmdBtn.h"

#include "Twips.h"
#include "VbTimer.h"
#include "VbWidgets.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

ucCmdBtn::ucCmdBtn(QWidget *parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);

    lblCaption = new QLabel(this);
    lblCaption->setFont(UiFont(9));
    lblCaption->setAttribute(Qt::WA_TranslucentBackground);
    lblCaption->setAutoFillBackground(false);
    // The caption passes its presses, releases and clicks on to the button;
    // moves over it are sorted out in mouseMoveEvent.
    lblCaption->setAttribute(Qt::WA_TransparentForMouseEvents);
    lblCaption->adjustSize();

    tmrClr = new VbTimer(this, kFadeMs, false);
    connect(tmrClr, &QTimer::timeout, this, &ucCmdBtn::tmrClr_Timer);

    Initialize();
    centreCaption();
}

ucCmdBtn::ucCmdBtn(const QString &caption, QWidget *parent)
    : ucCmdBtn(parent)
{
    setCaption(caption);
}

QString ucCmdBtn::Caption() const
{
    return lblCaption->text();
}

void ucCmdBtn::setCaption(const QString &nCap)
{
    emit PropertyChanged();
    lblCaption->setText(nCap);
    lblCaption->adjustSize();
    centreCaption();
}

void ucCmdBtn::ReadProperties(const QVariantHash &propBag)
{
    lblCaption->setText(propBag.value(QStringLiteral("Caption")).toString());
    lblCaption->adjustSize();
    centreCaption();
}

void ucCmdBtn::WriteProperties(QVariantHash &propBag) const
{
    propBag.insert(QStringLiteral("Caption"), lblCaption->text());
}

long ucCmdBtn::BackColor() const
{
    return long(m_grey) | (long(m_grey) << 8) | (long(m_grey) << 16);
}

void ucCmdBtn::Initialize()
{
    setGrey(kNormal);
}

void ucCmdBtn::setGrey(int g)
{
    m_grey = g;
    update();
}

void ucCmdBtn::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(m_grey, m_grey, m_grey));
}

void ucCmdBtn::showEvent(QShowEvent *e)
{
    // A button shown again starts from the normal grey; its own fade steps
    // repaint it without this reset, so the fade stays visible.
    Initialize();
    QWidget::showEvent(e);
}

void ucCmdBtn::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    centreCaption();
}

void ucCmdBtn::centreCaption()
{
    TwipsMove(lblCaption, (TScaleWidth(this) - TWidth(lblCaption)) / 2,
              (TScaleHeight(this) - THeight(lblCaption)) / 2);
}

void ucCmdBtn::startFade(int target)
{
    m_clrTo = target;
    tmrClr->setEnabled(true);
}

void ucCmdBtn::mousePressEvent(QMouseEvent *e)
{
    m_dblClickPress = false;
    startFade(kPressed);
    e->accept();
}

void ucCmdBtn::mouseMoveEvent(QMouseEvent *e)
{
    const QPoint pos = e->position().toPoint();
    // Moves over the caption stay with the caption.
    if (!lblCaption->text().isEmpty() && lblCaption->geometry().contains(pos))
        return;
    const double x = e->position().x() * kTwipsPerPixel;
    const double y = e->position().y() * kTwipsPerPixel;
    if (x < 0 || x > TWidth(this) || y < 0 || y > THeight(this)) {
        // The pointer has left. Qt keeps the pointer only while a mouse
        // button is held and lets it go by itself on release.
        startFade(kNormal);
    } else {
        startFade(kHover);
    }
}

void ucCmdBtn::leaveEvent(QEvent *e)
{
    // The move that leaves the button: Qt reports it as a leave.
    startFade(kNormal);
    QWidget::leaveEvent(e);
}

void ucCmdBtn::mouseReleaseEvent(QMouseEvent *e)
{
    startFade(kHover);
    const bool secondOfDouble = m_dblClickPress;
    m_dblClickPress = false;
    if (e->button() == Qt::LeftButton && !secondOfDouble && rect().contains(e->position().toPoint()))
        emit Click();
}

void ucCmdBtn::mouseDoubleClickEvent(QMouseEvent *e)
{
    // The second press of a double-click is no new press: it raises DblClick,
    // and its release raises no Click.
    m_dblClickPress = true;
    if (e->button() == Qt::LeftButton)
        emit DblClick();
}

void ucCmdBtn::tmrClr_Timer()
{
    const int g = m_grey;
    const bool rising = g < m_clrTo;
    const int next = rising ? qMin(g + kStep, 255) : g - kStep;
    setGrey(next);
    if ((rising && next >= m_clrTo) || (!rising && next <= m_clrTo)) {
        setGrey(m_clrTo);
        tmrClr->setEnabled(false);
    }
}
