#include "ResourceArt.h"

#include "Painting.h"
#include "Palette.h"
#include "WhaleArt.h"

#include <QFile>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <cstdio>
#include <functional>

namespace {

const QColor kGold(246, 183, 38);
const QColor kGoldEdge(205, 137, 14);
const QColor kGreen(44, 158, 92);
const QColor kRed(214, 84, 84);
const QColor kLightGlyph(226, 226, 226);

using Draw = std::function<void(QPainter &)>;

QImage paint(int w, int h, const Draw &draw)
{
    QImage img = Painting::canvas(w, h);
    QPainter p(&img);
    Painting::prepare(p);
    draw(p);
    p.end();
    return img;
}

QPainterPath star(QPointF c, qreal outer, qreal inner)
{
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const qreal r = (i % 2) ? inner : outer;
        const qreal a = qDegreesToRadians(-90.0 + i * 36.0);
        const QPointF pt(c.x() + r * qCos(a), c.y() + r * qSin(a));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

// A sheet of paper with its upper right corner folded, inside rect.
void page(QPainter &p, const QRectF &r, const QColor &edge, const QColor &fill, bool lines)
{
    const qreal fold = r.width() * 0.38;
    QPainterPath sheet;
    sheet.moveTo(r.left(), r.top());
    sheet.lineTo(r.right() - fold, r.top());
    sheet.lineTo(r.right(), r.top() + fold);
    sheet.lineTo(r.right(), r.bottom());
    sheet.lineTo(r.left(), r.bottom());
    sheet.closeSubpath();
    p.setPen(Painting::roundPen(edge, 1.2));
    p.setBrush(fill);
    p.drawPath(sheet);
    QPainterPath corner;
    corner.moveTo(r.right() - fold, r.top());
    corner.lineTo(r.right() - fold, r.top() + fold);
    corner.lineTo(r.right(), r.top() + fold);
    p.setBrush(Qt::NoBrush);
    p.drawPath(corner);
    if (lines) {
        p.setPen(Painting::roundPen(edge, 1.0));
        const qreal x0 = r.left() + 2.6;
        const qreal x1 = r.right() - 2.6;
        for (qreal y = r.top() + fold + 2.6; y < r.bottom() - 1.8; y += 2.8)
            p.drawLine(QPointF(x0, y), QPointF(x1, y));
    }
}

void downloadIcon(QPainter &p)
{
    p.setPen(Painting::roundPen(Palette::accent, 1.7));
    p.drawLine(QPointF(9.5, 2.8), QPointF(9.5, 11.6));
    p.drawLine(QPointF(5.6, 8.0), QPointF(9.5, 11.9));
    p.drawLine(QPointF(13.4, 8.0), QPointF(9.5, 11.9));
    p.setPen(Painting::roundPen(Palette::glyph, 1.5));
    QPainterPath tray;
    tray.moveTo(3.2, 11.8);
    tray.lineTo(3.2, 15.8);
    tray.lineTo(15.8, 15.8);
    tray.lineTo(15.8, 11.8);
    p.setBrush(Qt::NoBrush);
    p.drawPath(tray);
}

void bookmarkStar(QPainter &p)
{
    p.setPen(Painting::roundPen(kGoldEdge, 1.0));
    p.setBrush(kGold);
    p.drawPath(star(QPointF(9.5, 10.0), 8.0, 3.6));
}

void plainPage(QPainter &p)
{
    page(p, QRectF(4.5, 2.5, 10.0, 14.0), Palette::muted, Qt::white, true);
}

void padlock(QPainter &p)
{
    p.setPen(Painting::roundPen(QColor(36, 128, 74), 1.6));
    p.setBrush(Qt::NoBrush);
    QPainterPath shackle;
    shackle.moveTo(6.3, 9.0);
    shackle.lineTo(6.3, 6.3);
    shackle.arcTo(QRectF(6.3, 3.0, 6.4, 6.6), 180.0, -180.0);
    shackle.lineTo(12.7, 9.0);
    p.drawPath(shackle);
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawRoundedRect(QRectF(3.8, 8.6, 11.4, 8.4), 1.8, 1.8);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(9.5, 12.0), 1.4, 1.4);
    p.drawRect(QRectF(9.0, 12.2, 1.0, 2.6));
}

void newTab(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 110));
    p.drawRoundedRect(QRectF(1.5, 6.0, 19.0, 19.0), 4.0, 4.0);
    QPen pen(Palette::glyph, 1.8);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.drawLine(QPointF(11.0, 10.2), QPointF(11.0, 20.8));
    p.drawLine(QPointF(5.7, 15.5), QPointF(16.3, 15.5));
}

