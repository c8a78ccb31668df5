#include "Mouse.h"

namespace {
bool g_hooked = false;
}

// The gesture window and its recogniser arrive with mouse gestures; the hook's
// state is kept now so that start-up, the tools menu and shutdown agree.
void HookMouse()
{
    g_hooked = true;
}

void UnhookMouse()
{
    g_hooked = false;
}

bool MouseHooked()
{
    return g_hooked;
}
