#pragma once

#include <QString>
#include <QVariant>

class QWebEnginePage;

// Runs a script in a page and waits for its result: the system's handlers
// read the page's document synchronously (the active element of a download,
// the apps' page bridge), and the engine only answers asynchronously.
//
// The wait is a nested event loop: anything may run meanwhile, so callers must
// re-check every object they hold (QPointer) after it returns. The page may go
// away during the wait; the call then returns with ok false and never touches
// it again. A result that arrives after the timeout is dropped.
struct PageScriptResult
{
    bool ok = false;   // false: timeout, no page, or the page went away
    QVariant value;    // the script's completion value as Qt converts it
};

class PageScript
{
public:
    static constexpr int kDefaultTimeoutMs = 3000;

    // worldId: 0 is the page's own world (its variables are visible).
    static PageScriptResult run(QWebEnginePage *page, const QString &script, int timeoutMs = kDefaultTimeoutMs,
                                quint32 worldId = 0);
};
