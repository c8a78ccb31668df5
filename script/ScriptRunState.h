#pragma once

#include <QString>

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

// Shared state of one engine's runs: the time-out clock and the abort flag.
// The engine holds it, the control holds it, and a run keeps it alive for as
// long as it is on the stack, so that resetting or destroying the control
// during a host call only raises the flag and the run unwinds safely.
//
// The clock counts continuous script execution from the start of the
// outermost call into the engine (AddCode, Run, Eval). Host calls that wait
// (for the user, or pumping the event loop) pause it with ScriptClockPause.
// The flag and the clock may be read from a watchdog thread.
class ScriptRunState
{
public:
    // 0 or less: no time-out.
    void setTimeout(int ms) { m_timeoutMs.store(ms); }
    int timeout() const { return m_timeoutMs.load(); }

    // Called around every public entry into the engine; only the outermost
    // entry starts the clock. Returns the depth after entering.
    int enter();
    void leave();
    int depth() const { return m_depth.load(); }

    void pause();
    void resume();
    bool isPaused() const;
    // Milliseconds of counted execution of the current outermost call.
    long long elapsed() const;
    bool timedOut() const;

    std::atomic<bool> aborted{false};
    // Set by the watchdog (JScript) or by the interpreter when the time-out struck.
    std::atomic<bool> timeoutHit{false};

private:
    static long long nowMs();

    mutable std::mutex m_mutex;
    std::atomic<int> m_timeoutMs{10000};
    std::atomic<int> m_depth{0};
    long long m_start = 0;
    long long m_pausedTotal = 0;
    long long m_pauseStart = 0;
    int m_pauseDepth = 0;
};

// Pauses the time-out clock of every engine that is running on this thread
// for the lifetime of the guard. Construct one in host calls that wait:
//
//     ScriptObject::Status AppControl::invoke(...) {   // AppSleep
//         ScriptClockPause pause;
//         ... pump the event loop ...
//     }
//
// Runs that start during the pause (another app run from a pumped event)
// count their own time as usual.
class ScriptClockPause
{
public:
    ScriptClockPause();
    ~ScriptClockPause();
    ScriptClockPause(const ScriptClockPause &) = delete;
    ScriptClockPause &operator=(const ScriptClockPause &) = delete;

private:
    std::vector<std::shared_ptr<ScriptRunState>> m_paused;
};

// The engines that are running on this thread, innermost last. Maintained by
// ScriptRunScope around every entry.
class ScriptRunScope
{
public:
    explicit ScriptRunScope(std::shared_ptr<ScriptRunState> state);
    ~ScriptRunScope();
    ScriptRunScope(const ScriptRunScope &) = delete;
    ScriptRunScope &operator=(const ScriptRunScope &) = delete;
    static std::vector<std::shared_ptr<ScriptRunState>> &active();

private:
    std::shared_ptr<ScriptRunState> m_state;
};
