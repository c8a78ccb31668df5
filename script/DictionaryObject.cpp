#include "DictionaryObject.h"

#include "ScriptArray.h"

#include <QHashFunctions>

#include <cstring>

namespace {

constexpr int EmptySlot = -1;
constexpr int DeletedSlot = -2;
constexpr size_t MinCapacity = 16;

enum Member { Item, Key, CompareMode, Count, Add, Exists, Keys, Items, Remove, RemoveAll, Unknown };

// The member a name stands for, without building a lower-case copy.
Member memberOf(const QString &name)
{
    if (name.isEmpty())
        return Item;
    auto is = [&](const char *n) { return name.compare(QLatin1String(n), Qt::CaseInsensitive) == 0; };
    switch (name.size()) {
    case 3: return is("add") ? Add : is("key") ? Key : Unknown;
    case 4: return is("item") ? Item : is("keys") ? Keys : Unknown;
    case 5: return is("count") ? Count : is("items") ? Items : Unknown;
    case 6: return is("exists") ? Exists : is("remove") ? Remove : Unknown;
    case 9: return is("removeall") ? RemoveAll : Unknown;
    case 11: return is("comparemode") ? CompareMode : Unknown;
    default: return Unknown;
    }
}

size_t mix(size_t h)
{
    // spread the bits so that the low ones select slots well
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    return h;
}

quint32 tagOf(size_t hash)
{
    return quint32(hash >> 32);
}

} // namespace

DictionaryObject::KeyView DictionaryObject::view(const Variant &keyIn) const
{
    const Variant &key = keyIn.deref();
    KeyView k{KeyView::EmptyKey, 0};
    switch (key.type()) {
    case Variant::String:
        k.kind = KeyView::Text;
        k.text = &key.rawString();
        k.hash = m_compareMode ? qHash(key.rawString().toCaseFolded()) : qHash(QStringView(key.rawString()));
        break;
    case Variant::Object:
        k.kind = KeyView::ObjectKey;
        k.object = key.rawObject();
        k.hash = qHash(quintptr(k.object)) ^ 0x5bd1e995;
        break;
    case Variant::Empty:
        k.kind = KeyView::EmptyKey;
        k.hash = 0x9e3779b9;
        break;
    case Variant::Null:
        k.kind = KeyView::NullKey;
        k.hash = 0x7f4a7c15;
        break;
    case Variant::Array:
        throwScriptError(ScriptErrors::TypeMismatch);
    default: {
        k.kind = KeyView::Number;
        k.number = key.toDouble();
        if (k.number == 0)
            k.number = 0; // -0 and 0 are one key
        std::uint64_t bits;
        std::memcpy(&bits, &k.number, sizeof bits);
        k.hash = size_t(bits);
        break;
    }
    }
    k.hash = mix(k.hash);
    return k;
}

bool DictionaryObject::matches(const KeyView &k, const Entry &e) const
{
    if (e.hash != k.hash)
        return false;
    const Variant &key = e.key;
    switch (k.kind) {
    case KeyView::Text:
        return key.isString()
            && key.rawString().compare(*k.text, m_compareMode ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0;
    case KeyView::ObjectKey:
        return key.isObject() && key.rawObject() == k.object;
    case KeyView::EmptyKey:
        return key.isEmpty();
    case KeyView::NullKey:
        return key.isNull();
    case KeyView::Number:
        return key.isNumericType() && !key.isEmpty() && key.toDouble() == k.number;
    }
    return false;
}

int DictionaryObject::find(const KeyView &k) const
{
    if (m_table.empty())
        return -1;
    const size_t mask = m_table.size() - 1;
    const quint32 tag = tagOf(k.hash);
    for (size_t i = k.hash & mask;; i = (i + 1) & mask) {
        const Slot &s = m_table[i];
        if (s.entry == EmptySlot)
            return -1;
        if (s.entry >= 0 && s.tag == tag && matches(k, m_entries[size_t(s.entry)]))
            return s.entry;
    }
}

size_t DictionaryObject::slotOf(int entry) const
{
    const size_t mask = m_table.size() - 1;
    for (size_t i = m_entries[size_t(entry)].hash & mask;; i = (i + 1) & mask) {
        if (m_table[i].entry == entry)
            return i;
    }
}

void DictionaryObject::placeInTable(int entry)
{
    const size_t mask = m_table.size() - 1;
    const size_t hash = m_entries[size_t(entry)].hash;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        Slot &s = m_table[i];
        if (s.entry == EmptySlot || s.entry == DeletedSlot) {
            if (s.entry == EmptySlot)
                ++m_used;
            s.entry = entry;
            s.tag = tagOf(hash);
            return;
        }
    }
}

void DictionaryObject::rebuildTable(size_t capacity)
{
    m_table.assign(capacity, Slot{EmptySlot, 0});
    m_used = 0;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].live)
            placeInTable(int(i));
    }
}

void DictionaryObject::compact()
{
    std::vector<Entry> kept;
    kept.reserve(size_t(m_live));
    for (Entry &e : m_entries) {
        if (e.live)
            kept.push_back(std::move(e));
    }
    m_entries.swap(kept);
    m_holes = 0;
    size_t capacity = MinCapacity;
    while (capacity < size_t(m_live) * 2)
        capacity *= 2;
    rebuildTable(capacity);
}

