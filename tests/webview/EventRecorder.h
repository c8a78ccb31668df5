#pragma once

#include "ucWeb.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QStringList>

#include <functional>

// Records the ten events of one page control as lines "Event argument".
class EventRecorder : public QObject
{
public:
    explicit EventRecorder(ucWeb *web, bool withProgress = false)
    {
        connect(web, &ucWeb::StaTxtChange, this, [this](const QString &t) { add(QStringLiteral("StaTxtChange ") + t); });
        connect(web, &ucWeb::BfrNav2, this,
                [this](QObject *, QVariant *url, QVariant *, QVariant *, QVariant *, QVariant *headers, bool *cancel) {
                    QString line = QStringLiteral("BfrNav2 ") + url->toString();
                    if (!headers->toString().isEmpty())
                        line += QStringLiteral(" [") + headers->toString() + QLatin1Char(']');
                    add(line);
                    if (cancelNext) {
                        *cancel = true;
                        cancelNext = false;
                    }
                });
        connect(web, &ucWeb::DocComplete, this, [this](QObject *, QVariant *url) { add(QStringLiteral("DocComplete ") + url->toString()); ++docCompletes; });
        connect(web, &ucWeb::DwnComplete, this, [this] { add(QStringLiteral("DwnComplete")); });
        connect(web, &ucWeb::FilDwn, this, [this](const QString &url, QString *name) { add(QStringLiteral("FilDwn ") + url + QStringLiteral(" | ") + *name); });
        connect(web, &ucWeb::NavComplete2, this, [this](QObject *, QVariant *url) { add(QStringLiteral("NavComplete2 ") + url->toString()); });
        if (withProgress)
            connect(web, &ucWeb::ProChange, this, [this](int p) { add(QStringLiteral("ProChange ") + QString::number(p)); });
        connect(web, &ucWeb::ProChange, this, [this](int p) { percents.append(p); });
        connect(web, &ucWeb::NewWndw2, this, [this](QObject **pp, bool *cancel) {
            add(QStringLiteral("NewWndw2"));
            if (newWindow)
                newWindow(pp, cancel);
        });
        connect(web, &ucWeb::TtlChange, this, [this](const QString &t) { add(QStringLiteral("TtlChange ") + t); });
        connect(web, &ucWeb::SetScrLckIcon, this, [this](int v) { add(QStringLiteral("SetScrLckIcon ") + QString::number(v)); });
    }

    void add(const QString &line) { events.append(line); }
    void clear()
    {
        events.clear();
        percents.clear();
        docCompletes = 0;
    }
    // The recorded lines that start with one of the given event names.
    QStringList only(const QStringList &names) const
    {
        QStringList out;
        for (const QString &e : events) {
            for (const QString &n : names) {
                if (e.startsWith(n + QLatin1Char(' ')) || e == n) {
                    out.append(e);
                    break;
                }
            }
        }
        return out;
    }

    QStringList events;
    QList<int> percents;
    int docCompletes = 0;
    bool cancelNext = false;
    std::function<void(QObject **, bool *)> newWindow;
};

// Runs the event loop until pred holds or the time is up.
inline bool WaitFor(const std::function<bool()> &pred, int ms = 10000)
{
    QDeadlineTimer deadline(ms);
    while (!pred()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}
