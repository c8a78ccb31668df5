#include "WhaleArt.h"

#include "Painting.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace WhaleArt {

QImage whale()
{
    QImage img = Painting::canvas(234, 197);
    QPainter p(&img);
    Painting::prepare(p);

    const QColor outline(28, 78, 150);

    QPainterPath body;
    body.moveTo(20, 124);
    body.cubicTo(20, 82, 66, 62, 116, 66);
    body.cubicTo(148, 69, 168, 86, 182, 95);
    body.cubicTo(189, 99, 193, 92, 193, 80);
    body.lineTo(199, 86);
    body.cubicTo(194, 116, 162, 152, 112, 158);
    body.cubicTo(58, 163, 20, 152, 20, 124);
    body.closeSubpath();

    QPainterPath fluke;
    fluke.moveTo(191, 86);
    fluke.cubicTo(184, 72, 171, 62, 166, 47);
    fluke.cubicTo(181, 49, 192, 58, 196, 69);
    fluke.cubicTo(202, 58, 213, 52, 226, 53);
    fluke.cubicTo(218, 66, 208, 78, 199, 88);
    fluke.closeSubpath();

    // Spout: a stem of water that splits into two curls and three drops.
    const QColor water(132, 190, 244);
    p.setPen(Painting::roundPen(water, 4.0));
    p.setBrush(Qt::NoBrush);
    QPainterPath spout;
    spout.moveTo(84, 64);
    spout.cubicTo(84, 52, 84, 44, 84, 38);
    spout.moveTo(84, 40);
    spout.cubicTo(80, 28, 70, 24, 62, 30);
    spout.moveTo(84, 40);
    spout.cubicTo(88, 28, 98, 24, 106, 30);
    p.drawPath(spout);
    p.setPen(Qt::NoPen);
    p.setBrush(water);
    p.drawEllipse(QPointF(58, 36), 3.6, 3.6);
    p.drawEllipse(QPointF(110, 36), 3.6, 3.6);
    p.drawEllipse(QPointF(84, 22), 4.2, 4.2);

    QLinearGradient skin(0, 62, 0, 160);
    skin.setColorAt(0.0, QColor(82, 150, 228));
    skin.setColorAt(1.0, QColor(42, 104, 192));
    p.setPen(Painting::roundPen(outline, 2.0));
    p.setBrush(skin);
    p.drawPath(fluke);
    p.drawPath(body);

    // Belly, clipped to the body.
    p.save();
    p.setClipPath(body);
    QPainterPath belly;
    belly.moveTo(18, 126);
    belly.cubicTo(56, 142, 118, 146, 176, 120);
    belly.lineTo(176, 170);
    belly.lineTo(18, 170);
    belly.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(222, 237, 252));
    p.drawPath(belly);
    p.setPen(Painting::roundPen(QColor(178, 206, 238), 1.6));
    for (int i = 0; i < 4; ++i)
        p.drawLine(QPointF(44 + i * 22, 140 + i * 0.5), QPointF(52 + i * 22, 156));
    // A soft highlight on the back.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 46));
    p.drawEllipse(QPointF(92, 80), 42, 10);
    p.restore();
    p.setPen(Painting::roundPen(outline, 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(body);

    // Flipper.
    QPainterPath fin;
    fin.moveTo(96, 128);
    fin.cubicTo(104, 140, 116, 146, 128, 145);
    fin.cubicTo(122, 135, 112, 127, 100, 123);
    fin.closeSubpath();
    p.setBrush(QColor(46, 108, 196));
    p.drawPath(fin);

    // Face: eye with a highlight, a small worried brow, cheek and a smile.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(24, 38, 64));
    p.drawEllipse(QPointF(62, 104), 5.4, 6.0);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(63.8, 101.8), 1.9, 1.9);
    p.setPen(Painting::roundPen(QColor(24, 38, 64), 2.0));
    p.drawLine(QPointF(54, 92), QPointF(66, 89));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 150, 170, 120));
    p.drawEllipse(QPointF(76, 118), 7.5, 4.5);
    p.setPen(Painting::roundPen(outline, 2.0));
    p.setBrush(Qt::NoBrush);
    QPainterPath mouth;
    mouth.moveTo(30, 122);
    mouth.cubicTo(40, 130, 54, 130, 62, 124);
    p.drawPath(mouth);

    // Water in front of the lower body, fading out towards the left so that
    // the picture has no hard edge inside the panel.
    QImage waterLayer = Painting::canvas(img.width(), img.height());
    QPainter w(&waterLayer);
    Painting::prepare(w);
    for (int layer = 0; layer < 2; ++layer) {
        QPainterPath wave;
        const qreal base = 164 + layer * 12;
        wave.moveTo(0, 197);
        wave.lineTo(0, base);
        for (int x = 0; x <= 234; x += 3)
            wave.lineTo(x, base + 4.0 * qSin(x / 14.0 + layer * 1.9));
        wave.lineTo(234, 197);
        wave.closeSubpath();
        w.setPen(Qt::NoPen);
        w.setBrush(layer == 0 ? QColor(150, 200, 246, 190) : QColor(104, 170, 236, 210));
        w.drawPath(wave);
    }
    QLinearGradient fade(0, 0, 90, 0);
    fade.setColorAt(0.0, QColor(0, 0, 0, 0));
    fade.setColorAt(1.0, QColor(0, 0, 0, 255));
    w.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    w.fillRect(waterLayer.rect(), fade);
    w.end();
    p.drawImage(0, 0, waterLayer);
    p.end();
    return img;
}

} // namespace WhaleArt
