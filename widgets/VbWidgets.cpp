#include "VbWidgets.h"

#include "ThemeColors.h"
#include "Twips.h"

#include <QFontDatabase>
#include <QMouseEvent>
#include <QPainter>
#include <QTextDocument>

QString PlainToolTip(const QString &text)
{
    if (!Qt::mightBeRichText(text))
        return text;
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

int VbButton(Qt::MouseButton b)
{
    switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

int VbButtons(Qt::MouseButtons b)
{
    int v = 0;
    if (b & Qt::LeftButton) v |= 1;
    if (b & Qt::RightButton) v |= 2;
    if (b & Qt::MiddleButton) v |= 4;
    return v;
}

int VbShift(Qt::KeyboardModifiers m)
{
    int v = 0;
    if (m & Qt::ShiftModifier) v |= 1;
    if (m & Qt::ControlModifier) v |= 2;
    if (m & Qt::AltModifier) v |= 4;
    return v;
}

QFont UiFont(double pointSize, bool bold)
{
    static const QString family = [] {
        const QStringList wanted = {QStringLiteral("微软雅黑"), QStringLiteral("Microsoft YaHei"),
                                    QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Noto Sans CJK SC")};
        const QStringList have = QFontDatabase::families();
        for (const QString &w : wanted) {
            if (have.contains(w, Qt::CaseInsensitive))
                return w;
        }
        return QString();
    }();
    QFont f;
    if (!family.isEmpty())
        f.setFamily(family);
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    return f;
}

VbPictureBox::VbPictureBox(QWidget *parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    setAutoFillBackground(false);
}

void VbPictureBox::setBackColor(long vbColor)
{
    m_back = vbColor;
    update();
}

void VbPictureBox::setPicture(const QPixmap &p)
{
    m_picture = p;
    update();
}

void VbPictureBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), VbColor(m_back));
    if (!m_picture.isNull())
        p.drawPixmap(0, 0, m_picture);
}

void VbPictureBox::mousePressEvent(QMouseEvent *e)
{
    emit mouseDown(VbButton(e->button()), VbShift(e->modifiers()), PxToTwips(int(e->position().x())),
                   PxToTwips(int(e->position().y())));
}

void VbPictureBox::mouseMoveEvent(QMouseEvent *e)
{
    emit mouseMove(VbButtons(e->buttons()), VbShift(e->modifiers()), PxToTwips(int(e->position().x())),
                   PxToTwips(int(e->position().y())));
}

void VbPictureBox::mouseReleaseEvent(QMouseEvent *e)
{
    emit mouseUp(VbButton(e->button()), VbShift(e->modifiers()), PxToTwips(int(e->position().x())),
                 PxToTwips(int(e->position().y())));
}

void VbPictureBox::mouseDoubleClickEvent(QMouseEvent *)
{
    emit dblClick();
}

VbImage::VbImage(QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setMouseTracking(true);
    setFont(UiFont());
}

void VbImage::setPictureAutoSize(const QPixmap &p)
{
    setPixmap(p);
    if (!p.isNull())
        resize(p.size());
}

void VbImage::setForeColor(long vbColor)
{
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, VbColor(vbColor));
    setPalette(pal);
}

void VbImage::setBackColor(long vbColor)
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, VbColor(vbColor));
    setPalette(pal);
}

void VbImage::setTransparentBack()
{
    setAutoFillBackground(false);
}

void VbImage::mousePressEvent(QMouseEvent *e)
{
    emit mouseDown(VbButton(e->button()), VbShift(e->modifiers()), PxToTwips(int(e->position().x())),
                   PxToTwips(int(e->position().y())));
}

void VbImage::mouseMoveEvent(QMouseEvent *e)
{
    emit mouseMove(VbButtons(e->buttons()), VbShift(e->modifiers()), PxToTwips(int(e->position().x())),
                   PxToTwips(int(e->position().y())));
}

void VbImage::mouseReleaseEvent(QMouseEvent *e)
{
    emit mouseUp(VbButton(e->button()), VbShift(e->modifiers()), PxToTwips(int(e->position().x())),
                 PxToTwips(int(e->position().y())));
    if (rect().contains(e->position().toPoint()))
        emit clicked();
}

void VbImage::mouseDoubleClickEvent(QMouseEvent *)
{
    emit dblClick();
}