void addressBar(QPainter &p)
{
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
}

void appPlaceholder(QPainter &p)
{
    // Soft shadow, then a rounded tile with a grid of four blocks.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 28));
    p.drawRoundedRect(QRectF(3.0, 4.5, 42.0, 42.0), 10.0, 10.0);
    QLinearGradient g(0, 2, 0, 44);
    g.setColorAt(0.0, QColor(98, 160, 240));
    g.setColorAt(1.0, QColor(38, 104, 204));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(3.0, 2.5, 42.0, 42.0), 10.0, 10.0);
    p.setBrush(QColor(255, 255, 255, 235));
    const qreal s = 10.0;
    const qreal gap = 4.0;
    const qreal x0 = 24.0 - s - gap / 2;
    const qreal y0 = 23.5 - s - gap / 2;
    p.drawRoundedRect(QRectF(x0, y0, s, s), 2.5, 2.5);
    p.drawRoundedRect(QRectF(x0 + s + gap, y0, s, s), 2.5, 2.5);
    p.drawRoundedRect(QRectF(x0, y0 + s + gap, s, s), 2.5, 2.5);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawRoundedRect(QRectF(x0 + s + gap, y0 + s + gap, s, s), 5.0, 5.0);
}

void tabClose(QPainter &p)
{
    // Grey &H808080, 13 pixels across.
    p.setPen(Painting::roundPen(QColor(128, 128, 128), 1.5));
    p.drawLine(QPointF(2.0, 2.0), QPointF(15.0, 15.0));
    p.drawLine(QPointF(2.0, 15.0), QPointF(15.0, 2.0));
}

void gotoPage(QPainter &p)
{
    page(p, QRectF(4.5, 2.5, 10.0, 14.0), Palette::accent, QColor(234, 242, 253), true);
}

void searchLens(QPainter &p)
{
    p.setPen(Painting::roundPen(Palette::glyph, 1.6));
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawEllipse(QPointF(8.0, 8.0), 5.0, 5.0);
    p.setPen(Painting::roundPen(Palette::glyph, 2.4));
    p.drawLine(QPointF(11.8, 11.8), QPointF(15.8, 15.8));
}

void historyClock(QPainter &p)
{
    p.setPen(Painting::roundPen(Palette::muted, 1.5));
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawEllipse(QPointF(9.5, 9.5), 7.0, 7.0);
    p.setPen(Painting::roundPen(Palette::glyph, 1.5));
    p.drawLine(QPointF(9.5, 5.2), QPointF(9.5, 9.7));
    p.drawLine(QPointF(9.5, 9.7), QPointF(12.6, 11.4));
}

void bookmarksHeader(QPainter &p)
{
    // A ribbon bookmark with a star, 80 x 71.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 24));
    QPainterPath shadow;
    shadow.addRoundedRect(QRectF(23.0, 6.0, 38.0, 62.0), 6.0, 6.0);
    p.drawPath(shadow);
    QPainterPath ribbon;
    ribbon.moveTo(27.0, 4.0);
    ribbon.lineTo(55.0, 4.0);
    ribbon.quadTo(59.0, 4.0, 59.0, 8.0);
    ribbon.lineTo(59.0, 64.0);
    ribbon.lineTo(41.0, 51.0);
    ribbon.lineTo(23.0, 64.0);
    ribbon.lineTo(23.0, 8.0);
    ribbon.quadTo(23.0, 4.0, 27.0, 4.0);
    QLinearGradient g(0, 4, 0, 64);
    g.setColorAt(0.0, QColor(98, 160, 240));
    g.setColorAt(1.0, QColor(38, 104, 204));
    p.setBrush(g);
    p.drawPath(ribbon);
    p.setBrush(Qt::white);
    p.drawPath(star(QPointF(41.0, 26.0), 11.0, 4.8));
}

