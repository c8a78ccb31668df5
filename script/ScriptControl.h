#pragma once

#include "ScriptError.h"
#include "ScriptObject.h"
#include "ScriptRunState.h"
#include "ScriptUi.h"
#include "Variant.h"

#include <QObject>
#include <QString>

#include <memory>

class VbEngine;
class JsEngine;

// The script-engine control: runs VBScript or JScript text with objects of
// the host added to it.
//
//     ScriptControl sc;
//     sc.setLanguage(QStringLiteral("VBScript"));
//     sc.setTimeout(10000);
//     sc.addObject(QStringLiteral("AppControl"), ObjectRef(appControl), true);
//     if (!sc.addCode(scriptText))
//         report(sc.error().description, sc.error().line, sc.error().column);
//     sc.run(QStringLiteral("TheOrvLetUEnd"));
//
// Every operation clears the last error first and fills it on failure
// (number, source, Chinese description, line, column; columns count from 0;
// JScript reports no column: it is always 0 there).
//
// Re-entrancy: a host call made by the script (AppControl.AppSleep pumping
// the event loop, AppControl.EndApp) may reset or delete this control (plain
// delete or deleteLater). Both are safe: the running script is stopped at the
// next check (after every host call) with an error that On Error Resume Next
// cannot swallow, and the engine is freed only after its stack has unwound.
// After a reset or delete during a call the interrupted call returns false
// and does not touch the control again. A host object that pumps events
// should hold its control in a QPointer and re-check it afterwards.
//
// Time-out: a run that executes longer than timeout() ms of script time is
// stopped with ScriptErrors::Timeout; waits inside host calls do not count
// when the host wraps them in ScriptClockPause.
class ScriptControl : public QObject
{
    Q_OBJECT
public:
    explicit ScriptControl(QObject *parent = nullptr);
    ~ScriptControl() override;

    // "VBScript" or "JScript" (any letter case); changing it resets the control.
    // Returns false for any other name.
    bool setLanguage(const QString &language);
    QString language() const;

    // Milliseconds; 0 or less means no limit. 10000 by default.
    void setTimeout(int ms);
    int timeout() const;

    // Only objects marked safe may be created (CreateObject / ActiveXObject).
    void setUseSafeSubset(bool on);
    bool useSafeSubset() const { return m_safeSubset; }

    // Whether MsgBox / InputBox may show dialogs; without it they fail (70).
    void setAllowUI(bool on);
    bool allowUI() const { return m_allowUi; }

    // The dialogs MsgBox and InputBox use (tests put a fake here); the Qt
    // dialogs by default. The control does not own it.
    void setUi(ScriptUi *ui);

    // Kept for the host (the task list shows it).
    void setTag(const QString &tag) { m_tag = tag; }
    QString tag() const { return m_tag; }

    // Drops all code and objects; a run in progress is stopped.
    void reset();

    // Makes object visible to scripts as `name`; with addMembers its members
    // are global names as well. A null object is added as Nothing (null in
    // JScript), for a page document that has not arrived yet.
    bool addObject(const QString &name, const ObjectRef &object, bool addMembers = false);

    // Compiles text (syntax errors are reported before anything runs) and
    // runs its top-level statements inside this call.
    bool addCode(const QString &code);

    // Calls a procedure the code defined. ok (when given) tells success.
    Variant run(const QString &procName, const VariantList &args = VariantList(), bool *ok = nullptr);

    // Evaluates an expression.
    Variant eval(const QString &expression, bool *ok = nullptr);

    const ScriptError &error() const { return m_error; }

    // True while a call of this control is on the stack.
    bool isRunning() const;

private:
    template <typename F> bool guarded(F &&body);
    VbEngine &vb();
    JsEngine &js();
    void applyOptions();

    std::shared_ptr<ScriptRunState> m_state;
    std::shared_ptr<VbEngine> m_vb;
    std::shared_ptr<JsEngine> m_js;
    std::shared_ptr<bool> m_alive;
    bool m_isJs = false;
    bool m_safeSubset = false;
    bool m_allowUi = true;
    int m_timeout = 10000;
    ScriptUi *m_ui = nullptr;
    QString m_tag;
    ScriptError m_error;
};
