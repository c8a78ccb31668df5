#pragma once

#include "ScriptRunState.h"
#include "ScriptUi.h"
#include "VbNodes.h"

#include <QHash>
#include <QRandomGenerator>
#include <QString>

#include <deque>
#include <functional>
#include <memory>

class VbErrObject;


// The VBScript interpreter behind the script control: global names, the
// procedures and classes of every unit added, the Err object, and the call
// machinery with its limits (depth, stack, time-out, abort).
class VbEngine
{
public:
    struct Options
    {
        bool safeSubset = false;
        bool allowUi = true;
        ScriptUi *ui = nullptr;
    };

    struct GlobalSym
    {
        enum Kind { Var, Const, Proc, Class, HostObject };
        Kind kind = Var;
        Variant *cell = nullptr;
        VbProcedure *proc = nullptr;
        VbClassDef *cls = nullptr;
        QString name;
    };

    // Deepest nesting of script calls before "out of stack space".
    static constexpr int MaxCallDepth = 1000;
    // Longest string the engine builds before "out of memory".
    static constexpr qsizetype MaxStringLength = 32 * 1024 * 1024;

    explicit VbEngine(std::shared_ptr<ScriptRunState> state);
    ~VbEngine();
    VbEngine(const VbEngine &) = delete;
    VbEngine &operator=(const VbEngine &) = delete;

    Options &options() { return m_options; }
    ScriptRunState &state() { return *m_state; }

    // Control operations. They throw VbSyntaxError, ScriptException or ScriptAbort.
    void addObject(const QString &name, const ObjectRef &object, bool addMembers);
    void addCode(const QString &code);
    Variant run(const QString &procName, VariantList &args);
    Variant evaluate(const QString &expression);
    bool hasProcedure(const QString &name) const;

    // Execute / ExecuteGlobal / Eval from script code.
    void executeGlobal(const QString &code);
    void execute(const QString &code, VbFrame &caller);
    Variant evalIn(const QString &expression, VbFrame &caller);
    // The frame of the innermost running procedure (for Execute, Eval).
    VbFrame *currentFrame() const { return m_current; }

    // ---- used by the nodes ----
    const GlobalSym *findGlobal(const QString &lower) const;
    Variant *globalCell(const QString &lower, bool create);
    VbClassDef *findClass(const QString &lower) const;
    quint64 generation() const { return m_generation; }

    Variant callProc(VbProcedure *p, VbInstance *me, VbFrame &caller, const VbExprList &args);
    // args may hold Refs (ByRef); n must not exceed the parameter count.
    Variant callProcValues(VbProcedure *p, VbInstance *me, Variant *args, int n);
    // Calls into any object; checks the abort flag after a host returns.
    ScriptObject::Status invoke(ScriptObject *obj, const QString &name, int access, VariantList &args,
                                Variant &result, ScriptError &error);
    // Same, raising the error as a script error (438 for an unknown name).
    Variant invokeOrThrow(ScriptObject *obj, const QString &name, int access, VariantList &args,
                          const Variant *putValue = nullptr);
    // Members of objects added with addMembers, as global names.
    bool invokeGlobalMember(const QString &name, int access, VariantList &args, Variant &result);
    ObjectRef newInstance(VbClassDef *cls);
    void enumerate(const Variant &collection, VariantList &items);

    // Called at loop back-edges and calls: time-out and abort.
    inline void tick()
    {
        if (--m_tickCounter <= 0)
            slowTick();
    }
    void checkAbort() const
    {
        if (m_state->aborted.load(std::memory_order_relaxed))
            throw ScriptAbort{ScriptErrors::Aborted};
    }

    // Err object.
    void recordError(const ScriptException &e);
    void clearError();
    VbErrObject *err() const { return m_err; }
    ObjectRef errObject() const;

    bool optionExplicit = false;
    bool closing() const { return m_closing; }
    std::shared_ptr<bool> aliveToken() const { return m_alive; }
    // Objects the script created, released when the engine shuts down.
    void track(ScriptObject *object) { m_tracker.track(object); }
    // Rnd's state (24 bits), as a new runtime starts it.
    quint32 rndSeed = 0x50000;
    const Options &opts() const { return m_options; }
    static const VbBuiltin *builtin(const QString &lower);

private:
    friend class VbParser;
    void slowTick();
    void link(VbUnit &unit);
    Variant runTop(VbUnit &unit);
    void adopt(std::unique_ptr<VbUnit> unit);

    std::shared_ptr<ScriptRunState> m_state;
    Options m_options;
    QHash<QString, GlobalSym> m_globals;  // lower-case name
    std::deque<Variant> m_cells;          // storage of global variables (stable addresses)
    std::vector<std::pair<QString, ObjectRef>> m_memberObjects; // added with addMembers
    std::vector<std::unique_ptr<VbUnit>> m_units;
    VbErrObject *m_err = nullptr;
    ObjectRef m_errRef;
    VbFrame *m_current = nullptr;
    int m_depth = 0;
    int m_tickCounter = 4096;
    const char *m_stackBase = nullptr;
    quint64 m_generation = 1;
    bool m_closing = false;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    ScriptObjectTracker m_tracker;
    friend struct VbCallGuard;
};

// Tracks call depth and the current frame for one script call.
struct VbCallGuard
{
    VbCallGuard(VbEngine &e, VbFrame *frame);
    ~VbCallGuard();
    VbEngine &eng;
    VbFrame *saved;
};
