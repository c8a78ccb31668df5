#pragma once

#include "Variant.h"

#include <vector>

// "Scripting.Dictionary": keys in insertion order, compared as the runtime
// does (a string "1" and the number 1 are different keys, numbers of any
// subtype are the same key when their values are equal; CompareMode 1
// compares strings without regard to case). Its default member is Item.
//
// The entries stay in a vector in the order they were added; an open-address
// table maps a key's hash to its entry. Remove leaves a hole in the vector
// that the next compaction closes, so that Add, Exists, Item, Key and Remove
// take constant time and Keys and Items keep the order.
class DictionaryObject : public ScriptObject
{
public:
    Status invoke(const QString &name, int access, VariantList &args, Variant &result,
                  ScriptError &error) override;
    Status enumerate(VariantList &items, ScriptError &error) override;
    QString typeName() const override { return QStringLiteral("Dictionary"); }
    void releaseReferences() override;

private:
    struct Entry
    {
        Variant key;
        Variant item;
        size_t hash = 0;
        bool live = false;
    };
    // A key as the table sees it: its kind (string, number, Empty, Null,
    // object), its hash and what equality compares.
    struct KeyView
    {
        enum Kind { Text, Number, EmptyKey, NullKey, ObjectKey } kind;
        size_t hash;
        double number = 0;
        const QString *text = nullptr;
        const ScriptObject *object = nullptr;
    };

    KeyView view(const Variant &key) const; // 13 for an array
    bool matches(const KeyView &k, const Entry &e) const;
    // Index of the key's entry, or -1.
    int find(const KeyView &k) const;
    int find(const Variant &key) const { return find(view(key)); }
    void add(const Variant &key, const Variant &item);
    void removeAt(int entry);
    void rekey(int entry, const Variant &newKey);
    void clear();
    // Slot of the table that holds the entry index.
    size_t slotOf(int entry) const;
    void placeInTable(int entry);
    void rebuildTable(size_t capacity);
    void compact();

    // A slot of the table: an entry index (or Empty, Deleted) and the high
    // bits of the entry's hash, so that a probe looks at the entry itself
    // only when the bits match.
    struct Slot
    {
        int entry;
        quint32 tag;
    };

    std::vector<Entry> m_entries;
    std::vector<Slot> m_table;
    size_t m_used = 0; // table slots not Empty (deleted ones included)
    int m_live = 0;
    int m_holes = 0;
    int m_compareMode = 0;
};
