#include "WebProfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {
std::vector<QPointer<QWebEnginePage>> &livePages()
{
    static std::vector<QPointer<QWebEnginePage>> pages;
    return pages;
}

// Settles after the last of several pages closed together, once the engine
// has let go of their parts.
constexpr int kTrimDelayMs = 2000;

// The C library keeps the blocks a closed page freed in its heap, for reuse,
// so the process would stay as large as it was with all its tabs open: once
// pages have gone, the unused pages of the heap go back to the system.
void trimHeapLater()
{
#ifdef __GLIBC__
    static QPointer<QTimer> timer;
    if (!timer) {
        if (!QCoreApplication::instance())
            return;
        timer = new QTimer(QCoreApplication::instance());
        timer->setSingleShot(true);
        timer->setInterval(kTrimDelayMs);
        QObject::connect(timer, &QTimer::timeout, [] { malloc_trim(0); });
    }
    timer->start();
#endif
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
    QObject::connect(page, &QObject::destroyed, [] { trimHeapLater(); });
}

void WebProfile::clearBrowsingHistory()
{
    instance()->clearAllVisitedLinks();
    for (const QPointer<QWebEnginePage> &p : livePages()) {
        if (p)
            p->history()->clear();
    }
}
