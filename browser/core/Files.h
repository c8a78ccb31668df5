#pragma once

#include <QString>

// The one door through which the browser reads and writes its settings and
// small data files. Paths are the program folder followed by a relative path
// written with "\" as the stored files do.

QString GetAppPath();

QString ReadIni(const QString &section, const QString &key, const QString &file);
void WriteIni(const QString &section, const QString &key, const QString &value, const QString &file);

// Section "Setting" of config.ini.
QString ReadSet(const QString &key);
void WriteSet(const QString &key, const QString &value);
// Section "Theme" of config.ini.
QString ReadThemeSet(const QString &key);
// Section "Apps" of Apps\Apps.ini.
QString ReadAppsIni(const QString &key);
void WriteAppsIni(const QString &key, const QString &value);

// The whole text file, every line followed by CR LF; "" when empty or unreadable.
QString ReadTxt(const QString &path);

// Copies a file byte for byte; false when the source cannot be read or the
// destination cannot be written.
bool CopyBinFile(const QString &src, const QString &dest);

// Deletes a file or a folder with its contents. With confirm the user is asked
// first. False when the path does not exist or the user declined.
bool DelFile(const QString &path, bool confirm);

// The typed-address history, "Data\InputHis.ini": entries each followed by
// "@@", newest first, each once, then line breaks that readers ignore.
void AddInputHis(const QString &text);
QString GetInputHis(const QString &text);
void ClearInputHis();
QString InputHisPath();
