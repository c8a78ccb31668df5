#pragma once

#include <QString>

// Installing and removing app packages. A package "<name>.zelp" is an archive
// holding the folder <name>\ with <name>\<name>.ini and the app's files; the
// archive tool "rar" in the program folder unpacks it into "Apps\".

// Installs the package at path (full path): starts the archive tool without
// waiting for it, registers the app at the end of "Apps\Apps.ini" unless it is
// registered already, and starts the app panel's glide. Without the archive
// tool a warning is shown and nothing is registered.
void InstallApp(const QString &path);

// Removes app number n (1-based): deletes its folder and rewrites the registry
// without it, then rebuilds the app panel.
void DelApp(int n);

// The "About" text of app number n; "" when anything is missing.
QString GetAppAbout(int n);

// The app's folder name from its registry entry (the text before the first
// "\"), or "" when the entry does not name exactly one folder inside "Apps\"
// ("..", ".", absolute paths, "/" inside): such an entry must never lead to a
// deletion outside the apps' folder.
QString AppFolderOfEntry(const QString &entry);

// The full path of the registry file and of app number n's ini file ("" when
// the entry is empty).
QString AppsIniPath();
QString AppIniPath(int n);

// The user answered the page prompt of the app with this ini file: the
// repeated reset of "AllowedExt" after a fresh install stops.
void AppAllowedExtAnswered(const QString &ini);
