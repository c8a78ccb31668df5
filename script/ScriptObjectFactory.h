#pragma once

#include "ScriptObject.h"

#include <QString>

#include <functional>

// CreateObject: the program identifiers a script may create. The engine
// knows "Scripting.Dictionary" and "VBScript.RegExp" (both safe); the host
// may register more. Any other identifier fails with 429, and with the safe
// subset on, identifiers not marked safe fail with 429 as well.
namespace ScriptObjectFactory {
using Creator = std::function<ObjectRef()>;
void registerProgId(const QString &progId, Creator creator, bool safe);
void unregisterProgId(const QString &progId);
// Null with *errorNumber set (429) when the identifier cannot be created.
ObjectRef create(const QString &progId, bool safeSubset, int *errorNumber);
} // namespace ScriptObjectFactory
