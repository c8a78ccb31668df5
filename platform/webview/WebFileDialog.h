#pragma once

#include <QString>

#include <functional>

class QWidget;

// The file dialogs of the web view (save a download, save a page). Tests
// replace them with a function that answers at once.
class WebFileDialog
{
public:
    using SaveFunction = std::function<QString(QWidget *parent, const QString &title, const QString &suggested)>;

    // The chosen path, or "" when the user cancelled. A path that exists is
    // replaced only when the user says so ("确认另存为"); otherwise the dialog
    // comes again.
    static QString getSaveFileName(QWidget *parent, const QString &title, const QString &suggested);
    static void setSaveFunction(SaveFunction f);
};
