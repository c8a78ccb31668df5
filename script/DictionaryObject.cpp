#include "DictionaryObject.h"

#include "ScriptArray.h"

QString DictionaryObject::keyOf(const Variant &keyIn) const
{
    const Variant &key = keyIn.deref();
    switch (key.type()) {
    case Variant::String:
        return QLatin1Char('s') + (m_compareMode ? key.rawString().toLower() : key.rawString());
    case Variant::Object:
        return QLatin1Char('o') + QString::number(quintptr(key.rawObject()));
    case Variant::Empty:
        return QStringLiteral("e");
    case Variant::Null:
        return QStringLiteral("z");
    case Variant::Array:
        throwScriptError(ScriptErrors::TypeMismatch);
    default:
        return QLatin1Char('n') + QString::number(key.toDouble(), 'g', 17);
    }
}

int DictionaryObject::find(const Variant &key) const
{
    return m_index.value(keyOf(key), -1);
}

void DictionaryObject::rebuild()
{
    m_index.clear();
    for (size_t i = 0; i < m_items.size(); ++i)
        m_index.insert(keyOf(m_items[i].first), int(i));
}

void DictionaryObject::add(const Variant &key, const Variant &item)
{
    m_index.insert(keyOf(key), int(m_items.size()));
    m_items.emplace_back(key.deref(), item.deref());
}

ScriptObject::Status DictionaryObject::invoke(const QString &nameIn, int access, VariantList &args, Variant &result,
                                              ScriptError &error)
{
    const QString name = nameIn.isEmpty() ? QStringLiteral("item") : nameIn.toLower();
    const bool put = access & (Put | PutRef);
    try {
        if (name == QLatin1String("item")) {
            if (args.size() != 1)
                return fail(error, ScriptErrors::WrongArgCount);
            const int i = find(args[0]);
            if (put) {
                Variant v = result;
                if (!(access & PutRef) && v.isObject())
                    v = v.valueOf();
                if (i < 0)
                    add(args[0], v);
                else
                    m_items[size_t(i)].second = v;
                return Ok;
            }
            if (i < 0) {
                add(args[0], Variant());
                result = Variant();
            } else {
                result = m_items[size_t(i)].second;
            }
            return Ok;
        }
        if (name == QLatin1String("key")) {
            if (!put || args.size() != 1)
                return fail(error, ScriptErrors::IllegalAssignment);
            const int i = find(args[0]);
            if (i < 0)
                return fail(error, ScriptErrors::ElementNotFound);
            if (find(result) >= 0)
                return fail(error, ScriptErrors::KeyExists);
            m_items[size_t(i)].first = result.deref();
            rebuild();
            return Ok;
        }
        if (name == QLatin1String("comparemode")) {
            if (put) {
                if (!m_items.empty())
                    return fail(error, ScriptErrors::InvalidCall);
                m_compareMode = result.toLong();
                return Ok;
            }
            result = Variant::fromLong(m_compareMode);
            return Ok;
        }
        if (put)
            return UnknownName;
        if (name == QLatin1String("count")) {
            result = Variant::fromLong(std::int32_t(m_items.size()));
            return Ok;
        }
        if (access == Get)
            return UnknownName; // the rest are methods
        if (name == QLatin1String("add")) {
            if (args.size() != 2)
                return fail(error, ScriptErrors::WrongArgCount);
            if (find(args[0]) >= 0)
                return fail(error, ScriptErrors::KeyExists);
            add(args[0], args[1]);
            result = Variant();
            return Ok;
        }
        if (name == QLatin1String("exists")) {
            if (args.size() != 1)
                return fail(error, ScriptErrors::WrongArgCount);
            result = Variant::fromBool(find(args[0]) >= 0);
            return Ok;
        }
        if (name == QLatin1String("keys") || name == QLatin1String("items")) {
            const bool keys = name == QLatin1String("keys");
            auto *a = new ScriptArray(std::vector<ScriptArray::Bound>{ScriptArray::Bound{0, int(m_items.size())}});
            for (size_t i = 0; i < m_items.size(); ++i)
                a->at(qsizetype(i)) = keys ? m_items[i].first : m_items[i].second;
            result = Variant::fromArray(a);
            return Ok;
        }
        if (name == QLatin1String("remove")) {
            if (args.size() != 1)
                return fail(error, ScriptErrors::WrongArgCount);
            const int i = find(args[0]);
            if (i < 0)
                return fail(error, ScriptErrors::ElementNotFound);
            m_items.erase(m_items.begin() + i);
            rebuild();
            result = Variant();
            return Ok;
        }
        if (name == QLatin1String("removeall")) {
            m_items.clear();
            m_index.clear();
            result = Variant();
            return Ok;
        }
    } catch (const ScriptException &e) {
        return fail(error, e.number, e.description);
    }
    return UnknownName;
}

ScriptObject::Status DictionaryObject::enumerate(VariantList &items, ScriptError &)
{
    for (const auto &kv : m_items)
        items.push_back(kv.first);
    return Ok;
}

void DictionaryObject::releaseReferences()
{
    std::vector<std::pair<Variant, Variant>> old;
    old.swap(m_items);
    m_index.clear();
}
