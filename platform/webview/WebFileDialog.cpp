#include "WebFileDialog.h"

#include "FileDialogs.h"
#include "ModalDialog.h"

#include <QFileDialog>

namespace {
WebFileDialog::SaveFunction &saveFunction()
{
    static WebFileDialog::SaveFunction f;
    return f;
}

QString askOnce(QWidget *parent, const QString &title, const QString &suggested)
{
    if (saveFunction())
        return saveFunction()(parent, title, suggested);
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Replacing is asked afterwards, in the programs' own words.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    // The dialog's own words in Chinese, like every other text of the program,
    // also where Qt's translations are not installed.
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("保存(&S)"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("取消"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("文件名(&N):"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("保存类型(&T):"));
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("保存在(&I):"));
    if (!suggested.isEmpty())
        dialog.selectFile(suggested);
    if (ExecModal(&dialog) != QDialog::Accepted)
        return QString();
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.constFirst();
}
} // namespace

QString WebFileDialog::getSaveFileName(QWidget *parent, const QString &title, const QString &suggested)
{
    QString proposal = suggested;
    for (;;) {
        const QString path = askOnce(parent, title, proposal);
        if (path.isEmpty())
            return QString();
        if (FileDialogs::mayWrite(parent, path))
            return path;
        proposal = path;
    }
}

void WebFileDialog::setSaveFunction(SaveFunction f)
{
    saveFunction() = std::move(f);
}
