#include "JsEngine.h"

#include "DateUtil.h"
#include "ScriptArray.h"
#include "ScriptObjectFactory.h"

#include <QDateTime>
#include <QRegularExpression>

#include <chrono>
#include <cmath>

namespace {

// A JavaScript value handed to the host (a callback function, a plain object).
class JsValueObject : public ScriptObject
{
public:
    JsValueObject(JsEngine *engine, const QJSValue &value, std::shared_ptr<bool> alive)
        : m_engine(engine), m_value(value), m_alive(std::move(alive)) {}

    Status invoke(const QString &name, int access, VariantList &args, Variant &result, ScriptError &error) override
    {
        if (!*m_alive)
            return fail(error, ScriptErrors::Unexpected);
        QJSValue target = name.isEmpty() ? m_value : m_value.property(name);
        if (access & (Put | PutRef)) {
            if (name.isEmpty())
                return UnknownName;
            m_value.setProperty(name, m_engine->toJs(result));
            return Ok;
        }
        if (!name.isEmpty() && target.isUndefined() && !m_value.hasProperty(name))
            return UnknownName;
        if (target.isCallable() && (access & Call)) {
            QJSValueList list;
            for (const Variant &a : args)
                list << m_engine->toJs(a);
            const QJSValue r = name.isEmpty() ? target.call(list) : target.callWithInstance(m_value, list);
            if (r.isError())
                return fail(error, 5022, r.toString());
            result = m_engine->fromJs(r);
            return Ok;
        }
        result = m_engine->fromJs(target);
        return Ok;
    }
    QString typeName() const override { return QStringLiteral("JScriptTypeInfo"); }
    const QJSValue &value() const { return m_value; }
    void releaseReferences() override { m_value = QJSValue(); }

private:
    JsEngine *m_engine;
    QJSValue m_value;
    std::shared_ptr<bool> m_alive;
};

#define ScriptFileName "script"

int jsErrorNumber(const QJSValue &err);

// The engine's English messages in the words the Chinese runtime uses.
void translate(const QJSValue &err, const QString &message, int &number, QString &description)
{
    static const QRegularExpression notDefined(QStringLiteral("^(\\S+) is not defined$"));
    static const QRegularExpression ofNull(QStringLiteral("property '?([^' ]+)'? of (null|undefined)"));
    description = message;
    switch (err.errorType()) {
    case QJSValue::SyntaxError:
        number = 1002;
        description = QStringLiteral("语法错误");
        return;
    case QJSValue::ReferenceError: {
        number = 5009;
        const QRegularExpressionMatch m = notDefined.match(message);
        if (m.hasMatch())
            description = QStringLiteral("'%1' 未定义").arg(m.captured(1));
        return;
    }
    case QJSValue::TypeError: {
        const QRegularExpressionMatch m = ofNull.match(message);
        if (m.hasMatch()) {
            number = 5007;
            description = QStringLiteral("'%1' 为空或不是对象").arg(m.captured(1));
        } else if (message.contains(QLatin1String("is not a function"))) {
            number = 5002;
            description = QStringLiteral("缺少函数");
        } else {
            number = 5002;
        }
        return;
    }
    case QJSValue::RangeError:
        if (message.contains(QLatin1String("call stack"))) {
            number = ScriptErrors::OutOfStack;
            description = ScriptErrors::description(ScriptErrors::OutOfStack);
            return;
        }
        number = 5029;
        return;
    default:
        number = jsErrorNumber(err);
        if (!err.isError() || message.isEmpty())
            description = QStringLiteral("出现异常且未被捕获");
        return;
    }
}

int jsErrorNumber(const QJSValue &err)
{
    switch (err.errorType()) {
    case QJSValue::SyntaxError: return 1002;
    case QJSValue::ReferenceError: return 5009;
    case QJSValue::TypeError: return 5002;
    case QJSValue::RangeError: return 5029;
    case QJSValue::URIError: return 5016;
    default: return 5022;
    }
}

} // namespace

