#pragma once

#include <QString>

// The file-name part of a path: the text after the last "\" (and, on this
// platform, after the last "/" as well, since paths from the command line and
// from dialogs use it). Without the extension only the text before the first
// "." of that part is returned, so "a.tar.gz" gives "a". Empty when the path is
// empty or ends in a separator.
QString GetFileName(const QString &path, bool withExt);
