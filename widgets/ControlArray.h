#pragma once

#include <QPointer>

#include <functional>
#include <map>

// An array of controls as the windows keep them: element 0 is a hidden
// template, new elements take the next index after the highest one, removed
// elements leave gaps that every loop skips. A removed element is hidden and
// taken out of the array at once, and deleted later, so that an element may be
// removed from inside its own event.
template <typename T>
class ControlArray
{
public:
    using Factory = std::function<T *(int index)>;

    void setFactory(Factory f) { m_factory = std::move(f); }

    // Puts the template (element 0).
    void setTemplate(T *t) { m_items[0] = t; }

    // Loads element index (index must not exist yet). Returns it, or nullptr.
    T *load(int index)
    {
        if (index < 0 || exists(index) || !m_factory)
            return nullptr;
        T *c = m_factory(index);
        if (c)
            m_items[index] = c;
        return c;
    }

    // Loads the element after the highest index; nullptr once the indices are used up.
    T *loadNext()
    {
        const int next = ubound() + 1;
        if (next > kMaxIndex)
            return nullptr;
        return load(next);
    }

    void unload(int index)
    {
        auto it = m_items.find(index);
        if (it == m_items.end() || index == 0)
            return;
        T *c = it->second;
        m_items.erase(it);
        if (c) {
            c->hide();
            c->deleteLater();
        }
    }

    // Takes an element out of the array without deleting it; the caller owns
    // it from then on (an element whose own call is still running further down
    // the stack deletes itself once that call has returned).
    T *take(int index)
    {
        auto it = m_items.find(index);
        if (it == m_items.end() || index == 0)
            return nullptr;
        T *c = it->second.data();
        m_items.erase(it);
        return c;
    }

    bool exists(int index) const
    {
        auto it = m_items.find(index);
        return it != m_items.end() && !it->second.isNull();
    }

    T *at(int index) const
    {
        auto it = m_items.find(index);
        return it == m_items.end() ? nullptr : it->second.data();
    }
    T *operator()(int index) const { return at(index); }

    // Highest loaded index (0 when only the template stands).
    int ubound() const { return m_items.empty() ? 0 : m_items.rbegin()->first; }
    // Loaded elements, the template included.
    int count() const { return int(m_items.size()); }

    // Calls f(index, element) for every loaded element above the template, in index order.
    template <typename F>
    void forEach(F f) const
    {
        const auto copy = m_items; // f may load or unload
        for (const auto &[i, c] : copy) {
            if (i >= 1 && c)
                f(i, c.data());
        }
    }

    // Element indices are 16-bit, as the windows' arrays.
    static constexpr int kMaxIndex = 32767;

private:
    std::map<int, QPointer<T>> m_items;
    Factory m_factory;
};
