#pragma once

#include <QString>
#include <QStringList>

// Bookmarks are plain files, one per bookmark, in "Data\Bookmarks\" of the
// program folder: the name is the bookmark's caption followed by ".vkt", the
// content its address followed by CR LF, as 8-bit (GBK) text.

// The bookmark folder, GetAppPath & "Data\Bookmarks\". It ships with the
// program and is never created.
QString BookmarkFolder();

// Whether Name can be a bookmark file name inside the bookmark folder. A name
// holding a path separator ("\" or "/"), a NUL or another control character,
// or an empty name, is refused: it would write outside the folder, into a
// sub-folder, or a file the list cannot show.
bool IsBookmarkName(const QString &Name);

// Writes the bookmark file for Name holding URL (created or replaced whole).
// Errors are ignored: a refused name, a missing folder or a failing write
// leaves no file. Returns whether the file was written.
bool SaveBookmark(const QString &URL, const QString &Name);

// The file names in the bookmark folder that match "*.vkt" (any case),
// sorted by name without regard to case; folders are left out.
QStringList BookmarkFileNames();

// Bookmark files larger than this are not read: an address is never that long.
constexpr qint64 kMaxBookmarkBytes = 2 * 1024 * 1024;

// The whole text of a bookmark file with every line followed by CR LF (the
// address keeps its line break). "" when the file cannot be read, is not a
// plain file or is larger than kMaxBookmarkBytes.
QString ReadBookmark(const QString &path);
