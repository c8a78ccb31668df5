#pragma once

#include "Variant.h"

#include <atomic>
#include <vector>

// A VBScript array: up to 60 dimensions, each with a lower bound (0, or the
// bound of a SAFEARRAY a host hands in) and an upper bound; elements stored
// with the first index varying fastest, as the runtime stores them.
// Arrays are values: Variant copies share the storage and detach on write.
class ScriptArray
{
public:
    struct Bound { int lower = 0; int count = 0; };

    // Largest element count the engine allows; beyond it "out of memory".
    static constexpr qint64 MaxElements = 4 * 1024 * 1024;

    ScriptArray() = default;
    explicit ScriptArray(const std::vector<Bound> &bounds);  // throws 7 when too large
    static ScriptArray *fromList(const VariantList &items);

    int dims() const { return int(m_bounds.size()); }
    int lbound(int dim) const { return m_bounds[dim].lower; }
    int ubound(int dim) const { return m_bounds[dim].lower + m_bounds[dim].count - 1; }
    qsizetype size() const { return qsizetype(m_data.size()); }
    const std::vector<Bound> &bounds() const { return m_bounds; }

    // Flat index of the indices, or throws 9.
    qsizetype flatIndex(const Variant *indices, int n) const;
    Variant &at(qsizetype i) { return m_data[size_t(i)]; }
    const Variant &at(qsizetype i) const { return m_data[size_t(i)]; }
    std::vector<Variant> &data() { return m_data; }

    // ReDim [Preserve]: throws 9 when Preserve changes anything but the last
    // dimension's upper bound or the number of dimensions, 10 when locked.
    void redim(const std::vector<Bound> &bounds, bool preserve);
    void erase();

    // An element is passed ByRef to a procedure: the array may not be resized.
    int locks = 0;
    int refs = 0;
    // true: fixed size (Dim a(3)); ReDim raises 10.
    bool fixed = false;

private:
    std::vector<Bound> m_bounds;
    std::vector<Variant> m_data;
};