JsEngine::JsEngine(std::shared_ptr<ScriptRunState> state) : m_state(std::move(state)), m_qjs(new QJSEngine)
{
    m_qjs->installExtensions(QJSEngine::ConsoleExtension);
    m_bridge.reset(new JsHostBridge(this));
    QJSValue bridge = m_qjs->newQObject(m_bridge.get());
    QJSEngine::setObjectOwnership(m_bridge.get(), QJSEngine::CppOwnership);
    const QJSValue factory = m_qjs->evaluate(QStringLiteral(
        "(function (bridge) {\n"
        "  function wrap(id) {\n"
        "    var target = function () {};\n"
        "    return new Proxy(target, {\n"
        "      get: function (t, name) {\n"
        "        if (typeof name !== 'string') return undefined;\n"
        "        if (name === '__hostId') return id;\n"
        "        if (name === 'toString' || name === 'valueOf') return function () { return bridge.call(id, '', []); };\n"
        "        return bridge.get(id, name);\n"
        "      },\n"
        "      set: function (t, name, value) { return bridge.set(id, String(name), value); },\n"
        "      apply: function (t, self, args) { return bridge.call(id, '', args); },\n"
        "      has: function (t, name) { return true; }\n"
        "    });\n"
        "  }\n"
        "  function makeMethod(id, name) {\n"
        "    return function () { return bridge.call(id, name, Array.prototype.slice.call(arguments)); };\n"
        "  }\n"
        "  return { wrap: wrap, makeMethod: makeMethod };\n"
        "})"), QStringLiteral("host"));
    const QJSValue helpers = factory.call(QJSValueList() << bridge);
    m_wrap = helpers.property(QStringLiteral("wrap"));
    m_makeMethod = helpers.property(QStringLiteral("makeMethod"));
    QJSValue global = m_qjs->globalObject();
    const QJSValue ax = m_qjs->evaluate(QStringLiteral(
        "(function (bridge) { return function ActiveXObject(id) { return bridge.create(String(id)); }; })"));
    global.setProperty(QStringLiteral("ActiveXObject"), ax.call(QJSValueList() << bridge));
    // JScript's Enumerator (for host collections) and VBArray (arrays from
    // VBScript-style objects arrive as JavaScript arrays already).
    const QJSValue compat = m_qjs->evaluate(QStringLiteral(
        "(function (bridge, g) {\n"
        "  function Enumerator(c) {\n"
        "    if (c === undefined || c === null) this._items = [];\n"
        "    else if (Array.isArray(c)) this._items = c.slice();\n"
        "    else if (c.__hostId !== undefined) this._items = bridge.items(c.__hostId);\n"
        "    else this._items = Object.keys(c).map(function (k) { return c[k]; });\n"
        "    this._i = 0;\n"
        "  }\n"
        "  Enumerator.prototype.atEnd = function () { return this._i >= this._items.length; };\n"
        "  Enumerator.prototype.moveNext = function () { this._i++; };\n"
        "  Enumerator.prototype.moveFirst = function () { this._i = 0; };\n"
        "  Enumerator.prototype.item = function () { return this._items[this._i]; };\n"
        "  function VBArray(a) { this._a = Array.isArray(a) ? a : []; }\n"
        "  VBArray.prototype.toArray = function () { return this._a.slice(); };\n"
        "  VBArray.prototype.lbound = function () { return 0; };\n"
        "  VBArray.prototype.ubound = function () { return this._a.length - 1; };\n"
        "  VBArray.prototype.getItem = function (i) { return this._a[i]; };\n"
        "  VBArray.prototype.dimensions = function () { return 1; };\n"
        "  g.Enumerator = Enumerator;\n"
        "  g.VBArray = VBArray;\n"
        "})"), QStringLiteral("host"));
    compat.call(QJSValueList() << bridge << global);
    m_watchdog = std::thread([this] { watchdog(); });
}

JsEngine::~JsEngine()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_cv.notify_all();
    if (m_watchdog.joinable())
        m_watchdog.join();
    *m_alive = false;
    m_handedOut.releaseAll();
    m_objects.clear();
    m_ids.clear();
}

