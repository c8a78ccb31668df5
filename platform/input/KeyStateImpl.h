#pragma once

// What the key poll reads from the desktop. Keys are named by the system's
// virtual-key numbers (17 Ctrl, 65-90 the letters, 112-123 F1-F12).
class KeyStateImpl
{
public:
    virtual ~KeyStateImpl() = default;
    // The key is held down now, whichever program has the keyboard.
    virtual bool downNow(int vk) = 0;
    // One of this program's windows is the active window.
    virtual bool ownWindowActive() = 0;
};
