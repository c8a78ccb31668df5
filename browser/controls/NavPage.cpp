#include "NavPage.h"

#include "Files.h"
#include "PictureFile.h"
#include "ProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

namespace NavPage {

namespace {
const QString kSep = QStringLiteral("@@");
const QString kSection = QStringLiteral("Nav");

bool validIndex(int i)
{
    return i >= 0 && i < kTiles;
}

// The local path of program folder & relPath, or "" when it leads out of the
// program folder.
QString insideProgramFolder(const QString &relPath)
{
    const QString folder = QDir::cleanPath(toLocalPath(GetAppPath()));
    const QString full = QDir::cleanPath(toLocalPath(GetAppPath() + relPath));
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    if (!full.startsWith(prefix))
        return QString();
    return full;
}
} // namespace

QString IniPath()
{
    return GetAppPath() + QStringLiteral("Data\\OrvNav.ini");
}

QString Key(int i)
{
    return QStringLiteral("n") + QString::number(i + 1);
}

QString PicPath(int i)
{
    return QStringLiteral("Data\\NavPic\\n") + QString::number(i + 1) + QStringLiteral(".bmp");
}

QString ReadTile(int i)
{
    if (!validIndex(i))
        return QString();
    return ReadIni(kSection, Key(i), IniPath());
}

void WriteTile(int i, const QString &value)
{
    if (!validIndex(i))
        return;
    WriteIni(kSection, Key(i), value, IniPath());
}

bool ApplyValue(TileFields &tile, const QString &value)
{
    if (value.isEmpty()) {
        tile = TileFields();
        return false;
    }
    const QStringList pieces = value.split(kSep);
    tile.address = pieces.at(0);
    if (pieces.size() > 1) {
        tile.caption = pieces.at(1);
        tile.toolTip = pieces.at(1);
    }
    if (pieces.size() > 2)
        tile.picPath = pieces.at(2);
    return true;
}

QString TypedValue(const QString &text)
{
    if (text.isEmpty())
        return QString();
    return text + kSep + text + kSep;
}

QString ShotValue(int i, const QString &url, const QString &title)
{
    return url + kSep + title + kSep + PicPath(i);
}

double TileLeft(int i, double pageWidth, double tileWidth)
{
    const int c = i % 3;
    return (pageWidth / 3) * c + (pageWidth / 3 - tileWidth) / 2;
}

double TileTop(int i, double pageHeight, double tileHeight)
{
    const int r = i / 3;
    return (pageHeight / 3) * r + (pageHeight / 3 - tileHeight) / 2;
}

QString MatchText(const QString &address)
{
    QString s = address;
    s.remove(QStringLiteral("http:"));
    s.remove(QLatin1Char('/'));
    return s;
}

int MatchTile(const std::array<QString, kTiles> &addresses, const QString &locationUrl)
{
    const QString want = MatchText(locationUrl);
    for (int i = 0; i < kTiles; ++i) {
        if (MatchText(addresses[i]) == want)
            return i;
    }
    return -1;
}

bool IsBlank(const QImage &image)
{
    if (image.isNull())
        return true;
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    const QRgb first = img.pixel(0, 0);
    for (int y = 0; y < img.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            if (line[x] != first)
                return false;
        }
    }
    return true;
}

QPixmap LoadPicture(const QString &relPath, const QSize &size)
{
    const QString path = insideProgramFolder(relPath);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return QPixmap();
    const QImage img = ReadWholePicture(path);
    if (img.isNull() || size.isEmpty())
        return QPixmap();
    return QPixmap::fromImage(img.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

bool SavePicture(const QPixmap &picture, const QString &relPath)
{
    if (picture.isNull())
        return false;
    const QString path = insideProgramFolder(relPath);
    if (path.isEmpty())
        return false;
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    // A bitmap has no alpha channel worth keeping: store plain RGB.
    const QImage img = picture.toImage().convertToFormat(QImage::Format_RGB888);
    if (!img.save(&out, "BMP"))
        return false;
    return out.commit();
}

} // namespace NavPage
