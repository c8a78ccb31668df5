#pragma once

#include "KeyStateImpl.h"

// The X server's keymap, and Qt's focus window for the active window. Without
// an X server no key counts as held.
class XKeyState : public KeyStateImpl
{
public:
    bool downNow(int vk) override;
    bool ownWindowActive() override;
};