void JsEngine::watchdog()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stop) {
        m_cv.wait_for(lock, std::chrono::milliseconds(20));
        if (m_stop)
            break;
        if (m_state->depth() > 0 && (m_state->aborted.load() || m_state->timedOut())) {
            if (!m_state->aborted.load())
                m_state->timeoutHit.store(true);
            m_qjs->setInterrupted(true);
        }
    }
}

void JsEngine::interrupt()
{
    m_qjs->setInterrupted(true);
}

void JsEngine::setOptions(bool safeSubset, bool allowUi, ScriptUi *ui)
{
    m_safeSubset = safeSubset;
    m_allowUi = allowUi;
    m_ui = ui;
}

QJSValue JsEngine::wrap(const ObjectRef &object)
{
    if (!object)
        return QJSValue(QJSValue::NullValue);
    int id = m_ids.value(object.get(), 0);
    if (!id) {
        id = m_nextId++;
        m_ids.insert(object.get(), id);
        m_objects.insert(id, object);
    }
    return m_wrap.call(QJSValueList() << QJSValue(id));
}

QJSValue JsEngine::toJs(const Variant &value)
{
    const Variant &v = value.deref();
    switch (v.type()) {
    case Variant::Empty: return QJSValue(QJSValue::UndefinedValue);
    case Variant::Null: return QJSValue(QJSValue::NullValue);
    case Variant::Boolean: return QJSValue(v.rawInt() != 0);
    case Variant::Integer: case Variant::Long: case Variant::Byte: return QJSValue(int(v.rawInt()));
    case Variant::Single: case Variant::Double: return QJSValue(v.rawDouble());
    case Variant::Currency: return QJSValue(double(v.rawInt()) / 10000.0);
    case Variant::String: return QJSValue(v.rawString());
    case Variant::Date: {
        int y, m, d, h, mi, s;
        DateUtil::split(v.rawDouble(), y, m, d, h, mi, s);
        return m_qjs->toScriptValue(QDateTime(QDate(y, m, d), QTime(h, mi, s)));
    }
    case Variant::Object: {
        if (auto *jv = dynamic_cast<JsValueObject *>(v.rawObject()))
            return jv->value();
        return wrap(ObjectRef(v.rawObject()));
    }
    case Variant::Array: {
        ScriptArray *a = v.rawArray();
        QJSValue arr = m_qjs->newArray(quint32(a->size()));
        for (qsizetype i = 0; i < a->size(); ++i)
            arr.setProperty(quint32(i), toJs(a->at(i)));
        return arr;
    }
    default:
        return QJSValue(QJSValue::UndefinedValue);
    }
}

Variant JsEngine::fromJs(const QJSValue &v)
{
    if (v.isUndefined())
        return Variant();
    if (v.isNull())
        return Variant::null();
    if (v.isBool())
        return Variant::fromBool(v.toBool());
    if (v.isNumber()) {
        const double d = v.toNumber();
        if (std::isfinite(d) && d == std::floor(d) && d >= -2147483648.0 && d <= 2147483647.0)
            return Variant::fromLong(std::int32_t(d));
        return Variant::fromDouble(d);
    }
    if (v.isString())
        return Variant::fromString(v.toString());
    if (v.isDate())
        return Variant::fromDate(DateUtil::fromDateTime(v.toDateTime().toLocalTime()));
    if (v.isObject() || v.isCallable()) {
        const QJSValue id = v.property(QStringLiteral("__hostId"));
        if (id.isNumber()) {
            ScriptObject *o = object(id.toInt());
            if (o)
                return Variant::fromObject(ObjectRef(o));
        }
        if (v.isArray()) {
            const int n = v.property(QStringLiteral("length")).toInt();
            VariantList items;
            for (int i = 0; i < n && i < ScriptArray::MaxElements; ++i)
                items.push_back(fromJs(v.property(quint32(i))));
            return Variant::fromArray(ScriptArray::fromList(items));
        }
        auto *jv = new JsValueObject(this, v, m_alive);
        ObjectRef ref(jv);
        m_handedOut.track(jv);
        return Variant::fromObject(ref);
    }
    return Variant();
}

