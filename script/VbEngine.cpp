#include "VbEngine.h"

#include "ScriptArray.h"
#include "VbNodeTypes.h"
#include "VbParser.h"

namespace {
// Native stack the interpreter may use below its entry point before it
// reports "out of stack space" (the UI thread has 8 MB).
constexpr std::ptrdiff_t MaxNativeStack = 4 * 1024 * 1024;
} // namespace

VbCallGuard::VbCallGuard(VbEngine &e, VbFrame *frame) : eng(e), saved(e.m_current)
{
    // everything that can throw comes before the state changes: a throwing
    // constructor runs no destructor
    e.tick();
    char here;
    if (e.m_depth == 0)
        e.m_stackBase = &here;
    if (e.m_depth >= VbEngine::MaxCallDepth || (e.m_stackBase - &here) > MaxNativeStack
        || (&here - e.m_stackBase) > MaxNativeStack)
        throwScriptError(ScriptErrors::OutOfStack);
    ++e.m_depth;
    e.m_current = frame;
}

VbCallGuard::~VbCallGuard()
{
    --eng.m_depth;
    eng.m_current = saved;
    if (eng.m_depth == 0)
        eng.m_stackBase = nullptr;
}

VbEngine::VbEngine(std::shared_ptr<ScriptRunState> state) : m_state(std::move(state))
{
    m_err = new VbErrObject;
    m_errRef = ObjectRef(m_err);
    Variant *cell = globalCell(QStringLiteral("err"), true);
    *cell = Variant::fromObject(m_errRef);
    m_globals[QStringLiteral("err")].kind = GlobalSym::HostObject;
}

VbEngine::~VbEngine()
{
    m_closing = true;
    *m_alive = false;
    m_tracker.releaseAll();
    // Drop the values first (instances see closing() and skip Class_Terminate),
    // then the code they point into.
    for (Variant &v : m_cells)
        v = Variant();
    m_cells.clear();
    m_memberObjects.clear();
    m_units.clear();
}

void VbEngine::slowTick()
{
    m_tickCounter = 4096;
    checkAbort();
    if (m_state->timedOut()) {
        m_state->timeoutHit.store(true);
        throw ScriptAbort{ScriptErrors::Timeout};
    }
}

const VbEngine::GlobalSym *VbEngine::findGlobal(const QString &lower) const
{
    auto it = m_globals.constFind(lower);
    return it == m_globals.constEnd() ? nullptr : &it.value();
}

Variant *VbEngine::globalCell(const QString &lower, bool create)
{
    auto it = m_globals.find(lower);
    if (it != m_globals.end()) {
        if (it->cell)
            return it->cell;
        if (!create)
            return nullptr;
        // a procedure or class of that name: the variable replaces it
    } else if (!create) {
        return nullptr;
    }
    m_cells.emplace_back();
    GlobalSym sym;
    sym.kind = GlobalSym::Var;
    sym.cell = &m_cells.back();
    sym.name = lower;
    m_globals.insert(lower, sym);
    ++m_generation;
    return sym.cell;
}

VbClassDef *VbEngine::findClass(const QString &lower) const
{
    const GlobalSym *g = findGlobal(lower);
    return g && g->kind == GlobalSym::Class ? g->cls : nullptr;
}

void VbEngine::addObject(const QString &name, const ObjectRef &object, bool addMembers)
{
    const QString lower = name.toLower();
    Variant *cell = globalCell(lower, true);
    *cell = Variant::fromObject(object);
    m_globals[lower].kind = GlobalSym::HostObject;
    if (addMembers && object)
        m_memberObjects.emplace_back(lower, object);
    ++m_generation;
}

void VbEngine::adopt(std::unique_ptr<VbUnit> unit)
{
    m_units.push_back(std::move(unit));
}

Variant VbEngine::runTop(VbUnit &unit)
{
    VbProcedure *top = unit.top.get();
    std::unique_ptr<Variant[]> locals(new Variant[size_t(std::max(1, top->slotCount))]);
    VbFrame f;
    f.eng = this;
    f.locals = locals.get();
    f.proc = nullptr;
    VbCallGuard guard(*this, &f);
    for (const VbArrayDecl &d : top->arrays) {
        if (!d.global)
            continue;
        std::vector<ScriptArray::Bound> b;
        for (int u : d.upper)
            b.push_back(ScriptArray::Bound{0, u + 1});
        auto *a = new ScriptArray(b);
        a->fixed = d.field != -2;
        *d.global = Variant::fromArray(a);
    }
    vbExecBlock(f, top->body);
    return Variant();
}

void VbEngine::addCode(const QString &code)
{
    VbParser parser(*this, code, VbParser::Code);
    std::unique_ptr<VbUnit> unit = parser.parse();
    VbUnit *u = unit.get();
    adopt(std::move(unit));
    runTop(*u);
}

void VbEngine::executeGlobal(const QString &code)
{
    addCode(code);
}

