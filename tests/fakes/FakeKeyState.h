#pragma once

#include "KeyStateImpl.h"

#include <set>

// For tests: installs itself for its lifetime; keys are held and the
// program's window is active only as the test sets them.
class FakeKeyState : public KeyStateImpl
{
public:
    FakeKeyState();
    ~FakeKeyState() override;

    bool downNow(int vk) override { return m_down.count(vk) > 0; }
    bool ownWindowActive() override { return m_active; }

    void setDown(int vk, bool down);
    void releaseAll() { m_down.clear(); }
    void setActive(bool active) { m_active = active; }

private:
    KeyStateImpl *m_previous = nullptr;
    std::set<int> m_down;
    bool m_active = true;
};
