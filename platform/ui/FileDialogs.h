#pragma once

#include <QString>

class QWidget;

// Open and save dialogs. The filter is either the programs' own form,
// description and pattern pairs separated by NUL characters
// ("zip 文件" NUL "*.zip"), or a Qt filter ("Apps (*.zelp)"). The folder is
// where the dialog starts. Neither dialog asks before overwriting (callers ask
// with mayWrite once they know the whole target) nor requires the file to
// exist. The result is the chosen path, "" when cancelled.
struct FileDialogRequest
{
    enum Kind { Open, Save };
    Kind kind = Open;
    QString title;
    QString filter;
    QString initialName; // save: the preset name
    QString folder;
};

class FileDialogImpl
{
public:
    virtual ~FileDialogImpl() = default;
    virtual QString choose(const FileDialogRequest &request, QWidget *parent) = 0;
};

namespace FileDialogs {
// nullptr restores the real one. The caller keeps ownership.
void setImpl(FileDialogImpl *impl);
FileDialogImpl *impl();

QString getOpenFileName(QWidget *parent, const QString &filter, const QString &title, const QString &folder);
QString getSaveFileName(QWidget *parent, const QString &filter, const QString &title, const QString &initialName,
                        const QString &folder);

// Whether a file may be written at path: yes when nothing is there, else
// the user is asked whether to replace it (title "确认另存为", Yes/No, No
// being the button Enter presses).
bool mayWrite(QWidget *parent, const QString &path);

// "desc" NUL "pattern" [NUL "desc" NUL "pattern" ...] -> "desc (pattern);;desc (pattern)".
// A text without NUL is returned as it stands.
QString qtFilter(const QString &filter);
} // namespace FileDialogs
