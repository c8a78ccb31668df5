#include "WebProfile.h"

#include <QDir>
#include <QPointer>
#include <QStandardPaths>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

#include <vector>

namespace {
std::vector<QPointer<QWebEnginePage>> &livePages()
{
    static std::vector<QPointer<QWebEnginePage>> pages;
    return pages;
}
} // namespace

QString WebProfile::storageFolder()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return base + QStringLiteral("/Tessivane/WebEngine");
}

QWebEngineProfile *WebProfile::instance()
{
    static QPointer<QWebEngineProfile> profile;
    if (!profile) {
        profile = new QWebEngineProfile(QStringLiteral("Tessivane"));
        const QString folder = storageFolder();
        QDir().mkpath(folder);
        profile->setPersistentStoragePath(folder + QStringLiteral("/Storage"));
        profile->setCachePath(folder + QStringLiteral("/Cache"));
        profile->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
        profile->setPersistentCookiesPolicy(QWebEngineProfile::ForcePersistentCookies);
        profile->settings()->setDefaultTextEncoding(QStringLiteral("GBK"));
        profile->settings()->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, false);
    }
    return profile;
}

void WebProfile::registerPage(QWebEnginePage *page)
{
    auto &pages = livePages();
    pages.erase(std::remove_if(pages.begin(), pages.end(), [](const QPointer<QWebEnginePage> &p) { return p.isNull(); }),
                pages.end());
    pages.emplace_back(page);
}

void WebProfile::clearBrowsingHistory()
{
    instance()->clearAllVisitedLinks();
    for (const QPointer<QWebEnginePage> &p : livePages()) {
        if (p)
            p->history()->clear();
    }
}
