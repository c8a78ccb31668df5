#pragma once

#include <QList>
#include <QString>

class ScriptControl;

// The script engines that run apps: an array whose element 0 is the template
// (language "VBScript", time-out 10000 ms, the safe subset when switched on)
// and whose elements 1 and up are one app each. A new element gets the index
// one above the highest loaded one; ending an app leaves a gap. The array
// belongs to the quick-hide window: unloading that window ends every app
// (EndAllApps).

// With the safe subset on, apps may create only the objects marked safe.
void SetEngineTemplateSafe(bool on);
bool EngineTemplateSafe();

namespace AppEngines {
// Highest index an engine may have (indices are 16-bit).
constexpr int kMaxIndex = 32767;

// Loads a new engine from the template at the highest index + 1; -1 when the
// index would pass kMaxIndex.
int Load();
// The engine at index, or nullptr when that element is not loaded (0 is the
// template and never given out).
ScriptControl *Engine(int index);
// Resets and unloads the engine at index. Safe while the engine's own script
// is running further down the stack (a host call ending its own app, or the
// task list ending an app that sleeps): the engine stops at its next check
// and is freed once its stack has unwound.
void End(int index);
// Ends every app (the owning window unloads).
void EndAll();
// The index of a loaded engine, 0 when it is not (or no longer) loaded.
int IndexOf(const ScriptControl *engine);
// Loaded elements, the template included.
int Count();
// Highest loaded index (0 with only the template).
int UBound();
// The loaded app indices in ascending order.
QList<int> Indices();
} // namespace AppEngines