void deleteMark(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawEllipse(QPointF(12.5, 12.5), 8.5, 8.5);
    p.setPen(Painting::roundPen(Qt::white, 1.7));
    p.drawLine(QPointF(9.3, 9.3), QPointF(15.7, 15.7));
    p.drawLine(QPointF(9.3, 15.7), QPointF(15.7, 9.3));
}

void windowClose(QPainter &p)
{
    p.setPen(Painting::roundPen(kLightGlyph, 1.4));
    p.drawLine(QPointF(10.5, 10.5), QPointF(21.5, 21.5));
    p.drawLine(QPointF(10.5, 21.5), QPointF(21.5, 10.5));
}

void windowMinimise(QPainter &p)
{
    p.setPen(Painting::roundPen(kLightGlyph, 1.4));
    p.drawLine(QPointF(10.5, 16.5), QPointF(21.5, 16.5));
}

// The program's mark: a rounded blue square with a white "T" over a wave.
void logoMark(QPainter &p, const QRectF &r)
{
    p.setPen(Qt::NoPen);
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0.0, QColor(104, 170, 246));
    g.setColorAt(1.0, QColor(30, 92, 196));
    p.setBrush(g);
    p.drawRoundedRect(r, r.width() * 0.24, r.width() * 0.24);
    const qreal u = r.width() / 100.0;
    auto at = [&](qreal x, qreal y) { return QPointF(r.left() + x * u, r.top() + y * u); };
    p.setBrush(QColor(255, 255, 255, 70));
    QPainterPath wave;
    wave.moveTo(at(0, 72));
    wave.cubicTo(at(25, 58), at(45, 86), at(100, 66));
    wave.lineTo(at(100, 76));
    wave.cubicTo(at(50, 98), at(28, 68), at(0, 84));
    wave.closeSubpath();
    p.setClipPath([&] {
        QPainterPath clip;
        clip.addRoundedRect(r, r.width() * 0.24, r.width() * 0.24);
        return clip;
    }());
    p.drawPath(wave);
    p.setClipping(false);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(at(24, 22), at(76, 34)), 5 * u, 5 * u);
    p.drawRoundedRect(QRectF(at(44, 22), at(56, 74)), 5 * u, 5 * u);
}

