#include "Painting.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QPainter>
#include <cstdio>

namespace Painting {

QImage canvas(int w, int h, const QColor &bg)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(bg.isValid() ? bg : QColor(Qt::transparent));
    return img;
}

void prepare(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
}

QPen roundPen(const QColor &c, qreal width)
{
    QPen pen(c, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

QImage flatten(const QImage &img, const QColor &bg)
{
    QImage out(img.size(), QImage::Format_RGB32);
    out.fill(bg);
    QPainter p(&out);
    p.drawImage(0, 0, img);
    p.end();
    return out.convertToFormat(QImage::Format_RGB888);
}

bool save(const QImage &img, const QString &path, const char *format, int quality)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const bool ok = img.save(path, format, quality);
    std::fprintf(ok ? stdout : stderr, "%s %s (%dx%d)\n", ok ? "wrote" : "FAILED", qPrintable(path),
                 img.width(), img.height());
    return ok;
}

QFont uiFont(qreal pixelSize, int weight)
{
    QFont f;
    f.setFamilies({QStringLiteral("Microsoft YaHei"), QStringLiteral("WenQuanYi Zen Hei"),
                   QStringLiteral("Noto Sans CJK SC"), QStringLiteral("DejaVu Sans")});
    f.setPixelSize(qRound(pixelSize));
    f.setWeight(QFont::Weight(weight));
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

} // namespace Painting
