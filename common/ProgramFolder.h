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
// that touch the file system convert.
QString toLocalPath(const QString &path);
