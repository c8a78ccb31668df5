#include "NavArt.h"

#include "Painting.h"
#include "TextFile.h"

#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

// Thumbnails are drawn scaled into a 2895 x 1935 twip tile (193 x 129 pixels);
// twice that size keeps them sharp on large screens.
constexpr int kThumbW = 386;
constexpr int kThumbH = 258;

enum class Layout { Search, Portal, Video, Shop, Encyclopedia };

struct Site
{
    const char *url;
    const char *title; // UTF-8
    QColor brand;
    Layout layout;
};

const Site kSites[9] = {
    {"https://www.baidu.com/", "百度", QColor(41, 98, 255), Layout::Search},
    {"https://www.bing.com/", "必应", QColor(0, 120, 130), Layout::Search},
    {"https://www.zhihu.com/", "知乎", QColor(5, 109, 232), Layout::Portal},
    {"https://www.bilibili.com/", "哔哩哔哩", QColor(251, 114, 153), Layout::Video},
    {"https://www.taobao.com/", "淘宝", QColor(255, 80, 0), Layout::Shop},
    {"https://www.jd.com/", "京东", QColor(225, 37, 27), Layout::Shop},
    {"https://weibo.com/", "微博", QColor(255, 130, 0), Layout::Portal},
    {"https://www.163.com/", "网易", QColor(204, 20, 20), Layout::Portal},
    {"https://zh.wikipedia.org/", "维基百科", QColor(54, 54, 54), Layout::Encyclopedia},
};

void greyBlock(QPainter &p, const QRectF &r, int shade = 232)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(shade, shade, shade + 3 > 255 ? 255 : shade + 3));
    p.drawRoundedRect(r, 3, 3);
}

void textLines(QPainter &p, qreal x, qreal y, qreal w, int count, qreal step = 11)
{
    for (int i = 0; i < count; ++i)
        greyBlock(p, QRectF(x, y + i * step, w * (i % 3 == 2 ? 0.6 : 1.0), 5), 226);
}

void topStrip(QPainter &p, const QColor &bg)
{
    p.fillRect(QRectF(0, 0, kThumbW, 22), bg);
    for (int i = 0; i < 5; ++i)
        greyBlock(p, QRectF(kThumbW - 40 - i * 34, 8, 26, 6), bg.lightness() > 128 ? 200 : 240);
}

