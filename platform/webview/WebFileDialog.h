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

    // The chosen path, or "" when the user cancelled.
    static QString getSaveFileName(QWidget *parent, const QString &title, const QString &suggested);
    static void setSaveFunction(SaveFunction f);
};
