#include "PageObject.h"

#include "PageScript.h"
#include "Variant.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QUuid>
#include <QVariantMap>
#include <QWebEnginePage>
#include <QWebEngineScript>

namespace {

// The page-side table: slot 0 is the document; a fresh document (after a
// navigation) has no table, so stale numbers are refused.
const char kPrelude[] =
    "var T = {list: (window.__tessAppObjs || {})[G]};"
    "if (!T.list) return {e: 424};"
    "var o = T.list[I]; if (o === undefined || o === null) return {e: 424};"
    "function put(v) {"
    "  if (v === null || v === undefined) return {n: 1};"
    "  var t = typeof v;"
    "  if (t === 'string' || t === 'number' || t === 'boolean') return {v: v};"
    "  T.list.push(v); return {o: T.list.length - 1};"
    "}"
    "function arg(a) { return (a && typeof a === 'object' && 'ref' in a) ? T.list[a.ref] : a; }";

QString JsString(const QString &s)
{
    return QString::fromUtf8(QJsonDocument(QJsonArray{s}).toJson(QJsonDocument::Compact)).mid(1).chopped(1);
}

} // namespace

PageObject::PageObject(QWebEnginePage *page, int id, const QString &generation)
    : m_page(page), m_id(id), m_generation(generation)
{
}

PageObject *PageObject::document(QObject *page)
{
    auto *p = qobject_cast<QWebEnginePage *>(page);
    if (!p)
        return nullptr;
    // A new table for this document: later objects carry its mark.
    const QString gen = QUuid::createUuid().toString(QUuid::WithoutBraces);
    PageScript::run(p,
                    QStringLiteral("(window.__tessAppObjs = window.__tessAppObjs || {})[%1] = [document]; true;").arg(JsString(gen)),
                    PageScript::kDefaultTimeoutMs, QWebEngineScript::ApplicationWorld);
    return new PageObject(p, 0, gen);
}

bool PageObject::runInPage(const QString &body, const QString &argsJson, QVariant *answer)
{
    if (!m_page)
        return false;
    const QString script = QStringLiteral("(function(){ var G = %1, I = %2, A = %3; %4 %5 })()")
                               .arg(JsString(m_generation))
                               .arg(m_id)
                               .arg(argsJson, QString::fromLatin1(kPrelude), body);
    const PageScriptResult r = PageScript::run(m_page, script, PageScript::kDefaultTimeoutMs,
                                               QWebEngineScript::ApplicationWorld);
    if (!r.ok)
        return false;
    *answer = r.value;
    return true;
}

ScriptObject::Status PageObject::toVariant(const QVariant &answer, Variant &result, ScriptError &error)
{
    const QVariantMap m = answer.toMap();
    if (m.contains(QStringLiteral("e")))
        return fail(error, m.value(QStringLiteral("e")).toInt());
    if (m.contains(QStringLiteral("u")))
        return UnknownName;
    if (m.contains(QStringLiteral("x")))
        return fail(error, 5, m.value(QStringLiteral("x")).toString()); // the page raised an error
    if (m.contains(QStringLiteral("o"))) {
        result = Variant::fromObject(ObjectRef(new PageObject(m_page, m.value(QStringLiteral("o")).toInt(), m_generation)));
        return Ok;
    }
    if (m.contains(QStringLiteral("n"))) {
        result = Variant::null();
        return Ok;
    }
    const QVariant v = m.value(QStringLiteral("v"));
    switch (v.typeId()) {
    case QMetaType::Bool:
        result = Variant::fromBool(v.toBool());
        break;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double: {
        const double d = v.toDouble();
        if (d == double(qint32(d)))
            result = Variant::fromLong(qint32(d));
        else
            result = Variant::fromDouble(d);
        break;
    }
    default:
        result = Variant::fromString(v.toString());
        break;
    }
    return Ok;
}

