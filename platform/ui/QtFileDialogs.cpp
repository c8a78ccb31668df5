#include "QtFileDialogs.h"

#include <QDir>
#include <QFileDialog>

QString QtFileDialogs::choose(const FileDialogRequest &request, QWidget *parent)
{
    const bool save = request.kind == FileDialogRequest::Save;
    QFileDialog dialog(parent, request.title, request.folder, FileDialogs::qtFilter(request.filter));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Neither dialog requires the file to exist or asks before overwriting.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setLabelText(QFileDialog::Accept, save ? QStringLiteral("保存(&S)") : QStringLiteral("打开(&O)"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("取消"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("文件名(&N):"));
    dialog.setLabelText(QFileDialog::FileType, save ? QStringLiteral("保存类型(&T):") : QStringLiteral("文件类型(&T):"));
    dialog.setLabelText(QFileDialog::LookIn, save ? QStringLiteral("保存在(&I):") : QStringLiteral("查找范围(&I):"));
    if (save && !request.initialName.isEmpty()) {
        // A preset name that holds a folder is not ours to follow: only its file name is offered.
        QString name = request.initialName;
        name.replace(QLatin1Char('\\'), QLatin1Char('/'));
        dialog.selectFile(name.mid(name.lastIndexOf(QLatin1Char('/')) + 1));
    }
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}
