#include "ThemeArt.h"

#include "Painting.h"
#include "Palette.h"
#include "TextFile.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QtMath>
#include <cstdio>
#include <functional>

namespace {

// Toolbar and window buttons: 435 x 480 twips.
constexpr int kBtnW = 29;
constexpr int kBtnH = 32;
// The glyphs sit on a 29 x 32 cell whose centre is (14.5, 16).
constexpr qreal kCx = 14.5;
constexpr qreal kCy = 16.0;
constexpr qreal kStroke = 1.7;

using Glyph = std::function<void(QPainter &, const QColor &)>;

QImage button(const Glyph &glyph, const QColor &colour = Palette::glyph)
{
    QImage img = Painting::canvas(kBtnW, kBtnH, Palette::toolBar);
    QPainter p(&img);
    Painting::prepare(p);
    glyph(p, colour);
    p.end();
    return Painting::flatten(img, Palette::toolBar);
}

void arrow(QPainter &p, const QColor &c, bool forward)
{
    const qreal dir = forward ? 1.0 : -1.0;
    const qreal tipX = kCx + dir * 5.5;
    QPainterPath path;
    path.moveTo(kCx - dir * 5.5, kCy);
    path.lineTo(tipX, kCy);
    path.moveTo(tipX - dir * 5.0, kCy - 5.0);
    path.lineTo(tipX, kCy);
    path.lineTo(tipX - dir * 5.0, kCy + 5.0);
    p.setPen(Painting::roundPen(c, kStroke));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

void refresh(QPainter &p, const QColor &c)
{
    const qreal r = 5.6;
    const QRectF circle(kCx - r, kCy - r, 2 * r, 2 * r);
    // Qt angles: 0 at three o'clock, counter-clockwise positive. The gap sits
    // at the upper right; the arrow head ends the arc there, pointing clockwise.
    const qreal startDeg = 60.0;
    const qreal spanDeg = 285.0;
    QPainterPath arc;
    arc.arcMoveTo(circle, startDeg);
    arc.arcTo(circle, startDeg, spanDeg);
    p.setPen(Painting::roundPen(c, kStroke));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);

    // Head at the start of the arc (angle 60 deg), pointing along the clockwise tangent.
    const qreal a = qDegreesToRadians(startDeg);
    const QPointF tip(kCx + r * qCos(a), kCy - r * qSin(a));
    // Clockwise tangent on screen at angle a: (sin a, cos a).
    const QPointF t(qSin(a), qCos(a));
    const QPointF n(-t.y(), t.x());
    const qreal len = 4.6;
    const qreal half = 3.0;
    const QPointF apex = tip + t * (len * 0.55);
    const QPointF base = tip - t * (len * 0.45);
    QPainterPath head;
    head.moveTo(apex);
    head.lineTo(base + n * half);
    head.lineTo(base - n * half);
    head.closeSubpath();
    p.setPen(Painting::roundPen(c, 0.8));
    p.setBrush(c);
    p.drawPath(head);
}

void cross(QPainter &p, const QColor &c, qreal half, qreal width)
{
    p.setPen(Painting::roundPen(c, width));
    p.drawLine(QPointF(kCx - half, kCy - half), QPointF(kCx + half, kCy + half));
    p.drawLine(QPointF(kCx - half, kCy + half), QPointF(kCx + half, kCy - half));
}

void menu(QPainter &p, const QColor &c)
{
    QPen pen(c, 2.0);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    for (qreal y : {11.0, 16.0, 21.0})
        p.drawLine(QPointF(kCx - 5.5, y), QPointF(kCx + 5.5, y));
}

void maximise(QPainter &p, const QColor &c)
{
    // One-pixel lines on pixel centres stay sharp.
    QPen pen(c, 1.0);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(kCx - 5.0, kCy - 5.5, 10.0, 10.0));
}

void minimise(QPainter &p, const QColor &c)
{
    p.setPen(QPen(c, 1.0));
    p.drawLine(QPointF(kCx - 5.0, kCy - 0.5), QPointF(kCx + 5.0, kCy - 0.5));
}

void apps(QPainter &p, const QColor &c)
{
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    const qreal cell = 3.2;
    const qreal gap = 1.9;
    const qreal span = 3 * cell + 2 * gap;
    const qreal x0 = kCx - span / 2;
    const qreal y0 = kCy - span / 2;
    for (int r = 0; r < 3; ++r)
        for (int col = 0; col < 3; ++col)
            p.drawRoundedRect(QRectF(x0 + col * (cell + gap), y0 + r * (cell + gap), cell, cell), 0.9, 0.9);
}

