#include "ScriptObject.h"

#include "Variant.h"

#include <vector>

namespace {
// Objects whose last reference went while another object was being deleted:
// deleted by the outermost deletion, one after the other, so that a long
// chain of objects (a linked list built by a script) does not recurse.
thread_local int t_deleting = 0;
thread_local std::vector<ScriptObject *> t_pending;

void destroy(ScriptObject *o)
{
    // Class_Terminate may take and drop references of its own; keep one
    // while it runs so the object is deleted exactly once.
    o->ref();
    o->aboutToDelete();
    if (o->refCount() == 1)
        delete o;
    else
        o->deref();
}
} // namespace

void ScriptObject::deref()
{
    if (m_refs.fetch_sub(1, std::memory_order_acq_rel) != 1)
        return;
    if (t_deleting > 0) {
        t_pending.push_back(this);
        return;
    }
    ++t_deleting;
    destroy(this);
    while (!t_pending.empty()) {
        ScriptObject *o = t_pending.back();
        t_pending.pop_back();
        destroy(o);
    }
    --t_deleting;
}

ScriptObject::Status ScriptObject::enumerate(VariantList &, ScriptError &error)
{
    return fail(error, ScriptErrors::NotACollection);
}

ScriptObject::Status ScriptObject::fail(ScriptError &error, int number, const QString &description)
{
    error.number = number;
    error.description = description.isEmpty() ? ScriptErrors::description(number) : description;
    if (error.source.isEmpty())
        error.source = ScriptErrors::runtimeSource();
    return Failed;
}

ScriptObject::~ScriptObject()
{
    if (m_tracker)
        m_tracker->forget(this);
}

ScriptObjectTracker::~ScriptObjectTracker()
{
    for (ScriptObject *o = m_head; o;) {
        ScriptObject *next = o->m_trackNext;
        o->m_tracker = nullptr;
        o->m_trackPrev = o->m_trackNext = nullptr;
        o = next;
    }
}

void ScriptObjectTracker::track(ScriptObject *object)
{
    if (!object || object->m_tracker)
        return;
    object->m_tracker = this;
    object->m_trackPrev = nullptr;
    object->m_trackNext = m_head;
    if (m_head)
        m_head->m_trackPrev = object;
    m_head = object;
}

void ScriptObjectTracker::forget(ScriptObject *object)
{
    if (object->m_trackPrev)
        object->m_trackPrev->m_trackNext = object->m_trackNext;
    else
        m_head = object->m_trackNext;
    if (object->m_trackNext)
        object->m_trackNext->m_trackPrev = object->m_trackPrev;
    object->m_trackPrev = object->m_trackNext = nullptr;
    object->m_tracker = nullptr;
}

void ScriptObjectTracker::releaseAll()
{
    // keep every object alive while each drops what it holds, so that none
    // goes away under the loop
    std::vector<ObjectRef> alive;
    for (ScriptObject *o = m_head; o; o = o->m_trackNext)
        alive.emplace_back(o);
    for (ObjectRef &o : alive)
        o->releaseReferences();
    for (ObjectRef &o : alive) {
        if (o->m_tracker == this)
            forget(o.get());
    }
    alive.clear();
    // objects tracked meanwhile (a Class_Terminate that made new ones)
    while (m_head)
        forget(m_head);
}
