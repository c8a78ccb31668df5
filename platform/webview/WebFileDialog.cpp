#include "WebFileDialog.h"

#include <QFileDialog>

namespace {
WebFileDialog::SaveFunction &saveFunction()
{
    static WebFileDialog::SaveFunction f;
    return f;
}
} // namespace

QString WebFileDialog::getSaveFileName(QWidget *parent, const QString &title, const QString &suggested)
{
    if (saveFunction())
        return saveFunction()(parent, title, suggested);
    return QFileDialog::getSaveFileName(parent, title, suggested);
}

void WebFileDialog::setSaveFunction(SaveFunction f)
{
    saveFunction() = std::move(f);
}
