#include "DwnPictures.h"

#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace {
QPixmap draw(int w, int h, const std::function<void(QPainter &)> &paint)
{
    QPixmap pm(w, h);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p);
    return pm;
}

QPixmap roundButton(const QColor &fill, const std::function<void(QPainter &)> &glyph)
{
    return draw(25, 25, [&](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
        p.drawEllipse(QRectF(1.5, 1.5, 22, 22));
        glyph(p);
    });
}
} // namespace

namespace DwnPictures {

QPixmap minimise()
{
    static const QPixmap pm = draw(32, 32, [](QPainter &p) {
        p.setPen(QPen(QColor(0xE0, 0xE0, 0xE0), 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10.5, 16.5), QPointF(21.5, 16.5));
    });
    return pm;
}

QPixmap close()
{
    static const QPixmap pm = draw(32, 32, [](QPainter &p) {
        p.setPen(QPen(QColor(0xE0, 0xE0, 0xE0), 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(11, 11), QPointF(21, 21));
        p.drawLine(QPointF(21, 11), QPointF(11, 21));
    });
    return pm;
}

QPixmap pause()
{
    static const QPixmap pm = roundButton(QColor(0x8a, 0x8a, 0x8a), [](QPainter &p) {
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(8.5, 7.5, 3, 10), 1, 1);
        p.drawRoundedRect(QRectF(13.5, 7.5, 3, 10), 1, 1);
    });
    return pm;
}

QPixmap resume()
{
    static const QPixmap pm = roundButton(QColor(0x2f, 0x9e, 0x44), [](QPainter &p) {
        QPainterPath tri;
        tri.moveTo(10, 7.5);
        tri.lineTo(18, 12.5);
        tri.lineTo(10, 17.5);
        tri.closeSubpath();
        p.setBrush(Qt::white);
        p.drawPath(tri);
    });
    return pm;
}

QPixmap remove()
{
    static const QPixmap pm = roundButton(QColor(0xd0, 0x4a, 0x43), [](QPainter &p) {
        p.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(9, 9), QPointF(16, 16));
        p.drawLine(QPointF(16, 9), QPointF(9, 16));
    });
    return pm;
}

QPixmap header()
{
    static const QPixmap pm = draw(80, 71, [](QPainter &p) {
        const QColor blue(0x2b, 0x7c, 0xd3);
        // the tray
        QPainterPath tray;
        tray.moveTo(10, 44);
        tray.lineTo(10, 60);
        tray.quadTo(10, 64, 14, 64);
        tray.lineTo(66, 64);
        tray.quadTo(70, 64, 70, 60);
        tray.lineTo(70, 44);
        p.setPen(QPen(QColor(0x70, 0x70, 0x70), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(tray);
        // the arrow
        QPainterPath arrow;
        arrow.moveTo(33, 5);
        arrow.lineTo(47, 5);
        arrow.lineTo(47, 30);
        arrow.lineTo(58, 30);
        arrow.lineTo(40, 52);
        arrow.lineTo(22, 30);
        arrow.lineTo(33, 30);
        arrow.closeSubpath();
        p.setPen(QPen(blue.darker(115), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QLinearGradient g(0, 5, 0, 52);
        g.setColorAt(0, blue.lighter(125));
        g.setColorAt(1, blue);
        p.setBrush(g);
        p.drawPath(arrow);
    });
    return pm;
}

QPixmap fileFallback()
{
    static const QPixmap pm = draw(32, 32, [](QPainter &p) {
        QPainterPath page;
        page.moveTo(7.5, 2.5);
        page.lineTo(19.5, 2.5);
        page.lineTo(26.5, 9.5);
        page.lineTo(26.5, 29.5);
        page.lineTo(7.5, 29.5);
        page.closeSubpath();
        p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
        p.setBrush(Qt::white);
        p.drawPath(page);
        QPainterPath fold;
        fold.moveTo(19.5, 2.5);
        fold.lineTo(19.5, 9.5);
        fold.lineTo(26.5, 9.5);
        p.setBrush(QColor(0xdd, 0xdd, 0xdd));
        p.drawPath(fold);
        p.setPen(QPen(QColor(0xb0, 0xb0, 0xb0), 1));
        for (int y = 14; y <= 25; y += 4)
            p.drawLine(QPointF(11, y + 0.5), QPointF(23, y + 0.5));
    });
    return pm;
}

} // namespace DwnPictures
