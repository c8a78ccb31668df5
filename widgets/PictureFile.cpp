#include "PictureFile.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <cstdlib>

namespace {

quint32 U32(const QByteArray &b, int at)
{
    const auto *p = reinterpret_cast<const unsigned char *>(b.constData()) + at;
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

quint16 U16(const QByteArray &b, int at)
{
    const auto *p = reinterpret_cast<const unsigned char *>(b.constData()) + at;
    return quint16(p[0] | p[1] << 8);
}

constexpr int kFileHeader = 14;
constexpr int kCoreHeader = 12;
constexpr int kInfoHeader = 40;

} // namespace

bool IsWholeBitmap(const QByteArray &bytes)
{
    const qint64 size = bytes.size();
    if (size < kFileHeader + 4 || bytes.at(0) != 'B' || bytes.at(1) != 'M')
        return false;
    const qint64 offBits = U32(bytes, 10);
    const qint64 headerSize = U32(bytes, kFileHeader);
    if (headerSize != kCoreHeader && headerSize < kInfoHeader)
        return false;
    if (size < kFileHeader + headerSize || offBits > size || offBits < kFileHeader + headerSize)
        return false;

    qint64 width = 0;
    qint64 height = 0;
    int bitCount = 0;
    quint32 compression = 0;
    qint64 imageSize = 0;
    if (headerSize == kCoreHeader) {
        width = U16(bytes, 18);
        height = U16(bytes, 20);
        bitCount = U16(bytes, 24);
    } else {
        width = qint32(U32(bytes, 18));
        height = std::llabs(qint32(U32(bytes, 22)));
        bitCount = U16(bytes, 28);
        compression = U32(bytes, 30);
        imageSize = U32(bytes, 34);
    }
    if (width <= 0 || height <= 0 || bitCount <= 0 || bitCount > 32)
        return false;

    enum : quint32 { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3 };
    if (compression == Rgb || compression == BitFields) {
        const qint64 stride = (width * bitCount + 31) / 32 * 4;
        return offBits + stride * height <= size;
    }
    if (compression == Rle8 || compression == Rle4)
        return imageSize > 0 && offBits + imageSize <= size;
    return false;
}

QImage ReadWholePicture(const QString &localPath)
{
    QFile f(localPath);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    if (bytes.isEmpty())
        return {};
    const bool bitmap = bytes.startsWith("BM");
    if (bitmap && !IsWholeBitmap(bytes))
        return {};
    QBuffer buf;
    buf.setData(bytes);
    buf.open(QIODevice::ReadOnly);
    QImageReader reader(&buf);
    QImage img = reader.read();
    if (img.isNull())
        return {};
    return img;
}