void JsEngine::throwHostError(const ScriptError &err)
{
    m_hostError = err;
    m_qjs->throwError(err.description.isEmpty() ? ScriptErrors::description(err.number) : err.description);
}

void JsEngine::afterHostCall()
{
    if (m_state->aborted.load())
        m_qjs->setInterrupted(true);
}

Variant JsEngine::check(const QJSValue &result)
{
    if (m_qjs->isInterrupted()) {
        m_qjs->setInterrupted(false);
        if (m_state->aborted.load())
            throw ScriptAbort{ScriptErrors::Aborted};
        throw ScriptAbort{ScriptErrors::Timeout};
    }
    if (result.isError()) {
        ScriptException e{0, QString(), QString()};
        const QString message = result.property(QStringLiteral("message")).toString();
        if (m_hostError.isSet() && message == m_hostError.description) {
            e.number = m_hostError.number;
            e.description = m_hostError.description;
            e.source = m_hostError.source;
        } else {
            translate(result, message, e.number, e.description);
            e.source = e.number == 1002 ? QStringLiteral("Microsoft JScript 编译器错误")
                                        : QStringLiteral("Microsoft JScript 运行时错误");
        }
        m_hostError.clear();
        e.line = result.property(QStringLiteral("lineNumber")).toInt();
        // an error raised inside a host call: the line of the script's own frame
        const QStringList frames = result.property(QStringLiteral("stack")).toString().split(QLatin1Char('\n'));
        for (const QString &frame : frames) {
            const qsizetype at = frame.indexOf(QLatin1String(ScriptFileName ":"));
            if (at < 0)
                continue;
            bool ok = false;
            const int line = frame.mid(at + qsizetype(sizeof(ScriptFileName))).section(QLatin1Char(':'), 0, 0).toInt(&ok);
            if (ok && line > 0) {
                e.line = line;
                break;
            }
        }
        e.column = 0;
        throw e;
    }
    m_hostError.clear();
    return fromJs(result);
}

void JsEngine::addObject(const QString &name, const ObjectRef &object, bool addMembers)
{
    QJSValue global = m_qjs->globalObject();
    const QJSValue proxy = wrap(object);
    global.setProperty(name, proxy);
    if (!addMembers || !object)
        return;
    const int id = m_ids.value(object.get());
    for (const QString &member : object->memberNames()) {
        // a member of an object added with its members: a global getter/setter pair
        const QJSValue def = m_qjs->evaluate(QStringLiteral(
            "(function (g, proxy, name) { Object.defineProperty(g, name, { configurable: true, "
            "get: function () { return proxy[name]; }, set: function (v) { proxy[name] = v; } }); })"));
        def.call(QJSValueList() << global << proxy << member);
    }
    Q_UNUSED(id);
}

void JsEngine::addCode(const QString &code)
{
    m_qjs->setInterrupted(false);
    check(m_qjs->evaluate(code, QStringLiteral(ScriptFileName), 1));
}

Variant JsEngine::run(const QString &procName, VariantList &args)
{
    m_qjs->setInterrupted(false);
    QJSValue fn = m_qjs->globalObject().property(procName);
    if (!fn.isCallable())
        throwScriptError(5009, QStringLiteral("'%1' 未定义").arg(procName));
    QJSValueList list;
    for (const Variant &a : args)
        list << toJs(a);
    return check(fn.call(list));
}

Variant JsEngine::evaluate(const QString &expression)
{
    m_qjs->setInterrupted(false);
    return check(m_qjs->evaluate(expression, QStringLiteral(ScriptFileName), 1));
}

// ---- bridge ----

