#pragma once

#include <QString>

class QWidget;

// The open and save dialogs of the browser. FileName holds the preset name
// before a save dialog (at most 255 characters) and the chosen path after
// either dialog ("" when cancelled). The open dialog starts in the program
// folder; the save dialog, which only downloads use, starts in the user's
// download folder (DownloadFolder), never in the program folder. Neither
// dialog asks before overwriting nor requires the file to exist: replacing a
// file is asked by ChooseDownloadTarget, once the whole target is known.
class clsCdlg
{
public:
    QString FileName;
    // Where the save dialog starts; empty: DownloadFolder().
    QString InitDir;

    // Filter: description, NUL, pattern.
    QString ShowOpen(QWidget *owner, const QString &filter, const QString &title);
    QString ShowSave(QWidget *owner, const QString &filter, const QString &title);
};

// Where a download offered by a page is first proposed: the user's download
// folder when it exists, else the home folder.
QString DownloadFolder();

// The extension a suggested download name offers: the text after its last
// "." ("setup.exe" -> "exe", "a.tar.gz" -> "gz"); "" without a ".".
QString DownloadExtension(const QString &suggestedName);
// The chosen target with ".ext" appended unless it ends in it already
// (nothing is appended when the name offered no extension).
QString DownloadTarget(const QString &chosen, const QString &ext);

// The save dialog "新建下载" for a file a page offers: the suggested name
// preset, a filter for its extension, the extension appended to a target
// typed without it. When the target exists the user is asked whether to
// replace it ("确认另存为"); No shows the dialog again. Returns the target, or
// "" when the user cancelled.
QString ChooseDownloadTarget(QWidget *owner, const QString &suggestedName);
