#pragma once

#include "VbNodes.h"

#include <memory>
#include <vector>

// An instance of a class written in VBScript.
class VbInstance : public ScriptObject
{
public:
    VbInstance(VbEngine *engine, VbClassDef *cls, std::shared_ptr<bool> alive);
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
