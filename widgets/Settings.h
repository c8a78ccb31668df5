#pragma once

#include <QString>

// The one door through which both programs read and write their settings and
// small text files. Paths are the program folder followed by a relative path
// written with "\" as the stored files do.

QString GetAppPath();

QString ReadIni(const QString &section, const QString &key, const QString &file);
void WriteIni(const QString &section, const QString &key, const QString &value, const QString &file);

// Section "Setting" of config.ini.
QString ReadSet(const QString &key);
void WriteSet(const QString &key, const QString &value);
// Section "Theme" of config.ini.
QString ReadThemeSet(const QString &key);

// The whole text file, every line followed by CR LF; "" when empty or unreadable.
QString ReadTxt(const QString &path);
