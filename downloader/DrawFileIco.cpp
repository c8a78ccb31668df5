#include "DrawFileIco.h"

#include "DwnPictures.h"
#include "VbWidgets.h"

#include <QFileInfo>
#include <QMimeDatabase>
#include <QPainter>

QIcon fileTypeIcon(const QString &path)
{
    const QString local = QString(path).replace(QLatin1Char('\\'), QLatin1Char('/'));
    QMimeDatabase db;
    const QFileInfo info(local);
    const QMimeType mime = info.isFile() ? db.mimeTypeForFile(info, QMimeDatabase::MatchDefault)
                                         : db.mimeTypeForFile(local, QMimeDatabase::MatchExtension);
    QIcon icon = QIcon::fromTheme(mime.iconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(mime.genericIconName());
    if (icon.isNull())
        icon = QIcon(DwnPictures::fileFallback());
    return icon;
}

bool DrawFileIco(const QString &Path, VbPictureBox *pic)
{
    if (!pic)
        return false;
    pic->setPicture(QPixmap());
    const QIcon icon = fileTypeIcon(Path);
    QPixmap canvas(32, 32);
    canvas.fill(Qt::transparent);
    {
        QPainter p(&canvas);
        icon.paint(&p, QRect(0, 0, 32, 32));
    }
    pic->setPicture(canvas);
    return !icon.isNull();
}
