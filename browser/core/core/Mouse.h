#pragma once

// The mouse-gesture hook: follows drags with the middle button over the
// browser's windows. Installing twice keeps one hook.
void HookMouse();
void UnhookMouse();
bool MouseHooked();
