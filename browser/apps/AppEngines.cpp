#include "AppEngines.h"

#include "AppHost.h"
#include "ScriptControl.h"

#include <QGuiApplication>
#include <QMap>
#include <QPointer>

namespace {
bool g_safe = false;

QMap<int, QPointer<ScriptControl>> &Elements()
{
    static QMap<int, QPointer<ScriptControl>> map;
    return map;
}

// Drops elements whose control went away by other means.
void Prune()
{
    auto &m = Elements();
    for (auto it = m.begin(); it != m.end();) {
        if (it.value().isNull())
            it = m.erase(it);
        else
            ++it;
    }
}
} // namespace

void SetEngineTemplateSafe(bool on)
{
    g_safe = on;
}

bool EngineTemplateSafe()
{
    return g_safe;
}

int AppEngines::Load()
{
    const int index = UBound() + 1;
    if (index > kMaxIndex)
        return -1;
    if (AppHost *h = AppHosting::host())
        h->EnginesInUse();
    // Closing the last window ends every app, so that a script sleeping in
    // a loop lets the program end.
    static bool hooked = false;
    if (!hooked) {
        if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
            QObject::connect(app, &QGuiApplication::lastWindowClosed, app, [] { EndAll(); });
            hooked = true;
        }
    }
    auto *sc = new ScriptControl();
    sc->setLanguage(QStringLiteral("VBScript"));
    sc->setTimeout(10000);
    sc->setUseSafeSubset(g_safe);
    Elements().insert(index, sc);
    return index;
}

ScriptControl *AppEngines::Engine(int index)
{
    if (index < 1)
        return nullptr;
    return Elements().value(index).data();
}

void AppEngines::End(int index)
{
    auto &m = Elements();
    const auto it = m.find(index);
    if (it == m.end())
        return;
    QPointer<ScriptControl> sc = it.value();
    m.erase(it);
    if (!sc)
        return;
    sc->reset();
    // Freed from the event loop: the engine may be running below this call.
    sc->deleteLater();
}

void AppEngines::EndAll()
{
    const QList<int> all = Indices();
    for (int i : all)
        End(i);
}

int AppEngines::IndexOf(const ScriptControl *engine)
{
    if (!engine)
        return 0;
    const auto &m = Elements();
    for (auto it = m.cbegin(); it != m.cend(); ++it) {
        if (it.value().data() == engine)
            return it.key();
    }
    return 0;
}

int AppEngines::Count()
{
    Prune();
    return Elements().size() + 1;
}

int AppEngines::UBound()
{
    Prune();
    return Elements().isEmpty() ? 0 : Elements().lastKey();
}

QList<int> AppEngines::Indices()
{
    Prune();
    return Elements().keys();
}
