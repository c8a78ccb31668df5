#include "QtFileDialogs.h"

#include <QDir>
#include <QFileDialog>

QString QtFileDialogs::choose(const FileDialogRequest &request, QWidget *parent)
{
    if (qEnvironmentVariableIsSet("TESSIVANE_AUTO_FILE"))
        return qEnvironmentVariable("TESSIVANE_AUTO_FILE");

    const QString filter = FileDialogs::qtFilter(request.filter);
    const QFileDialog::Options options = QFileDialog::DontConfirmOverwrite;
    if (request.kind == FileDialogRequest::Open)
        return QFileDialog::getOpenFileName(parent, request.title, request.folder, filter, nullptr, options);
    // A preset name that holds a folder is not ours to follow: only its file name is offered.
    QString start = request.folder;
    if (!request.initialName.isEmpty()) {
        QString name = request.initialName;
        name.replace(QLatin1Char('\\'), QLatin1Char('/'));
        name = name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
        start = start.isEmpty() ? name : QDir(start).filePath(name);
    }
    return QFileDialog::getSaveFileName(parent, request.title, start, filter, nullptr, options);
}