ScriptObject::Status PageObject::invoke(const QString &name, int access, VariantList &args, Variant &result,
                                        ScriptError &error)
{
    if (!m_page)
        return fail(error, ScriptErrors::ObjectRequired);
    // Arguments cross as JSON: plain values as they are, page objects by number.
    QJsonArray jsonArgs;
    auto toJson = [&](const Variant &v) -> QJsonValue {
        if (v.isObject()) {
            auto *po = dynamic_cast<PageObject *>(v.toObject().get());
            return po ? QJsonValue(QJsonObject{{QStringLiteral("ref"), po->m_id}}) : QJsonValue();
        }
        if (v.isNumericType())
            return QJsonValue(v.toDouble());
        return QJsonValue(v.toString());
    };
    try {
        for (const Variant &a : args)
            jsonArgs.append(toJson(a));
        if (access & (Put | PutRef)) {
            const QJsonValue value = toJson(result);
            jsonArgs.prepend(value);
        }
    } catch (...) {
        return fail(error, ScriptErrors::TypeMismatch);
    }
    const QString argsJson = QString::fromUtf8(QJsonDocument(jsonArgs).toJson(QJsonDocument::Compact));
    const QString n = JsString(name);
    QString body;
    if (access & (Put | PutRef)) {
        body = QStringLiteral("try { o[%1] = arg(A[0]); return {n: 1}; } catch (e) { return {x: String(e)}; }").arg(n);
    } else {
        // Get without Call asks for a property; Get | Call reads it or calls
        // the method; with arguments a collection is indexed (item) or a
        // method called. The empty name is the default member: item().
        body = QStringLiteral(
                   "try { var N = %1, call = %2, get = %3;"
                   "  var m = N === '' ? o : o[N];"
                   "  if (N !== '' && !(N in o) && m === undefined) {"
                   "    var k = Object.keys(Object.getPrototypeOf(o) || {}).concat(Object.keys(o));"
                   "    for (var i = 0; i < k.length; i++) if (k[i].toLowerCase() === N.toLowerCase()) { N = k[i]; m = o[N]; break; }"
                   "    if (m === undefined) { for (var p in o) if (p.toLowerCase() === N.toLowerCase()) { N = p; m = o[N]; break; } }"
                   "    if (m === undefined) return {u: 1}; }"
                   "  var args = A.map(arg);"
                   "  if (typeof m === 'function' && !(m instanceof HTMLCollection) && !(m instanceof NodeList)) {"
                   "    if (!call) return {u: 1};"
                   "    return put(m.apply(o, args)); }"
                   "  if (args.length) {"
                   "    var it = (m && typeof m.item === 'function') ? m.item(args[0]) : m[args[0]];"
                   "    if ((it === null || it === undefined) && m && typeof m.namedItem === 'function') it = m.namedItem(String(args[0]));"
                   "    return put(it); }"
                   "  return put(m);"
                   "} catch (e) { return {x: String(e)}; }")
                   .arg(n, (access & Call) ? QStringLiteral("true") : QStringLiteral("false"),
                        (access & Get) ? QStringLiteral("true") : QStringLiteral("false"));
    }
    QVariant answer;
    if (!runInPage(body, argsJson, &answer))
        return fail(error, ScriptErrors::ObjectRequired);
    return toVariant(answer, result, error);
}

ScriptObject::Status PageObject::enumerate(VariantList &items, ScriptError &error)
{
    QVariant answer;
    const QString body = QStringLiteral(
        "if (typeof o.length !== 'number') return {e: 451};"
        "var r = []; for (var i = 0; i < o.length; i++) r.push(put(o[i])); return {l: r};");
    if (!runInPage(body, QStringLiteral("[]"), &answer))
        return fail(error, ScriptErrors::ObjectRequired);
    const QVariantMap m = answer.toMap();
    if (m.contains(QStringLiteral("e")))
        return fail(error, m.value(QStringLiteral("e")).toInt());
    for (const QVariant &one : m.value(QStringLiteral("l")).toList()) {
        Variant v;
        if (toVariant(one, v, error) != Ok)
            return Failed;
        items.append(v);
    }
    return Ok;
}