void VbEngine::execute(const QString &code, VbFrame &caller)
{
    std::unique_ptr<VbUnit> unit;
    try {
        VbParser parser(*this, code, VbParser::Code, &caller);
        unit = parser.parse();
    } catch (const VbSyntaxError &e) {
        throwScriptError(e.number);
    }
    VbUnit *u = unit.get();
    adopt(std::move(unit));
    VbProcedure *top = u->top.get();
    std::unique_ptr<Variant[]> locals(new Variant[size_t(std::max(1, top->slotCount))]);
    VbFrame f;
    f.eng = this;
    f.locals = locals.get();
    f.outerLocals = caller.locals;
    f.me = caller.me;
    f.cls = caller.cls;
    f.proc = caller.proc;
    VbCallGuard guard(*this, &f);
    vbExecBlock(f, top->body);
}

Variant VbEngine::evalIn(const QString &expression, VbFrame &caller)
{
    std::unique_ptr<VbUnit> unit;
    try {
        VbParser parser(*this, expression, VbParser::Expression, &caller);
        unit = parser.parse();
    } catch (const VbSyntaxError &e) {
        throwScriptError(e.number);
    }
    VbUnit *u = unit.get();
    adopt(std::move(unit));
    std::unique_ptr<Variant[]> locals(new Variant[size_t(std::max(1, u->top->slotCount))]);
    VbFrame f;
    f.eng = this;
    f.locals = locals.get();
    f.outerLocals = caller.locals;
    f.me = caller.me;
    f.cls = caller.cls;
    f.proc = caller.proc;
    VbCallGuard guard(*this, &f);
    return u->expression->eval(f);
}

Variant VbEngine::evaluate(const QString &expression)
{
    VbParser parser(*this, expression, VbParser::Expression);
    std::unique_ptr<VbUnit> unit = parser.parse();
    VbUnit *u = unit.get();
    adopt(std::move(unit));
    std::unique_ptr<Variant[]> locals(new Variant[size_t(std::max(1, u->top->slotCount))]);
    VbFrame f;
    f.eng = this;
    f.locals = locals.get();
    VbCallGuard guard(*this, &f);
    try {
        return u->expression->eval(f);
    } catch (ScriptException &e) {
        if (e.line == 0) {
            e.line = 1;
            e.column = 0;
        }
        throw;
    }
}

bool VbEngine::hasProcedure(const QString &name) const
{
    const GlobalSym *g = findGlobal(name.toLower());
    return g && g->kind == GlobalSym::Proc;
}

Variant VbEngine::run(const QString &procName, VariantList &args)
{
    const GlobalSym *g = findGlobal(procName.toLower());
    if (!g || g->kind != GlobalSym::Proc) {
        // a variable holding an object, or a member of an object added with its members
        Variant r;
        if (invokeGlobalMember(procName, ScriptObject::Call, args, r))
            return r;
        throwScriptError(ScriptErrors::SubNotDefined);
    }
    VbProcedure *p = g->proc;
    if (args.size() != qsizetype(p->params.size()))
        throwScriptError(ScriptErrors::WrongArgCount);
    return callProcValues(p, nullptr, args.data(), int(args.size()));
}

namespace {

// The variables of one call: on the native stack for the usual few, on the
// heap for procedures with many.
struct LocalStore
{
    static constexpr int Inline = 12;
    explicit LocalStore(int n) : count(n)
    {
        if (n <= Inline) {
            data = reinterpret_cast<Variant *>(small);
            for (int i = 0; i < n; ++i)
                new (data + i) Variant();
        } else {
            big.reset(new Variant[size_t(n)]);
            data = big.get();
        }
    }
    ~LocalStore()
    {
        if (!big) {
            for (int i = count - 1; i >= 0; --i)
                data[i].~Variant();
        }
    }
    LocalStore(const LocalStore &) = delete;
    LocalStore &operator=(const LocalStore &) = delete;
    alignas(Variant) unsigned char small[Inline * sizeof(Variant)];
    std::unique_ptr<Variant[]> big;
    Variant *data;
    int count;
};

void initArrays(VbProcedure *p, Variant *locals)
{
    for (const VbArrayDecl &d : p->arrays) {
        std::vector<ScriptArray::Bound> b;
        for (int u : d.upper)
            b.push_back(ScriptArray::Bound{0, u + 1});
        auto *a = new ScriptArray(b);
        a->fixed = d.field != -2;
        locals[d.slot] = Variant::fromArray(a);
    }
}

} // namespace

Variant VbEngine::callProc(VbProcedure *p, VbInstance *me, VbFrame &caller, const VbExprList &args)
{
    const int n = int(args.size());
    if (n != int(p->params.size()))
        throwScriptError(ScriptErrors::WrongArgCount,
                         ScriptErrors::description(450) + QStringLiteral(": '") + p->name + QLatin1Char('\''));
    LocalStore store(p->slotCount);
    Variant *locals = store.data;
    VbArrayLocks locks;
    for (int i = 0; i < n; ++i) {
        VbExpr *a = args[size_t(i)].get();
        if (p->params[size_t(i)].byRef) {
            if (Variant *r = a->ref(caller, &locks)) {
                locals[i + 1] = Variant::makeRef(r);
                continue;
            }
        }
        locals[i + 1] = a->eval(caller);
    }
    ObjectRef keepMe(me);
    VbFrame f;
    f.eng = this;
    f.locals = locals;
    f.me = me;
    f.proc = p;
    f.cls = p->cls;
    VbCallGuard guard(*this, &f);
    if (!p->arrays.empty())
        initArrays(p, locals);
    vbExecBlock(f, p->body);
    return std::move(locals[0]);
}

