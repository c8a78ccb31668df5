#pragma once

#include "Settings.h"

#include <QString>

// The browser's own data files, beside the settings both programs share.

// Section "Apps" of Apps\Apps.ini.
QString ReadAppsIni(const QString &key);
void WriteAppsIni(const QString &key, const QString &value);

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
