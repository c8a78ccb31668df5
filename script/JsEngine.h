#pragma once

#include "ScriptRunState.h"
#include "ScriptUi.h"
#include "Variant.h"

#include <QHash>
#include <QJSEngine>
#include <QJSValue>
#include <QObject>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

class JsEngine;

// The object the JavaScript side calls to reach host objects. Host objects
// appear in scripts as Proxies over a function (so that a collection can be
// called: Url.all(0)); the Proxy traps land here.
class JsHostBridge : public QObject
{
    Q_OBJECT
public:
    explicit JsHostBridge(JsEngine *engine) : m_engine(engine) {}
    Q_INVOKABLE QJSValue get(int id, const QString &name);
    Q_INVOKABLE bool set(int id, const QString &name, const QJSValue &value);
    Q_INVOKABLE QJSValue call(int id, const QString &name, const QJSValue &args);
    Q_INVOKABLE QJSValue keys(int id);
    Q_INVOKABLE QJSValue items(int id);
    Q_INVOKABLE QJSValue create(const QString &progId);

private:
    JsEngine *m_engine;
};

// JScript on Qt's JavaScript engine. Errors carry the line the engine
// reports; QJSEngine reports no column, so the column is always 0.
// A watchdog thread interrupts a run that exceeds the time-out.
class JsEngine
{
public:
    explicit JsEngine(std::shared_ptr<ScriptRunState> state);
    ~JsEngine();
    JsEngine(const JsEngine &) = delete;
    JsEngine &operator=(const JsEngine &) = delete;

    void setOptions(bool safeSubset, bool allowUi, ScriptUi *ui);

    // These throw ScriptException / ScriptAbort like the VBScript engine.
    void addObject(const QString &name, const ObjectRef &object, bool addMembers);
    void addCode(const QString &code);
    Variant run(const QString &procName, VariantList &args);
    Variant evaluate(const QString &expression);

    // Stops a running script (reset or deletion of the control).
    void interrupt();

    // ---- used by the bridge ----
    QJSValue toJs(const Variant &v);
    Variant fromJs(const QJSValue &v);
    QJSValue wrap(const ObjectRef &object);
    ScriptObject *object(int id) const { return m_objects.value(id).get(); }
    QJSEngine &qjs() { return *m_qjs; }
    ScriptRunState &state() { return *m_state; }
    // Raises err as a JavaScript exception and remembers it for the report.
    void throwHostError(const ScriptError &err);
    void afterHostCall();
    QJSValue makeMethod(int id, const QString &name)
    {
        return m_makeMethod.call(QJSValueList() << QJSValue(id) << QJSValue(name));
    }
    bool safeSubset() const { return m_safeSubset; }
    bool allowUi() const { return m_allowUi; }
    ScriptUi *ui() const { return m_ui; }

private:
    Variant check(const QJSValue &result);
    void watchdog();

    std::shared_ptr<ScriptRunState> m_state;
    std::unique_ptr<QJSEngine> m_qjs;
    std::unique_ptr<JsHostBridge> m_bridge;
    QJSValue m_wrap;
    QJSValue m_makeMethod;
    QHash<int, ObjectRef> m_objects;
    QHash<ScriptObject *, int> m_ids;
    int m_nextId = 1;
    ScriptError m_hostError;
    bool m_safeSubset = false;
    bool m_allowUi = true;
    ScriptUi *m_ui = nullptr;

    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    // JavaScript values handed to the host; they let go of the engine before it goes.
    ScriptObjectTracker m_handedOut;
    std::thread m_watchdog;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_stop = false;
};