void DictionaryObject::add(const Variant &key, const Variant &item)
{
    const KeyView k = view(key);
    // keep the table at most three quarters full, deleted slots included;
    // a new table starts at most half full (the tags keep probes cheap, a
    // small table keeps them in the cache)
    if ((m_used + 1) * 4 > m_table.size() * 3) {
        size_t capacity = MinCapacity;
        while ((size_t(m_live) + 1) * 2 > capacity)
            capacity *= 2;
        rebuildTable(capacity);
    }
    Entry e;
    e.key = key.deref();
    e.item = item.deref();
    e.hash = k.hash;
    e.live = true;
    m_entries.push_back(std::move(e));
    ++m_live;
    placeInTable(int(m_entries.size() - 1));
}

void DictionaryObject::removeAt(int entry)
{
    m_table[slotOf(entry)].entry = DeletedSlot;
    Entry gone = std::move(m_entries[size_t(entry)]);
    m_entries[size_t(entry)] = Entry();
    --m_live;
    ++m_holes;
    // holes are closed once they outnumber the entries: each removal pays
    // for a constant share of the copy
    if (m_holes > 32 && m_holes > m_live)
        compact();
    // the key and item go last: releasing them may run script code
}

void DictionaryObject::rekey(int entry, const Variant &newKey)
{
    const KeyView k = view(newKey);
    m_table[slotOf(entry)].entry = DeletedSlot;
    Variant old = std::move(m_entries[size_t(entry)].key);
    m_entries[size_t(entry)].key = newKey.deref();
    m_entries[size_t(entry)].hash = k.hash;
    placeInTable(entry);
}

void DictionaryObject::clear()
{
    std::vector<Entry> old;
    old.swap(m_entries);
    m_table.clear();
    m_used = 0;
    m_live = 0;
    m_holes = 0;
}

ScriptObject::Status DictionaryObject::invoke(const QString &name, int access, VariantList &args, Variant &result,
                                              ScriptError &error)
{
    const Member member = memberOf(name);
    const bool put = access & (Put | PutRef);
    try {
        switch (member) {
        case Item: {
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
                    m_entries[size_t(i)].item = std::move(v);
                return Ok;
            }
            if (i < 0) {
                add(args[0], Variant());
                result = Variant();
            } else {
                result = m_entries[size_t(i)].item;
            }
            return Ok;
        }
        case Key: {
            if (!put || args.size() != 1)
                return fail(error, ScriptErrors::IllegalAssignment);
            const int i = find(args[0]);
            if (i < 0)
                return fail(error, ScriptErrors::ElementNotFound);
            if (find(result) >= 0)
                return fail(error, ScriptErrors::KeyExists);
            rekey(i, result);
            return Ok;
        }
        case CompareMode:
            if (put) {
                if (m_live > 0)
                    return fail(error, ScriptErrors::InvalidCall);
                m_compareMode = result.toLong();
                return Ok;
            }
            result = Variant::fromLong(m_compareMode);
            return Ok;
        default:
            break;
        }
        if (put)
            return UnknownName;
        if (member == Count) {
            result = Variant::fromLong(m_live);
            return Ok;
        }
        if (access == Get)
            return UnknownName; // the rest are methods
        switch (member) {
        case Add:
            if (args.size() != 2)
                return fail(error, ScriptErrors::WrongArgCount);
            if (find(args[0]) >= 0)
                return fail(error, ScriptErrors::KeyExists);
            add(args[0], args[1]);
            result = Variant();
            return Ok;
        case Exists:
            if (args.size() != 1)
                return fail(error, ScriptErrors::WrongArgCount);
            result = Variant::fromBool(find(args[0]) >= 0);
            return Ok;
        case Keys:
        case Items: {
            auto *a = new ScriptArray(std::vector<ScriptArray::Bound>{ScriptArray::Bound{0, m_live}});
            result = Variant::fromArray(a);
            qsizetype n = 0;
            for (const Entry &e : m_entries) {
                if (e.live)
                    a->at(n++) = member == Keys ? e.key : e.item;
            }
            return Ok;
        }
        case Remove: {
            if (args.size() != 1)
                return fail(error, ScriptErrors::WrongArgCount);
            const int i = find(args[0]);
            if (i < 0)
                return fail(error, ScriptErrors::ElementNotFound);
            removeAt(i);
            result = Variant();
            return Ok;
        }
        case RemoveAll:
            clear();
            result = Variant();
            return Ok;
        default:
            break;
        }
    } catch (const ScriptException &e) {
        return fail(error, e.number, e.description);
    }
    return UnknownName;
}

ScriptObject::Status DictionaryObject::enumerate(VariantList &items, ScriptError &)
{
    items.reserve(m_live);
    for (const Entry &e : m_entries) {
        if (e.live)
            items.push_back(e.key);
    }
    return Ok;
}

void DictionaryObject::releaseReferences()
{
    clear();
}
