#pragma once

#include "Settings.h"

#include <QList>
#include <QString>
#include <QStringView>

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
// "@@", newest first, each once, then one line break that readers ignore.
// An entry is stored with every "@" written "%40" (and a "%" that would read
// as one of the escapes "%40" or "%25" written "%25"), so that no entry can
// hold the separator; files written before hold entries as typed and read
// the same, unless they hold those escapes themselves.
QString InputHisEncode(const QString &entry);
QString InputHisDecode(QStringView stored);
// Puts the trimmed text at the head of the history, once; a blank text
// changes nothing.
void AddInputHis(const QString &text);
// The entries that contain text (exact case), in file order, each in its
// stored form followed by "@@"; InputHisDecode gives the typed text of each.
QString GetInputHis(const QString &text);
// The entries of the history's whole text (as ReadTxt gives it), in file
// order, each in its stored form.
QList<QStringView> InputHisEntries(QStringView all);
void ClearInputHis();
QString InputHisPath();
