#include "ScriptControl.h"

#include "JsEngine.h"
#include "VbEngine.h"
#include "VbLexer.h"

#include <new>

ScriptControl::ScriptControl(QObject *parent)
    : QObject(parent), m_state(std::make_shared<ScriptRunState>()), m_alive(std::make_shared<bool>(true))
{
    m_state->setTimeout(m_timeout);
}

ScriptControl::~ScriptControl()
{
    *m_alive = false;
    m_state->aborted.store(true);
    if (m_js)
        m_js->interrupt();
}

bool ScriptControl::setLanguage(const QString &language)
{
    const QString l = language.trimmed().toLower();
    bool js;
    if (l == QLatin1String("vbscript"))
        js = false;
    else if (l == QLatin1String("jscript") || l == QLatin1String("javascript"))
        js = true;
    else
        return false;
    if (js != m_isJs) {
        reset();
        m_isJs = js;
    }
    return true;
}

QString ScriptControl::language() const
{
    return m_isJs ? QStringLiteral("JScript") : QStringLiteral("VBScript");
}

void ScriptControl::setTimeout(int ms)
{
    m_timeout = ms;
    m_state->setTimeout(ms);
}

int ScriptControl::timeout() const
{
    return m_timeout;
}

void ScriptControl::setUseSafeSubset(bool on)
{
    m_safeSubset = on;
    applyOptions();
}

void ScriptControl::setAllowUI(bool on)
{
    m_allowUi = on;
    applyOptions();
}

void ScriptControl::setUi(ScriptUi *ui)
{
    m_ui = ui;
    applyOptions();
}

void ScriptControl::applyOptions()
{
    if (m_vb) {
        m_vb->options().safeSubset = m_safeSubset;
        m_vb->options().allowUi = m_allowUi;
        m_vb->options().ui = m_ui ? m_ui : ScriptUi::qtDialogs();
    }
    if (m_js)
        m_js->setOptions(m_safeSubset, m_allowUi, m_ui ? m_ui : ScriptUi::qtDialogs());
}

bool ScriptControl::isRunning() const
{
    return m_state->depth() > 0;
}

VbEngine &ScriptControl::vb()
{
    if (!m_vb) {
        m_vb = std::make_shared<VbEngine>(m_state);
        applyOptions();
    }
    return *m_vb;
}

JsEngine &ScriptControl::js()
{
    if (!m_js) {
        m_js = std::make_shared<JsEngine>(m_state);
        applyOptions();
    }
    return *m_js;
}

void ScriptControl::reset()
{
    m_error.clear();
    if (m_state->depth() > 0) {
        // a call of ours is on the stack: stop it, and give the control a fresh state
        m_state->aborted.store(true);
        if (m_js)
            m_js->interrupt();
        m_state = std::make_shared<ScriptRunState>();
        m_state->setTimeout(m_timeout);
    }
    m_vb.reset();
    m_js.reset();
}

template <typename F> bool ScriptControl::guarded(F &&body)
{
    m_error.clear();
    std::shared_ptr<bool> alive = m_alive;
    std::shared_ptr<ScriptRunState> state = m_state;
    ScriptError err;
    {
        ScriptRunScope scope(state);
        try {
            body();
        } catch (const VbSyntaxError &e) {
            err.number = e.number;
            err.source = ScriptErrors::compilerSource();
            err.description = ScriptErrors::description(e.number);
            err.line = e.line;
            err.column = e.column;
        } catch (const ScriptException &e) {
            err.number = e.number;
            err.source = e.source.isEmpty() ? ScriptErrors::runtimeSource() : e.source;
            err.description = e.description.isEmpty() ? ScriptErrors::description(e.number) : e.description;
            err.line = e.line;
            err.column = e.column;
        } catch (const ScriptAbort &a) {
            err.number = a.number;
            err.source = ScriptErrors::runtimeSource();
            err.description = ScriptErrors::description(a.number);
        } catch (const std::bad_alloc &) {
            err.number = ScriptErrors::OutOfMemory;
            err.source = ScriptErrors::runtimeSource();
            err.description = ScriptErrors::description(ScriptErrors::OutOfMemory);
        }
        if (err.number == 0 && state->aborted.load()) {
            err.number = ScriptErrors::Aborted;
            err.source = ScriptErrors::runtimeSource();
            err.description = ScriptErrors::description(ScriptErrors::Aborted);
        }
    }
    if (!*alive || state != m_state)
        return false; // deleted or reset while running: touch nothing
    m_error = err;
    return !err.isSet();
}

bool ScriptControl::addObject(const QString &name, const ObjectRef &object, bool addMembers)
{
    if (name.trimmed().isEmpty()) {
        m_error.clear();
        m_error.number = ScriptErrors::InvalidCall;
        m_error.description = ScriptErrors::description(ScriptErrors::InvalidCall);
        m_error.source = ScriptErrors::runtimeSource();
        return false;
    }
    if (m_isJs) {
        std::shared_ptr<JsEngine> keep = m_js ? m_js : (js(), m_js);
        return guarded([&] { keep->addObject(name, object, addMembers); });
    }
    std::shared_ptr<VbEngine> keep = m_vb ? m_vb : (vb(), m_vb);
    return guarded([&] { keep->addObject(name, object, addMembers); });
}

bool ScriptControl::addCode(const QString &code)
{
    if (m_isJs) {
        js();
        std::shared_ptr<JsEngine> keep = m_js;
        return guarded([&] { keep->addCode(code); });
    }
    vb();
    std::shared_ptr<VbEngine> keep = m_vb;
    return guarded([&] { keep->addCode(code); });
}

Variant ScriptControl::run(const QString &procName, const VariantList &args, bool *ok)
{
    Variant result;
    VariantList a = args;
    bool good;
    if (m_isJs) {
        js();
        std::shared_ptr<JsEngine> keep = m_js;
        good = guarded([&] { result = keep->run(procName, a); });
    } else {
        vb();
        std::shared_ptr<VbEngine> keep = m_vb;
        good = guarded([&] { result = keep->run(procName, a); });
    }
    if (ok)
        *ok = good;
    return good ? result : Variant();
}

Variant ScriptControl::eval(const QString &expression, bool *ok)
{
    Variant result;
    bool good;
    if (m_isJs) {
        js();
        std::shared_ptr<JsEngine> keep = m_js;
        good = guarded([&] { result = keep->evaluate(expression); });
    } else {
        vb();
        std::shared_ptr<VbEngine> keep = m_vb;
        good = guarded([&] { result = keep->evaluate(expression); });
    }
    if (ok)
        *ok = good;
    return good ? result : Variant();
}
