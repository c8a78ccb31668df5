#include "BookmarkFiles.h"

#include "Files.h"
#include "ProgramFolder.h"
#include "TextFile.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

QString BookmarkFolder()
{
    return GetAppPath() + QStringLiteral("Data\\Bookmarks\\");
}

bool IsBookmarkName(const QString &Name)
{
    if (Name.isEmpty())
        return false;
    for (const QChar c : Name) {
        // Stored paths turn "\" into a separator when the disk is touched.
        if (c == QLatin1Char('\\') || c == QLatin1Char('/') || c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    }
    return true;
}

bool SaveBookmark(const QString &URL, const QString &Name)
{
    if (!IsBookmarkName(Name))
        return false;
    const QString folder = BookmarkFolder();
    if (!QFileInfo(toLocalPath(folder)).isDir())
        return false;
    const QString path = folder + Name + QStringLiteral(".vkt");
    // A folder standing under the name is left alone.
    if (QFileInfo(toLocalPath(path)).isDir())
        return false;
    return TextFile::writeWhole(path, URL + QStringLiteral("\r\n"));
}

QStringList BookmarkFileNames()
{
    QDir dir(toLocalPath(BookmarkFolder()));
    if (!dir.exists())
        return {};
    dir.setNameFilters({QStringLiteral("*.vkt")});
    // Names starting with "." are ordinary files here; the file list shows them.
    dir.setFilter(QDir::Files | QDir::Hidden | QDir::System);
    dir.setSorting(QDir::Unsorted);
    QStringList names = dir.entryList();
    // The list reads as a file list on a Chinese system does: by the Chinese
    // collation (pinyin for Han characters), letters without regard to case,
    // whatever locale the program runs under.
    QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(names.begin(), names.end(), [&](const QString &a, const QString &b) {
        const int c = collator.compare(a, b);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

QString ReadBookmark(const QString &path)
{
    const QFileInfo info(toLocalPath(path));
    if (!info.isFile() || info.size() > kMaxBookmarkBytes)
        return QString();
    return ReadTxt(path);
}
