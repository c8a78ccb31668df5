#pragma once

#include "Variant.h"

#include <QHash>

#include <vector>

// "Scripting.Dictionary": keys in insertion order, compared as the runtime
// does (a string "1" and the number 1 are different keys; CompareMode 1
// compares strings without regard to case). Its default member is Item.
class DictionaryObject : public ScriptObject
{
public:
    Status invoke(const QString &name, int access, VariantList &args, Variant &result,
                  ScriptError &error) override;
    Status enumerate(VariantList &items, ScriptError &error) override;
    QString typeName() const override { return QStringLiteral("Dictionary"); }
    void releaseReferences() override;

private:
    QString keyOf(const Variant &key) const;
    int find(const Variant &key) const;
    void rebuild();
    void add(const Variant &key, const Variant &item);

    std::vector<std::pair<Variant, Variant>> m_items;
    QHash<QString, int> m_index;
    int m_compareMode = 0;
};
