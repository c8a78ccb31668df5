#pragma once

#include <QString>

class QWebEngineProfile;
class QWebEnginePage;

// The one web profile that every page of the browser shares. Cookies, cache
// and visited links persist in the user's data folder
// ($XDG_DATA_HOME/Tessivane/WebEngine), never in the program folder, and
// pages without a declared charset are read as GBK, as the sites this
// browser serves expect.
class WebProfile
{
public:
    // Created on first use; needs a QApplication.
    static QWebEngineProfile *instance();

    // The folder that holds the profile's storage and cache.
    static QString storageFolder();

    // Clears the engine's visited links and the back/forward history of every
    // page that is alive. The browser's history clearing calls it.
    static void clearBrowsingHistory();

    // Pages register themselves so that clearBrowsingHistory reaches them.
    static void registerPage(QWebEnginePage *page);
};
