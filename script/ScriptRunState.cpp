#include "ScriptRunState.h"

#include <algorithm>
#include <chrono>

long long ScriptRunState::nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int ScriptRunState::enter()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const int d = m_depth.fetch_add(1) + 1;
    if (d == 1) {
        m_start = nowMs();
        m_pausedTotal = 0;
        m_pauseDepth = 0;
        timeoutHit.store(false);
    }
    return d;
}

void ScriptRunState::leave()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_depth.fetch_sub(1);
}

void ScriptRunState::pause()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_pauseDepth++ == 0)
        m_pauseStart = nowMs();
}

void ScriptRunState::resume()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_pauseDepth == 0)
        return;
    if (--m_pauseDepth == 0)
        m_pausedTotal += nowMs() - m_pauseStart;
}

bool ScriptRunState::isPaused() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_pauseDepth > 0;
}

long long ScriptRunState::elapsed() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_depth.load() == 0)
        return 0;
    const long long now = m_pauseDepth > 0 ? m_pauseStart : nowMs();
    return now - m_start - m_pausedTotal;
}

bool ScriptRunState::timedOut() const
{
    const int t = m_timeoutMs.load();
    if (t <= 0)
        return false;
    return elapsed() > t;
}

std::vector<std::shared_ptr<ScriptRunState>> &ScriptRunScope::active()
{
    thread_local std::vector<std::shared_ptr<ScriptRunState>> stack;
    return stack;
}

ScriptRunScope::ScriptRunScope(std::shared_ptr<ScriptRunState> state) : m_state(std::move(state))
{
    m_state->enter();
    active().push_back(m_state);
}

ScriptRunScope::~ScriptRunScope()
{
    auto &a = active();
    auto it = std::find(a.rbegin(), a.rend(), m_state);
    if (it != a.rend())
        a.erase(std::next(it).base());
    m_state->leave();
}

ScriptClockPause::ScriptClockPause()
{
    for (const auto &s : ScriptRunScope::active()) {
        if (std::find(m_paused.begin(), m_paused.end(), s) == m_paused.end()) {
            s->pause();
            m_paused.push_back(s);
        }
    }
}

ScriptClockPause::~ScriptClockPause()
{
    for (const auto &s : m_paused)
        s->resume();
}