void searchBox(QPainter &p, const QRectF &r, const QColor &brand)
{
    p.setPen(QPen(brand, 2));
    p.setBrush(Qt::white);
    p.drawRoundedRect(r, r.height() / 2.6, r.height() / 2.6);
    const QRectF btn(r.right() - 62, r.top(), 62, r.height());
    QPainterPath clip;
    clip.addRoundedRect(r, r.height() / 2.6, r.height() / 2.6);
    p.save();
    p.setClipPath(clip);
    p.fillRect(btn, brand);
    p.restore();
    // A lens on the button.
    const qreal lr = r.height() * 0.2;
    const QPointF c = btn.center() - QPointF(lr * 0.35, lr * 0.35);
    p.setPen(Painting::roundPen(Qt::white, 2.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, lr, lr);
    p.drawLine(c + QPointF(lr * 0.72, lr * 0.72), c + QPointF(lr * 1.6, lr * 1.6));
}

void drawThumb(QPainter &p, const Site &s)
{
    const QString title = QString::fromUtf8(s.title);
    p.fillRect(QRectF(0, 0, kThumbW, kThumbH), Qt::white);
    switch (s.layout) {
    case Layout::Search: {
        topStrip(p, QColor(248, 249, 251));
        p.setPen(s.brand);
        p.setFont(Painting::uiFont(48, 800));
        p.drawText(QRectF(0, 34, kThumbW, 70), Qt::AlignCenter, title);
        searchBox(p, QRectF(58, 112, 270, 32), s.brand);
        for (int i = 0; i < 4; ++i)
            greyBlock(p, QRectF(86 + i * 56, 160, 44, 6), 222);
        textLines(p, 110, 188, 166, 3);
        break;
    }
    case Layout::Portal:
    case Layout::Encyclopedia: {
        const bool wiki = s.layout == Layout::Encyclopedia;
        p.fillRect(QRectF(0, 0, kThumbW, 52), wiki ? QColor(248, 249, 250) : s.brand);
        p.setPen(wiki ? s.brand : QColor(Qt::white));
        p.setFont(Painting::uiFont(30, wiki ? 500 : 800));
        p.drawText(QRectF(18, 4, 220, 44), Qt::AlignLeft | Qt::AlignVCenter, title);
        for (int i = 0; i < 4; ++i)
            greyBlock(p, QRectF(kThumbW - 46 - i * 40, 22, 30, 7), wiki ? 214 : 250);
        if (wiki) {
            p.fillRect(QRectF(0, 52, 70, kThumbH - 52), QColor(246, 246, 246));
            for (int i = 0; i < 8; ++i)
                greyBlock(p, QRectF(12, 66 + i * 14, 44, 5), 210);
            p.setPen(QColor(30, 30, 30));
            p.setFont(Painting::uiFont(17, 500));
            p.drawText(QRectF(86, 60, 280, 26), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("自由的百科全书"));
            p.fillRect(QRectF(86, 88, 284, 1), QColor(200, 200, 200));
            textLines(p, 86, 98, 284, 12);
        } else {
            for (int c = 0; c < 2; ++c) {
                const qreal x = 18 + c * 186;
                greyBlock(p, QRectF(x, 66, 164, 70), 236);
                p.setPen(Qt::NoPen);
                p.setBrush(s.brand.lighter(170));
                p.drawRoundedRect(QRectF(x + 8, 74, 54, 54), 4, 4);
                textLines(p, x + 70, 78, 86, 4);
                textLines(p, x, 148, 164, 9);
            }
        }
        break;
    }
    case Layout::Video: {
        topStrip(p, QColor(255, 255, 255));
        p.setPen(s.brand);
        p.setFont(Painting::uiFont(30, 800));
        p.drawText(QRectF(18, 22, 220, 44), Qt::AlignLeft | Qt::AlignVCenter, title);
        searchBox(p, QRectF(200, 30, 168, 26), s.brand);
        const QColor tints[] = {QColor(255, 212, 224), QColor(196, 226, 252), QColor(255, 232, 196),
                                QColor(214, 240, 214), QColor(232, 216, 252), QColor(252, 222, 206)};
        for (int i = 0; i < 6; ++i) {
            const qreal x = 18 + (i % 3) * 120;
            const qreal y = 76 + (i / 3) * 88;
            p.setPen(Qt::NoPen);
            p.setBrush(tints[i]);
            p.drawRoundedRect(QRectF(x, y, 110, 60), 5, 5);
            p.setBrush(QColor(255, 255, 255, 200));
            QPainterPath play;
            play.moveTo(x + 49, y + 20);
            play.lineTo(x + 65, y + 30);
            play.lineTo(x + 49, y + 40);
            play.closeSubpath();
            p.drawPath(play);
            greyBlock(p, QRectF(x, y + 66, 96, 5), 222);
        }
        break;
    }
    case Layout::Shop: {
        topStrip(p, QColor(245, 245, 245));
        p.setPen(s.brand);
        p.setFont(Painting::uiFont(34, 800));
        p.drawText(QRectF(18, 26, 140, 50), Qt::AlignLeft | Qt::AlignVCenter, title);
        searchBox(p, QRectF(140, 36, 228, 30), s.brand);
        p.fillRect(QRectF(0, 86, kThumbW, 2), s.brand);
        p.fillRect(QRectF(18, 98, 80, 150), QColor(246, 246, 246));
        for (int i = 0; i < 9; ++i)
            greyBlock(p, QRectF(26, 106 + i * 15, 58, 5), 214);
        QLinearGradient banner(106, 98, 280, 200);
        banner.setColorAt(0.0, s.brand);
        banner.setColorAt(1.0, s.brand.lighter(150));
        p.setPen(Qt::NoPen);
        p.setBrush(banner);
        p.drawRoundedRect(QRectF(106, 98, 180, 100), 6, 6);
        greyBlock(p, QRectF(294, 98, 74, 100), 238);
        for (int i = 0; i < 3; ++i)
            greyBlock(p, QRectF(106 + i * 90, 206, 82, 42), 240);
        break;
    }
    }
}

} // namespace

namespace NavArt {

bool writeNavigation(const QString &dataDir)
{
    bool ok = true;
    QString ini = QStringLiteral("[Nav]\r\n");
    for (int k = 1; k <= 9; ++k) {
        const Site &s = kSites[k - 1];
        QImage img(kThumbW, kThumbH, QImage::Format_RGB32);
        QPainter p(&img);
        Painting::prepare(p);
        drawThumb(p, s);
        p.end();
        const QString rel = QStringLiteral("NavPic/n%1.bmp").arg(k);
        ok = Painting::save(img.convertToFormat(QImage::Format_RGB888), dataDir + QLatin1Char('/') + rel, "BMP") && ok;
        ini += QStringLiteral("n%1=%2@@%3@@Data\\NavPic\\n%1.bmp\r\n")
                   .arg(k)
                   .arg(QLatin1String(s.url), QString::fromUtf8(s.title));
    }
    const QString iniPath = dataDir + QStringLiteral("/OrvNav.ini");
    const bool iniOk = TextFile::writeWhole(iniPath, ini);
    std::printf("%s %s\n", iniOk ? "wrote" : "FAILED", qPrintable(iniPath));
    return ok && iniOk;
}

} // namespace NavArt
