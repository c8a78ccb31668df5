#pragma once

#include <QString>

// Copies a folder with everything in it; false on the first failure.
bool CopyTree(const QString &from, const QString &to);
// Copies the shipped program folder (package/ of the source tree) into to.
bool CopyPackage(const QString &to);
// A page with the given title, loaded without a server.
QString DataUrl(const char *title);