namespace {
// Host calls from JavaScript: a conversion error thrown inside the host
// object becomes its error; nothing is thrown through the JavaScript engine.
ScriptObject::Status safeInvoke(ScriptObject *o, const QString &name, int access, VariantList &args, Variant &result,
                                ScriptError &err)
{
    try {
        return o->invoke(name, access, args, result, err);
    } catch (const ScriptException &e) {
        return ScriptObject::fail(err, e.number, e.description);
    } catch (const std::bad_alloc &) {
        return ScriptObject::fail(err, ScriptErrors::OutOfMemory);
    }
}
} // namespace

QJSValue JsHostBridge::get(int id, const QString &name)
{
    ScriptObject *o = m_engine->object(id);
    if (!o)
        return QJSValue(QJSValue::UndefinedValue);
    ObjectRef keep(o);
    VariantList args;
    Variant result;
    ScriptError err;
    const ScriptObject::Status st = safeInvoke(o, name, ScriptObject::Get, args, result, err);
    m_engine->afterHostCall();
    if (st == ScriptObject::Ok)
        return m_engine->toJs(result);
    if (st == ScriptObject::UnknownName || err.number == ScriptErrors::WrongArgCount)
        return m_engine->makeMethod(id, name); // a method: a function that calls it
    m_engine->throwHostError(err);
    return QJSValue();
}

bool JsHostBridge::set(int id, const QString &name, const QJSValue &value)
{
    ScriptObject *o = m_engine->object(id);
    if (!o)
        return false;
    ObjectRef keep(o);
    VariantList args;
    Variant v = m_engine->fromJs(value);
    ScriptError err;
    const ScriptObject::Status st = safeInvoke(o, name, v.isObject() ? ScriptObject::PutRef : ScriptObject::Put, args, v, err);
    m_engine->afterHostCall();
    if (st == ScriptObject::Failed) {
        m_engine->throwHostError(err);
        return false;
    }
    if (st == ScriptObject::UnknownName) {
        ScriptError e;
        ScriptObject::fail(e, ScriptErrors::NoSuchMember);
        m_engine->throwHostError(e);
        return false;
    }
    return true;
}

QJSValue JsHostBridge::call(int id, const QString &name, const QJSValue &jsArgs)
{
    ScriptObject *o = m_engine->object(id);
    if (!o)
        return QJSValue(QJSValue::UndefinedValue);
    ObjectRef keep(o);
    VariantList args;
    const int n = jsArgs.property(QStringLiteral("length")).toInt();
    for (int i = 0; i < n; ++i)
        args.push_back(m_engine->fromJs(jsArgs.property(quint32(i))));
    Variant result;
    ScriptError err;
    const ScriptObject::Status st = safeInvoke(o, name, ScriptObject::Call | (name.isEmpty() ? ScriptObject::Get : 0),
                                               args, result, err);
    m_engine->afterHostCall();
    if (st == ScriptObject::Ok)
        return m_engine->toJs(result);
    if (st == ScriptObject::UnknownName)
        ScriptObject::fail(err, ScriptErrors::NoSuchMember);
    m_engine->throwHostError(err);
    return QJSValue();
}

QJSValue JsHostBridge::keys(int id)
{
    return items(id);
}

QJSValue JsHostBridge::items(int id)
{
    ScriptObject *o = m_engine->object(id);
    if (!o)
        return QJSValue(QJSValue::UndefinedValue);
    VariantList list;
    ScriptError err;
    ScriptObject::Status st;
    try {
        st = o->enumerate(list, err);
    } catch (const ScriptException &e) {
        st = ScriptObject::fail(err, e.number, e.description);
    }
    if (st != ScriptObject::Ok) {
        m_engine->throwHostError(err);
        return QJSValue();
    }
    return m_engine->toJs(Variant::fromArray(ScriptArray::fromList(list)));
}

QJSValue JsHostBridge::create(const QString &progId)
{
    int errNo = 0;
    ObjectRef o = ScriptObjectFactory::create(progId, m_engine->safeSubset(), &errNo);
    if (!o) {
        ScriptError e;
        ScriptObject::fail(e, errNo ? errNo : 429);
        m_engine->throwHostError(e);
        return QJSValue();
    }
    return m_engine->wrap(o);
}
