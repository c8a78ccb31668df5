#include "DrawFileIco.h"

#include "DwnPictures.h"
#include "VbWidgets.h"

#include <QFileInfo>
#include <QMimeDatabase>
#include <QPainter>

namespace {
// Without a desktop session Qt knows no icon theme; then the first installed
// of the common full themes gives the file types their pictures.
void chooseIconTheme()
{
    static bool chosen = false;
    if (chosen)
        return;
    chosen = true;
    const QString current = QIcon::themeName();
    if (!current.isEmpty() && current != QLatin1String("hicolor"))
        return;
    const QStringList themes = {QStringLiteral("Adwaita"), QStringLiteral("breeze"), QStringLiteral("gnome")};
    for (const QString &theme : themes) {
        for (const QString &dir : QIcon::themeSearchPaths()) {
            if (QFileInfo::exists(dir + QLatin1Char('/') + theme + QStringLiteral("/index.theme"))) {
                QIcon::setThemeName(theme);
                return;
            }
        }
    }
}
} // namespace

QIcon fileTypeIcon(const QString &path)
{
    chooseIconTheme();
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
