#pragma once

#include <QString>

class QObject;
class QWidget;

// What the apps need from the main window. The main window registers its
// host at start-up; without one (tests, shutdown) the calls do nothing.
class AppHost
{
public:
    virtual ~AppHost() = default;
    // Opens a new, empty tab and makes it current.
    virtual void AddPage() = 0;
    // Navigates the current tab.
    virtual void WebGoTo(const QString &url) = 0;
    // Shows the lock panel and puts the focus into the password box.
    virtual void ShowLock() = 0;
    // The page kept for the apps (a QWebEnginePage), or nullptr.
    virtual QObject *PageDocument() = 0;
    // Clears the browsing history.
    virtual void ClearHistory() = 0;
    // Starts the app panel's glide (opens a closed panel, closes an open one).
    virtual void SlideAppPanel() = 0;
    // Rebuilds the app panel's icons.
    virtual void RfshApps() = 0;
    // The window that owns the apps' dialogs.
    virtual QWidget *MainWindow() = 0;
    // An engine is about to be loaded: the window that carries the engines
    // must exist (and end them all when it unloads).
    virtual void EnginesInUse() {}
};

namespace AppHosting {
// nullptr removes the host. The caller keeps ownership.
void setHost(AppHost *host);
AppHost *host();
} // namespace AppHosting
