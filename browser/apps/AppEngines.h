#pragma once

// The script engines that run apps. With the safe subset on, apps may create
// only the objects marked safe.
void SetEngineTemplateSafe(bool on);
bool EngineTemplateSafe();
