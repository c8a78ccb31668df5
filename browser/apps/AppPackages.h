#pragma once

#include <QString>

// Installing and removing app packages. A package "<name>.zelp" is an archive
// holding the folder <name>\ with <name>\<name>.ini and the app's files; the
// archive tool "rar" in the program folder unpacks it.

// Installs the package at path (full path). The archive tool unpacks it into
// a fresh staging folder inside "Apps\" and the install goes on when the tool
// has ended: only a package that unpacked whole, into <name>\ alone and with
// nothing but folders and files, replaces "Apps\<name>" (by renaming, so the
// old version stays whole until the new one is complete), with "AllowedExt"
// set to "0" in its ini; then the app is registered at the end of
// "Apps\Apps.ini" unless it is registered already. A package that fails
// changes nothing and is reported in a message box. Either way the app
// panel's glide starts at the end. Without the archive tool a warning is
// shown and nothing is registered.
void InstallApp(const QString &path);

// Removes app number n (1-based): deletes its folder and rewrites the registry
// without it, then rebuilds the app panel. An entry that names no app folder
// (see AppNameOfEntry) is left alone: nothing is deleted or rewritten.
void DelApp(int n);

// The "About" text of app number n; "" when anything is missing.
QString GetAppAbout(int n);

// Whether a package name (the file name up to its first ".") can be an app's
// folder and registry entry: not empty, no blanks at either end, no control
// characters, none of "\" "/" ":" ".", representable in the registry's code
// page, and short enough that <name>\<name>.ini reads back whole.
bool IsAppName(const QString &name);

// The app's name when the registry entry is exactly <name>\<name>.ini with a
// valid name, otherwise "": an entry that is absolute, holds "..", or names
// any other file is ignored, so that it is neither run nor uninstalled.
QString AppNameOfEntry(const QString &entry);

// The full path of the registry file and of app number n's ini file ("" when
// the entry is empty or ignored).
QString AppsIniPath();
QString AppIniPath(int n);
