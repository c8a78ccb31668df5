#include "ScriptObject.h"

#include "Variant.h"

void ScriptObject::deref()
{
    if (m_refs.fetch_sub(1, std::memory_order_acq_rel) != 1)
        return;
    // Class_Terminate may take and drop references of its own; keep one
    // while it runs so the object is deleted exactly once.
    m_refs = 1;
    aboutToDelete();
    if (m_refs-- == 1)
        delete this;
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
