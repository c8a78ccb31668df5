#include "ModalDialog.h"

#include <QDialog>
#include <QEventLoop>
#include <QPointer>

int ExecModal(QDialog *dialog)
{
    if (!dialog)
        return QDialog::Rejected;
    const QPointer<QDialog> guard(dialog);
    if (dialog->windowModality() == Qt::NonModal)
        dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setResult(0);
    QEventLoop loop;
    int result = QDialog::Rejected;
    bool answered = false;
    QObject::connect(dialog, &QDialog::finished, &loop, [&](int r) {
        result = r;
        answered = true;
        loop.quit();
    });
    QObject::connect(dialog, &QObject::destroyed, &loop, &QEventLoop::quit);
    dialog->show();
    if (!answered && guard)
        loop.exec(QEventLoop::DialogExec);
    return result;
}