Variant VbEngine::callProcValues(VbProcedure *p, VbInstance *me, Variant *args, int n)
{
    if (n != int(p->params.size()))
        throwScriptError(ScriptErrors::WrongArgCount);
    LocalStore store(p->slotCount);
    Variant *locals = store.data;
    for (int i = 0; i < n; ++i) {
        if (p->params[size_t(i)].byRef && args[i].isRef())
            locals[i + 1] = args[i];
        else
            locals[i + 1] = args[i].deref();
    }
    ObjectRef keepMe(me);
    VbFrame f;
    f.eng = this;
    f.locals = locals;
    f.me = me;
    f.proc = p;
    f.cls = p->cls;
    VbCallGuard guard(*this, &f);
    if (!p->arrays.empty())
        initArrays(p, locals);
    vbExecBlock(f, p->body);
    return std::move(locals[0]);
}

ScriptObject::Status VbEngine::invoke(ScriptObject *obj, const QString &name, int access, VariantList &args,
                                      Variant &result, ScriptError &error)
{
    ObjectRef keep(obj);
    const ScriptObject::Status st = obj->invoke(name, access, args, result, error);
    checkAbort();
    return st;
}

Variant VbEngine::invokeOrThrow(ScriptObject *obj, const QString &name, int access, VariantList &args,
                                const Variant *putValue)
{
    Variant result;
    if (putValue)
        result = *putValue;
    ScriptError err;
    switch (invoke(obj, name, access, args, result, err)) {
    case ScriptObject::Ok:
        if (access & (ScriptObject::Put | ScriptObject::PutRef))
            return Variant();
        return result;
    case ScriptObject::UnknownName:
        if (name.isEmpty())
            throwScriptError(ScriptErrors::NoSuchMember);
        throwScriptError(ScriptErrors::NoSuchMember,
                         ScriptErrors::description(438) + QStringLiteral(": '") + name + QLatin1Char('\''));
    case ScriptObject::Failed:
        break;
    }
    ScriptException e{err.number ? err.number : int(ScriptErrors::Unexpected), err.description, err.source};
    e.line = err.line;
    e.column = err.column;
    throw e;
}

bool VbEngine::invokeGlobalMember(const QString &name, int access, VariantList &args, Variant &result)
{
    for (size_t i = 0; i < m_memberObjects.size(); ++i) {
        ObjectRef obj = m_memberObjects[i].second;
        if (!obj)
            continue;
        ScriptError err;
        Variant r = result;
        const ScriptObject::Status st = invoke(obj.get(), name, access, args, r, err);
        if (st == ScriptObject::UnknownName)
            continue;
        if (st == ScriptObject::Failed) {
            ScriptException e{err.number ? err.number : int(ScriptErrors::Unexpected), err.description, err.source};
            throw e;
        }
        result = std::move(r);
        return true;
    }
    return false;
}

ObjectRef VbEngine::newInstance(VbClassDef *cls)
{
    auto *inst = new VbInstance(this, cls, m_alive);
    ObjectRef ref(inst);
    m_tracker.track(inst);
    if (cls->initialize)
        callProcValues(cls->initialize, inst, nullptr, 0);
    return ref;
}

void VbEngine::enumerate(const Variant &collection, VariantList &items)
{
    ScriptObject *obj = collection.deref().rawObject();
    ObjectRef keep(obj);
    ScriptError err;
    const ScriptObject::Status st = obj->enumerate(items, err);
    checkAbort();
    if (st == ScriptObject::Failed) {
        ScriptException e{err.number, err.description, err.source};
        throw e;
    }
    if (st == ScriptObject::UnknownName)
        throwScriptError(ScriptErrors::NotACollection);
}

void VbEngine::recordError(const ScriptException &e)
{
    if (m_err->raised) {
        m_err->raised = false;
        // Err.Raise filled the fields, help file and context included
        if (m_err->number == e.number && m_err->description == e.description)
            return;
    }
    m_err->number = e.number;
    m_err->description = e.description.isEmpty() ? ScriptErrors::description(e.number) : e.description;
    m_err->source = e.source.isEmpty() ? ScriptErrors::runtimeSource() : e.source;
    m_err->helpFile.clear();
    m_err->helpContext = 0;
}

void VbEngine::clearError()
{
    m_err->raised = false;
    m_err->number = 0;
    m_err->description.clear();
    m_err->source.clear();
    m_err->helpFile.clear();
    m_err->helpContext = 0;
}

ObjectRef VbEngine::errObject() const
{
    return m_errRef;
}