// The address bar's picture, 23 x 19, at the left of the bar: a small globe and
// a chevron, so the collapsed bar reads as a button that opens the address box.
QImage addressPicture()
{
    QImage img = Painting::canvas(23, 19, Palette::toolBar);
    QPainter p(&img);
    Painting::prepare(p);
    const QPointF c(9.5, 9.5);
    const qreal r = 6.0;
    p.setPen(Painting::roundPen(Palette::glyph, 1.3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r, r);
    p.setPen(Painting::roundPen(Palette::glyph, 1.0));
    p.drawEllipse(c, r * 0.42, r);
    p.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
    p.setPen(Painting::roundPen(Palette::glyph, 1.5));
    p.drawLine(QPointF(17.6, 6.8), QPointF(20.2, 9.5));
    p.drawLine(QPointF(20.2, 9.5), QPointF(17.6, 12.2));
    p.end();
    return Painting::flatten(img, Palette::toolBar);
}

// Background of the navigation page: a calm diagonal blue gradient with a few
// soft light bands; the tiles and their captions sit on it.
QImage navBackground()
{
    const int w = 1280;
    const int h = 800;
    QImage img = Painting::canvas(w, h, Palette::toolBar);
    QPainter p(&img);
    Painting::prepare(p);
    QLinearGradient g(0, 0, w, h);
    g.setColorAt(0.0, QColor(170, 200, 238));
    g.setColorAt(0.55, QColor(204, 223, 246));
    g.setColorAt(1.0, QColor(236, 243, 252));
    p.fillRect(img.rect(), g);

    // Soft waves across the lower half.
    const struct { qreal y, amp, phase, alpha; } waves[] = {
        {0.58, 38, 0.0, 34}, {0.68, 30, 1.7, 28}, {0.80, 24, 3.1, 24}};
    for (const auto &wv : waves) {
        QPainterPath path;
        path.moveTo(0, h);
        for (int x = 0; x <= w; x += 8) {
            const qreal y = h * wv.y + wv.amp * qSin(x / 210.0 + wv.phase) + 0.4 * wv.amp * qSin(x / 97.0 + wv.phase * 2);
            path.lineTo(x, y);
        }
        path.lineTo(w, h);
        path.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, int(wv.alpha)));
        p.drawPath(path);
    }
    // A faint glow at the upper left.
    QRadialGradient glow(QPointF(w * 0.18, h * 0.12), w * 0.45);
    glow.setColorAt(0.0, QColor(255, 255, 255, 70));
    glow.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.fillRect(img.rect(), glow);

    // A whisper of grain so the gradient does not band in the JPEG.
    QRandomGenerator rng(936);
    for (int i = 0; i < 9000; ++i) {
        const int x = rng.bounded(w);
        const int y = rng.bounded(h);
        p.setPen(QColor(255, 255, 255, 10 + rng.bounded(10)));
        p.drawPoint(x, y);
    }
    p.end();
    return Painting::flatten(img, Palette::toolBar);
}

QString vbColour(const QColor &c)
{
    const uint v = uint(c.red()) | (uint(c.green()) << 8) | (uint(c.blue()) << 16);
    return QStringLiteral("&H") + QString::number(v, 16).rightJustified(8, QLatin1Char('0')).toUpper();
}

} // namespace

namespace ThemeArt {

bool writeTheme(const QString &themesDir, const QString &name)
{
    const QString dir = themesDir + QLatin1Char('/') + name + QLatin1Char('/');
    bool ok = true;
    const auto bmp = [&](const QImage &img, const char *file) {
        ok = Painting::save(img, dir + QLatin1String(file), "BMP") && ok;
    };
    bmp(button([](QPainter &p, const QColor &c) { arrow(p, c, false); }), "Lf.bmp");
    bmp(button([](QPainter &p, const QColor &c) { arrow(p, c, true); }, Palette::accent), "Rt.bmp");
    bmp(button(refresh), "Rf.bmp");
    bmp(button([](QPainter &p, const QColor &c) { cross(p, c, 4.6, kStroke); }), "St.bmp");
    bmp(button(menu), "Wr.bmp");
    bmp(button([](QPainter &p, const QColor &c) { cross(p, c, 5.0, 1.2); }), "Cl.bmp");
    bmp(button(maximise), "Mx.bmp");
    bmp(button(minimise), "Mn.bmp");
    bmp(button(apps), "Ap.bmp");
    bmp(addressPicture(), "Tx.bmp");
    ok = Painting::save(navBackground(), dir + QStringLiteral("NavBG.jpg"), "JPG", 90) && ok;

    const QString ini = QStringLiteral("[Clr]\r\nMain=%1\r\nTabAct=%2\r\nTabNrm=%3\r\nToolBar=%4\r\nWhiteFont=0\r\n")
                            .arg(vbColour(Palette::main), vbColour(Palette::tabAct), vbColour(Palette::tabNrm),
                                 vbColour(Palette::toolBar));
    const QString iniPath = themesDir + QLatin1Char('/') + name + QStringLiteral(".ini");
    const bool iniOk = TextFile::writeWhole(iniPath, ini);
    std::printf("%s %s\n", iniOk ? "wrote" : "FAILED", qPrintable(iniPath));
    return ok && iniOk;
}

} // namespace ThemeArt
