#pragma once

#include "Variant.h"

// The Err object.
class VbErrObject : public ScriptObject
{
public:
    Status invoke(const QString &name, int access, VariantList &args, Variant &result,
                  ScriptError &error) override;
    QString typeName() const override { return QStringLiteral("ErrObject"); }

    int number = 0;
    QString description;
    QString source;
    QString helpFile;
    int helpContext = 0;
    // Set by Raise, which fills every field itself; the engine's record of
    // the error that follows keeps them.
    bool raised = false;
};
