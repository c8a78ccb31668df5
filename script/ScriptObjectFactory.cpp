#include "ScriptObjectFactory.h"

#include "DictionaryObject.h"
#include "RegExpObject.h"

#include <QHash>

namespace ScriptObjectFactory {

namespace {
struct Entry
{
    Creator creator;
    bool safe;
};

QHash<QString, Entry> &registry()
{
    static QHash<QString, Entry> r = [] {
        QHash<QString, Entry> m;
        m.insert(QStringLiteral("scripting.dictionary"), Entry{[] { return ObjectRef(new DictionaryObject); }, true});
        m.insert(QStringLiteral("vbscript.regexp"), Entry{[] { return ObjectRef(new RegExpObject); }, true});
        return m;
    }();
    return r;
}
} // namespace

void registerProgId(const QString &progId, Creator creator, bool safe)
{
    registry().insert(progId.trimmed().toLower(), Entry{std::move(creator), safe});
}

void unregisterProgId(const QString &progId)
{
    registry().remove(progId.trimmed().toLower());
}

ObjectRef create(const QString &progId, bool safeSubset, int *errorNumber)
{
    auto it = registry().constFind(progId.trimmed().toLower());
    if (it == registry().constEnd() || (safeSubset && !it->safe)) {
        if (errorNumber)
            *errorNumber = 429;
        return ObjectRef();
    }
    ObjectRef o = it->creator();
    if (!o && errorNumber)
        *errorNumber = 429;
    return o;
}

} // namespace ScriptObjectFactory
