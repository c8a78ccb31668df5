#pragma once

#include <QString>

class QWidget;

// The open and save dialogs of the browser. FileName holds the preset name
// before a save dialog (at most 255 characters) and the chosen path after
// either dialog ("" when cancelled). Both dialogs start in the program folder,
// do not ask before overwriting and do not require the file to exist.
class clsCdlg
{
public:
    QString FileName;

    // Filter: description, NUL, pattern.
    QString ShowOpen(QWidget *owner, const QString &filter, const QString &title);
    QString ShowSave(QWidget *owner, const QString &filter, const QString &title);
};

// The extension a suggested download name offers: the text between its first
// and its second "." ("setup.exe" -> "exe", "a.tar.gz" -> "tar"); "" without a ".".
QString DownloadExtension(const QString &suggestedName);
// The chosen target with ".ext" appended unless it ends in it already
// (nothing is appended when the name offered no extension).
QString DownloadTarget(const QString &chosen, const QString &ext);
