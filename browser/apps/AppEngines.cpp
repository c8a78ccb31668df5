#include "AppEngines.h"

namespace {
bool g_safe = false;
}

void SetEngineTemplateSafe(bool on)
{
    g_safe = on;
}

bool EngineTemplateSafe()
{
    return g_safe;
}
