#pragma once

#include <QString>

// The program folder: the running executable's own folder with exactly one
// trailing "/". Every own file is addressed as this folder followed by a
// relative path, which may be written with "\" as the stored files do.
QString programFolder();

// Tests run the program logic against a temporary program folder. An empty
// text restores the executable's folder.
void setProgramFolderOverride(const QString &folder);

// Stored relative paths use "\"; the file system wants "/". Only the places
// that touch the file system convert, and only a relative path or the part of
// a path below the program folder: "\" in a path outside it is kept.
QString toLocalPath(const QString &path);
