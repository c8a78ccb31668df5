#pragma once

#include "VbNodes.h"

#include <memory>
#include <typeinfo>
#include <vector>

// An instance of a class written in VBScript.
class VbInstance final : public ScriptObject
{
public:
    VbInstance(VbEngine *engine, VbClassDef *cls, std::shared_ptr<bool> alive);
    // The object as an instance, or null when it is another kind of object.
    static VbInstance *from(ScriptObject *o) { return o && typeid(*o) == typeid(VbInstance) ? static_cast<VbInstance *>(o) : nullptr; }
    Status invoke(const QString &name, int access, VariantList &args, Variant &result,
                  ScriptError &error) override;
    QString typeName() const override;
    void aboutToDelete() override;
    void releaseReferences() override;

    VbEngine *engine;
    VbClassDef *cls;
    std::vector<Variant> fields;
    std::shared_ptr<bool> alive;
};
