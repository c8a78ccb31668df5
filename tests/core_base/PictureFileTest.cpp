// Pictures read from files that may be cut short or not be pictures at all.
#include "PictureFile.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

namespace {

QByteArray Encode(const QImage &img, const char *format)
{
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, format);
    return bytes;
}

QImage Picture(QImage::Format format, int w = 37, int h = 11)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(QColor(10, 200, 30));
    return img.convertToFormat(format);
}

TEST(WholeBitmap, CompleteBitmapsOfEveryDepthAreWhole)
{
    for (auto format : {QImage::Format_RGB32, QImage::Format_RGB888, QImage::Format_Indexed8, QImage::Format_Mono}) {
        const QByteArray bmp = Encode(Picture(format), "BMP");
        ASSERT_FALSE(bmp.isEmpty()) << format;
        EXPECT_TRUE(IsWholeBitmap(bmp)) << format;
    }
}

TEST(WholeBitmap, EveryCutIsNoticed)
{
    const QByteArray bmp = Encode(Picture(QImage::Format_RGB888), "BMP");
    for (int keep = 0; keep < bmp.size(); ++keep)
        ASSERT_FALSE(IsWholeBitmap(bmp.left(keep))) << keep << " of " << bmp.size();
}

TEST(WholeBitmap, DamagedHeadersAreRefused)
{
    QByteArray bmp = Encode(Picture(QImage::Format_RGB32), "BMP");
    QByteArray offsetPastEnd = bmp;
    offsetPastEnd[10] = char(0xFF);
    offsetPastEnd[11] = char(0xFF);
    EXPECT_FALSE(IsWholeBitmap(offsetPastEnd));
    QByteArray hugeWidth = bmp;
    hugeWidth[18 + 3] = char(0x7F);
    EXPECT_FALSE(IsWholeBitmap(hugeWidth));
    QByteArray zeroHeight = bmp;
    for (int i = 22; i < 26; ++i)
        zeroHeight[i] = 0;
    EXPECT_FALSE(IsWholeBitmap(zeroHeight));
    EXPECT_FALSE(IsWholeBitmap(QByteArray("BM")));
    EXPECT_FALSE(IsWholeBitmap(Encode(Picture(QImage::Format_RGB32), "PNG")));
}

TEST(WholePicture, FilesThatAreNoWholePictureGiveNone)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto write = [&](const char *name, const QByteArray &bytes) {
        QFile f(dir.filePath(QLatin1String(name)));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    };
    const QByteArray bmp = Encode(Picture(QImage::Format_RGB888), "BMP");
    const QImage whole = ReadWholePicture(write("whole.bmp", bmp));
    ASSERT_FALSE(whole.isNull());
    EXPECT_EQ(whole.size(), QSize(37, 11));
    EXPECT_EQ(whole.pixelColor(36, 10), QColor(10, 200, 30));
    EXPECT_FALSE(ReadWholePicture(write("jpeg.jpg", Encode(Picture(QImage::Format_RGB32), "JPG"))).isNull());

    EXPECT_TRUE(ReadWholePicture(write("cut.bmp", bmp.left(bmp.size() - 1))).isNull());
    EXPECT_TRUE(ReadWholePicture(write("empty.bmp", QByteArray())).isNull());
    EXPECT_TRUE(ReadWholePicture(write("text.bmp", QByteArray("not a picture at all"))).isNull());
    EXPECT_TRUE(ReadWholePicture(dir.filePath(QStringLiteral("missing.bmp"))).isNull());
    EXPECT_TRUE(ReadWholePicture(dir.path()).isNull());
}

} // namespace