void aboutBanner(QPainter &p)
{
    logoMark(p, QRectF(14, 22, 96, 96));
    p.setPen(Palette::glyph);
    QFont title = Painting::uiFont(50, 700);
    p.setFont(title);
    p.drawText(QRectF(132, 18, 300, 66), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Tessivane"));
    p.setPen(Palette::muted);
    p.setFont(Painting::uiFont(19));
    p.drawText(QRectF(136, 84, 300, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("网页浏览器 · 第二代"));
    p.setPen(Painting::roundPen(Palette::accent, 3.0));
    p.drawLine(QPointF(137, 122), QPointF(177, 122));
}

// Quick-hide disguises: input-method status bars. They are the window's own
// background, so they are opaque.
void textAt(QPainter &p, const QRectF &r, const QString &t, const QColor &c, qreal px, int weight = 400)
{
    p.setPen(c);
    p.setFont(Painting::uiFont(px, weight));
    p.drawText(r, Qt::AlignCenter, t);
}

void keyboardGlyph(QPainter &p, QPointF c, const QColor &col)
{
    p.setPen(Painting::roundPen(col, 1.1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(c.x() - 6.5, c.y() - 4.0, 13.0, 8.0), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(col);
    for (int i = 0; i < 4; ++i) {
        p.drawRect(QRectF(c.x() - 4.6 + i * 2.6, c.y() - 2.2, 1.4, 1.3));
        p.drawRect(QRectF(c.x() - 4.6 + i * 2.6, c.y() - 0.2, 1.4, 1.3));
    }
    p.drawRect(QRectF(c.x() - 3.2, c.y() + 1.7, 6.4, 1.2));
}

void crescent(QPainter &p, QPointF c, qreal r, const QColor &col)
{
    QPainterPath moon;
    moon.addEllipse(c, r, r);
    QPainterPath bite;
    bite.addEllipse(c + QPointF(r * 0.55, -r * 0.35), r * 0.85, r * 0.85);
    p.setPen(Qt::NoPen);
    p.setBrush(col);
    p.drawPath(moon.subtracted(bite));
}

void smiley(QPainter &p, QPointF c, qreal r, const QColor &col)
{
    p.setPen(Painting::roundPen(col, 1.1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r, r);
    p.setPen(Qt::NoPen);
    p.setBrush(col);
    p.drawEllipse(c + QPointF(-r * 0.38, -r * 0.25), 0.9, 0.9);
    p.drawEllipse(c + QPointF(r * 0.38, -r * 0.25), 0.9, 0.9);
    p.setPen(Painting::roundPen(col, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(c.x() - r * 0.55, c.y() - r * 0.45, r * 1.1, r * 1.1), 200 * 16, 140 * 16);
}

void imeModern(QPainter &p)
{
    const QRectF r(0.5, 0.5, 168.0, 21.0);
    p.fillRect(QRectF(0, 0, 169, 22), QColor(244, 246, 249));
    p.setPen(QColor(196, 202, 212));
    p.setBrush(QColor(252, 253, 255));
    p.drawRoundedRect(r, 3.0, 3.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(46, 124, 226));
    p.drawRoundedRect(QRectF(3, 3, 16, 16), 3.0, 3.0);
    textAt(p, QRectF(3, 3, 16, 16), QStringLiteral("拼"), Qt::white, 12, 700);
    const QColor ink(52, 62, 78);
    textAt(p, QRectF(22, 1, 20, 20), QStringLiteral("中"), ink, 14);
    crescent(p, QPointF(52, 11), 5.0, ink);
    textAt(p, QRectF(60, 0, 22, 20), QStringLiteral("°，"), ink, 13);
    smiley(p, QPointF(92, 11), 5.6, ink);
    keyboardGlyph(p, QPointF(112, 11), ink);
    p.setPen(Painting::roundPen(ink, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(133, 11), 4.8, 4.8);
    p.drawEllipse(QPointF(133, 11), 1.6, 1.6);
    for (int i = 0; i < 8; ++i) {
        const qreal a = qDegreesToRadians(i * 45.0);
        p.drawLine(QPointF(133 + 4.8 * qCos(a), 11 + 4.8 * qSin(a)), QPointF(133 + 6.4 * qCos(a), 11 + 6.4 * qSin(a)));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    for (int i = 0; i < 3; ++i)
        p.drawEllipse(QPointF(150 + i * 4.5, 11), 1.2, 1.2);
}

void bevel(QPainter &p, const QRect &r, bool raised)
{
    p.setPen(raised ? QColor(255, 255, 255) : QColor(128, 128, 128));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(raised ? QColor(128, 128, 128) : QColor(255, 255, 255));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

void imeClassic(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(0, 0, 166, 25), QColor(212, 208, 200));
    bevel(p, QRect(0, 0, 165, 24), true);
    // Grip.
    for (int y = 4; y < 21; y += 3) {
        p.setPen(Qt::white);
        p.drawPoint(4, y);
        p.setPen(QColor(128, 128, 128));
        p.drawPoint(5, y + 1);
    }
    const int cells[][2] = {{9, 22}, {32, 48}, {82, 22}, {105, 28}, {135, 26}};
    for (const auto &c : cells)
        bevel(p, QRect(c[0], 3, c[1], 18), true);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QColor ink(0, 0, 0);
    textAt(p, QRectF(9, 3, 22, 18), QStringLiteral("中"), ink, 14);
    textAt(p, QRectF(32, 3, 48, 18), QStringLiteral("全拼"), ink, 13);
    crescent(p, QPointF(93, 12), 5.0, ink);
    textAt(p, QRectF(105, 2, 28, 18), QStringLiteral("°，"), ink, 14);
    keyboardGlyph(p, QPointF(148, 12), ink);
}

void imeStandard(QPainter &p)
{
    QLinearGradient g(0, 0, 0, 26);
    g.setColorAt(0.0, QColor(236, 242, 251));
    g.setColorAt(1.0, QColor(206, 220, 241));
    p.fillRect(QRectF(0, 0, 127, 26), g);
    p.setPen(QColor(142, 166, 204));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, 126, 25));
    // Grip.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(142, 166, 204));
    for (int y = 6; y <= 18; y += 3)
        p.drawRect(QRectF(3, y, 2, 2));
    p.setBrush(QColor(28, 88, 184));
    p.drawRoundedRect(QRectF(9, 4, 24, 18), 2.5, 2.5);
    textAt(p, QRectF(9, 4, 24, 18), QStringLiteral("CH"), Qt::white, 11, 700);
    const QColor ink(32, 48, 80);
    keyboardGlyph(p, QPointF(48, 13), ink);
    textAt(p, QRectF(60, 3, 26, 20), QStringLiteral("拼音"), ink, 12);
    p.setPen(Painting::roundPen(ink, 1.1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(99, 13), 5.6, 5.6);
    textAt(p, QRectF(93, 6, 12, 14), QStringLiteral("?"), ink, 10, 700);
    p.setPen(Painting::roundPen(ink, 1.3));
    p.drawLine(QPointF(112, 16.5), QPointF(120, 16.5));
}

struct Picture
{
    const char *file;
    int w, h;
    Draw draw;
};

} // namespace

namespace ResourceArt {

bool writeResources(const QString &dir, QStringList *written)
{
    const Picture pictures[] = {
        {"imgDwn.png", 19, 19, downloadIcon},
        {"imgBM.png", 19, 19, bookmarkStar},
        {"imgWebIco0.png", 19, 19, plainPage},
        {"imgWebIco1.png", 19, 19, padlock},
        {"imgAddWeb.png", 22, 31, newTab},
        {"picAddr.png", 23, 19, addressBar},
        {"picAIco.png", 48, 48, appPlaceholder},
        {"picCls.png", 17, 17, tabClose},
        {"imgGoto.png", 19, 19, gotoPage},
        {"imgSrch.png", 19, 19, searchLens},
        {"imgHis.png", 19, 19, historyClock},
        {"imgBMIco.png", 80, 71, bookmarksHeader},
        {"imgDel.png", 25, 25, deleteMark},
        {"imgWinClose.png", 32, 32, windowClose},
        {"imgWinMin.png", 32, 32, windowMinimise},
        {"imgAbout.png", 441, 140, aboutBanner},
        {"imgSH0.png", 169, 22, imeModern},
        {"imgSH1.png", 166, 25, imeClassic},
        {"imgSH2.png", 127, 26, imeStandard},
    };
    bool ok = true;
    QStringList files;
    for (const Picture &pic : pictures) {
        ok = Painting::save(paint(pic.w, pic.h, pic.draw), dir + QLatin1Char('/') + QLatin1String(pic.file), "PNG")
            && ok;
        files << QLatin1String(pic.file);
    }
    ok = Painting::save(WhaleArt::whale(), dir + QStringLiteral("/imgWhale.png"), "PNG") && ok;
    files << QStringLiteral("imgWhale.png");
    files.sort();

    QString qrc = QStringLiteral("<RCC>\n  <qresource prefix=\"/res\">\n");
    for (const QString &f : files)
        qrc += QStringLiteral("    <file>%1</file>\n").arg(f);
    qrc += QStringLiteral("  </qresource>\n</RCC>\n");
    QFile out(dir + QStringLiteral("/resources.qrc"));
    const bool qrcOk = out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(qrc.toUtf8()) == qrc.toUtf8().size();
    std::printf("%s %s\n", qrcOk ? "wrote" : "FAILED", qPrintable(out.fileName()));
    if (written)
        *written << files;
    return ok && qrcOk;
}

} // namespace ResourceArt
