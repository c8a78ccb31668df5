#include "FakeKeyState.h"

#include "AsyncKeyState.h"

FakeKeyState::FakeKeyState()
    : m_previous(AsyncKeyState::impl())
{
    AsyncKeyState::setImpl(this);
}

FakeKeyState::~FakeKeyState()
{
    AsyncKeyState::setImpl(m_previous);
}

void FakeKeyState::setDown(int vk, bool down)
{
    if (down)
        m_down.insert(vk);
    else
        m_down.erase(vk);
}
