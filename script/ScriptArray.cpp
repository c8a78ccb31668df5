#include "ScriptArray.h"

ScriptArray::ScriptArray(const std::vector<Bound> &bounds) : m_bounds(bounds)
{
    qint64 total = 1;
    for (const Bound &b : bounds) {
        if (b.count < 0)
            throwScriptError(ScriptErrors::SubscriptOutOfRange);
        total *= b.count;
        if (total > MaxElements)
            throwScriptError(ScriptErrors::OutOfMemory);
    }
    if (bounds.empty())
        total = 0;
    m_data.resize(size_t(total));
}

ScriptArray *ScriptArray::fromList(const VariantList &items)
{
    auto *a = new ScriptArray(std::vector<Bound>{Bound{0, int(items.size())}});
    for (qsizetype i = 0; i < items.size(); ++i)
        a->m_data[size_t(i)] = items[i].deref();
    return a;
}

qsizetype ScriptArray::flatIndex(const Variant *indices, int n) const
{
    if (n != dims())
        throwScriptError(ScriptErrors::SubscriptOutOfRange);
    qsizetype flat = 0;
    qsizetype stride = 1;
    for (int d = 0; d < n; ++d) {
        const qint64 idx = qint64(indices[d].deref().toLong()) - m_bounds[size_t(d)].lower;
        if (idx < 0 || idx >= m_bounds[size_t(d)].count)
            throwScriptError(ScriptErrors::SubscriptOutOfRange);
        flat += qsizetype(idx) * stride;
        stride *= m_bounds[size_t(d)].count;
    }
    return flat;
}

void ScriptArray::redim(const std::vector<Bound> &bounds, bool preserve)
{
    if (locks > 0 || fixed)
        throwScriptError(ScriptErrors::ArrayLocked);
    qint64 total = 1;
    for (const Bound &b : bounds) {
        if (b.count < 0)
            throwScriptError(ScriptErrors::SubscriptOutOfRange);
        total *= b.count;
        if (total > MaxElements)
            throwScriptError(ScriptErrors::OutOfMemory);
    }
    if (!preserve || m_bounds.empty()) {
        m_bounds = bounds;
        m_data.clear();
        m_data.shrink_to_fit();
        m_data.resize(size_t(total));
        return;
    }
    if (bounds.size() != m_bounds.size())
        throwScriptError(ScriptErrors::SubscriptOutOfRange);
    for (size_t d = 0; d + 1 < bounds.size(); ++d) {
        if (bounds[d].count != m_bounds[d].count || bounds[d].lower != m_bounds[d].lower)
            throwScriptError(ScriptErrors::SubscriptOutOfRange);
    }
    // The last dimension varies slowest: the elements keep their places.
    m_bounds = bounds;
    m_data.resize(size_t(total));
}

void ScriptArray::erase()
{
    if (locks > 0)
        throwScriptError(ScriptErrors::ArrayLocked);
    if (fixed) {
        for (Variant &v : m_data)
            v = Variant();
        return;
    }
    m_bounds.clear();
    m_data.clear();
}
