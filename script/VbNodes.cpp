#include "VbNodeTypes.h"

#include "DateUtil.h"
#include "ScriptArray.h"
#include "VariantOps.h"

#include <cmath>

namespace {

[[noreturn]] void raiseNamed(int number, const QString &name)
{
    throwScriptError(number, ScriptErrors::description(number) + QStringLiteral(": '") + name + QLatin1Char('\''));
}

// Let assignment: an object stands for its default value.
Variant letValue(Variant &&value)
{
    if (value.isObject()) {
        if (!value.rawObject())
            throwScriptError(ScriptErrors::ObjectNotSet);
        return value.valueOf();
    }
    return std::move(value);
}

bool truthy(const Variant &v)
{
    const Variant &d = v.deref();
    if (d.type() == Variant::Boolean)
        return d.rawInt() != 0;
    if (d.isNull())
        return false;
    return d.toBool();
}

// Argument lists of calls into objects come from a small pool, so that a
// call does not allocate one each time.
class ArgList
{
public:
    ArgList()
    {
        std::vector<VariantList> &p = pool();
        if (!p.empty()) {
            list.swap(p.back());
            p.pop_back();
        }
    }
    ~ArgList()
    {
        list.clear();
        std::vector<VariantList> &p = pool();
        if (p.size() < 16 && list.isDetached() && list.capacity() <= 32)
            p.push_back(std::move(list));
    }
    ArgList(const ArgList &) = delete;
    ArgList &operator=(const ArgList &) = delete;
    VariantList list;

private:
    static std::vector<VariantList> &pool()
    {
        thread_local std::vector<VariantList> lists;
        return lists;
    }
};

void evalList(VbFrame &f, const VbExprList &args, VariantList &out)
{
    out.reserve(qsizetype(args.size()));
    for (const auto &a : args)
        out.push_back(a->eval(f));
}

Variant elementOf(VbFrame &f, ScriptArray *arr, const VbExprList &args)
{
    Variant idx[8];
    std::vector<Variant> big;
    Variant *p = idx;
    const int n = int(args.size());
    if (n > 8) {
        big.resize(size_t(n));
        p = big.data();
    }
    for (int i = 0; i < n; ++i)
        p[i] = args[size_t(i)]->eval(f);
    return arr->at(arr->flatIndex(p, n));
}

Variant *elementRef(VbFrame &f, Variant &v, const VbExprList &args)
{
    Variant idx[8];
    std::vector<Variant> big;
    Variant *p = idx;
    const int n = int(args.size());
    if (n > 8) {
        big.resize(size_t(n));
        p = big.data();
    }
    for (int i = 0; i < n; ++i)
        p[i] = args[size_t(i)]->eval(f);
    v.setArrayWritable();
    ScriptArray *arr = v.rawArray();
    return &arr->at(arr->flatIndex(p, n));
}

} // namespace

void VbArrayLocks::add(ScriptArray *a)
{
    ++a->locks;
    a->refs++;
    if (count < 8) {
        arrays[count++] = a;
    } else {
        if (!more)
            more.reset(new std::vector<ScriptArray *>);
        more->push_back(a);
        count = 8;
    }
}

void VbArrayLocks::releaseAll()
{
    auto release = [](ScriptArray *a) {
        --a->locks;
        Variant::dropArrayRef(a);
    };
    for (int i = 0; i < count; ++i)
        release(arrays[i]);
    if (more) {
        for (ScriptArray *a : *more)
            release(a);
    }
}

void VbExpr::assign(VbFrame &, Variant &&, bool)
{
    throwScriptError(ScriptErrors::IllegalAssignment);
}

void vbExecBlock(VbFrame &f, const VbBlock &block)
{
    for (const auto &s : block) {
        try {
            s->exec(f);
        } catch (ScriptException &e) {
            if (e.line == 0) {
                e.line = s->line;
                e.column = s->column;
            }
            if (!f.resumeNext)
                throw;
            f.eng->recordError(e);
        }
        if (f.exit)
            return;
    }
}

// ---- simple expressions ----

Variant VbMeExpr::eval(VbFrame &f)
{
    if (!f.me)
        throwScriptError(ScriptErrors::ObjectRequired, ScriptErrors::description(424) + QStringLiteral(": 'Me'"));
    return Variant::fromObject(ObjectRef(f.me));
}

Variant VbNewExpr::eval(VbFrame &f)
{
    if (cacheGen != f.eng->generation()) {
        cls = f.eng->findClass(name.toLower());
        cacheGen = f.eng->generation();
    }
    if (cls)
        return Variant::fromObject(f.eng->newInstance(cls));
    const QString lower = name.toLower();
    if (lower == QLatin1String("regexp")) {
        VariantList args{Variant::fromString(QStringLiteral("VBScript.RegExp"))};
        extern Variant vbCreateBuiltinObject(VbEngine & eng, const QString &progId);
        return vbCreateBuiltinObject(*f.eng, QStringLiteral("VBScript.RegExp"));
    }
    raiseNamed(ScriptErrors::ClassNotDefined, name);
}

Variant VbUnaryExpr::eval(VbFrame &f)
{
    Variant v = operand->eval(f);
    return isNot ? VariantOps::logicalNot(v) : VariantOps::negate(v);
}

const Variant *VbNameExpr::fieldOfImpl(VbFrame &f, int slot)
{
    return f.me ? &f.me->fields[size_t(slot)] : nullptr;
}

namespace {

inline bool isInt(const Variant &v)
{
    return v.type() == Variant::Integer || v.type() == Variant::Long;
}

inline bool isIntOrDouble(const Variant &v)
{
    return v.type() == Variant::Integer || v.type() == Variant::Long || v.type() == Variant::Double;
}

inline double asDouble(const Variant &v)
{
    return v.type() == Variant::Double ? v.rawDouble() : double(v.rawInt());
}

// The common cases of the arithmetic and comparison operators, without the
// general rules' conversions; false when the general rules must decide.
inline bool fastBinary(VbBinOp op, const Variant &a, const Variant &b, Variant &out)
{
    if (isInt(a) && isInt(b)) {
        const std::int64_t x = a.rawInt(), y = b.rawInt();
        const bool isLong = a.type() == Variant::Long || b.type() == Variant::Long;
        std::int64_t r;
        switch (op) {
        case VbBinOp::Add: r = x + y; break;
        case VbBinOp::Sub: r = x - y; break;
        case VbBinOp::Mul: r = x * y; break;
        case VbBinOp::Eq: out = Variant::fromBool(x == y); return true;
        case VbBinOp::Ne: out = Variant::fromBool(x != y); return true;
        case VbBinOp::Lt: out = Variant::fromBool(x < y); return true;
        case VbBinOp::Gt: out = Variant::fromBool(x > y); return true;
        case VbBinOp::Le: out = Variant::fromBool(x <= y); return true;
        case VbBinOp::Ge: out = Variant::fromBool(x >= y); return true;
        default: return false;
        }
        if (!isLong && r >= -32768 && r <= 32767)
            out.setInteger(int(r));
        else if (r >= INT32_MIN && r <= INT32_MAX)
            out.setLong(std::int32_t(r));
        else
            out.setDouble(double(r));
        return true;
    }
    if (isIntOrDouble(a) && isIntOrDouble(b)) {
        const double x = asDouble(a), y = asDouble(b);
        double r;
        switch (op) {
        case VbBinOp::Add: r = x + y; break;
        case VbBinOp::Sub: r = x - y; break;
        case VbBinOp::Mul: r = x * y; break;
        case VbBinOp::Eq: out = Variant::fromBool(x == y); return true;
        case VbBinOp::Ne: out = Variant::fromBool(x != y); return true;
        case VbBinOp::Lt: out = Variant::fromBool(x < y); return true;
        case VbBinOp::Gt: out = Variant::fromBool(x > y); return true;
        case VbBinOp::Le: out = Variant::fromBool(x <= y); return true;
        case VbBinOp::Ge: out = Variant::fromBool(x >= y); return true;
        default: return false;
        }
        if (!std::isfinite(r))
            return false;
        out.setDouble(r);
        return true;
    }
    if (op == VbBinOp::Concat && a.isString() && b.isString()) {
        out = Variant::fromString(VariantOps::concat(a.rawString(), b.rawString()));
        return true;
    }
    return false;
}

} // namespace

Variant VbBinaryExpr::eval(VbFrame &f)
{
    Variant out;
    // a right side without side effects lets the left side be read in place too
    if (const Variant *b = right->peek(f)) {
        if (const Variant *a = left->peek(f)) {
            if (fastBinary(op, *a, *b, out))
                return out;
            return VariantOps::binary(op, *a, *b);
        }
        Variant a = left->eval(f);
        if (fastBinary(op, a, *b, out))
            return out;
        return VariantOps::binary(op, a, *b);
    }
    Variant a = left->eval(f);
    Variant b = right->eval(f);
    if (fastBinary(op, a, b, out))
        return out;
    return VariantOps::binary(op, a, b);
}

// ---- names ----

void VbNameExpr::resolveDynamic(VbFrame &f)
{
    VbEngine &eng = *f.eng;
    if (cacheGen == eng.generation())
        return;
    cacheGen = eng.generation();
    cacheKind = 0;
    if (const VbEngine::GlobalSym *g = eng.findGlobal(lower)) {
        switch (g->kind) {
        case VbEngine::GlobalSym::Var: case VbEngine::GlobalSym::Const: case VbEngine::GlobalSym::HostObject:
            cacheKind = 1;
            cacheCell = g->cell;
            return;
        case VbEngine::GlobalSym::Proc:
            cacheKind = 2;
            cacheProc = g->proc;
            return;
        default:
            break;
        }
    }
}

Variant *VbNameExpr::variable(VbFrame &f, bool create)
{
    switch (kind) {
    case Local: return &f.locals[slot].deref();
    case OuterLocal: return &f.outerLocals[slot].deref();
    case Global: return cell;
    case Field:
        if (!f.me)
            throwScriptError(ScriptErrors::ObjectRequired);
        return &f.me->fields[size_t(slot)];
    case Dynamic: {
        resolveDynamic(f);
        if (cacheKind == 1)
            return cacheCell;
        if (cacheKind == 2 || cacheKind == 3)
            return nullptr;
        if (!create)
            return nullptr;
        if (explicitNames)
            raiseNamed(ScriptErrors::UndefinedVariable, name);
        if (implicitSlot >= 0)
            return &f.locals[implicitSlot].deref();
        if (topLevel || !f.proc) {
            Variant *c = f.eng->globalCell(lower, true);
            return c;
        }
        return nullptr;
    }
    default:
        return nullptr;
    }
}

Variant VbNameExpr::indexInto(VbFrame &f, Variant &v, int access)
{
    if (v.isArray())
        return elementOf(f, v.rawArray(), args);
    if (v.isObject()) {
        if (!v.rawObject())
            throwScriptError(ScriptErrors::ObjectNotSet);
        ObjectRef keep(v.rawObject());
        ArgList a;
        evalList(f, args, a.list);
        return f.eng->invokeOrThrow(keep.get(), QString(), access, a.list);
    }
    raiseNamed(ScriptErrors::TypeMismatch, name);
}

Variant VbNameExpr::callBuiltin(VbFrame &f)
{
    const int n = int(args.size());
    if (n < builtin->minArgs || n > builtin->maxArgs)
        raiseNamed(ScriptErrors::WrongArgCount, QString::fromLatin1(builtin->name));
    Variant small[8];
    std::vector<Variant> big;
    Variant *argv = small;
    if (n > 8) {
        big.resize(size_t(n));
        argv = big.data();
    }
    for (int i = 0; i < n; ++i)
        argv[i] = args[size_t(i)]->eval(f);
    return builtin->fn(*f.eng, argv, n);
}

Variant VbNameExpr::callMember(VbFrame &f)
{
    if (!f.me)
        throwScriptError(ScriptErrors::ObjectRequired);
    if (member.method)
        return f.eng->callProc(member.method, f.me, f, args);
    if (member.get)
        return f.eng->callProc(member.get, f.me, f, args);
    raiseNamed(ScriptErrors::NoSuchMember, name);
}

Variant VbNameExpr::evalDynamic(VbFrame &f, int access)
{
    resolveDynamic(f);
    switch (cacheKind) {
    case 1:
        if (args.empty() && !hasParens)
            return *cacheCell;
        return indexInto(f, *cacheCell, access);
    case 2:
        return f.eng->callProc(cacheProc, nullptr, f, args);
    default:
        break;
    }
    VariantList a;
    evalList(f, args, a);
    Variant r;
    if (f.eng->invokeGlobalMember(name, access, a, r))
        return r;
    if (explicitNames)
        raiseNamed(ScriptErrors::UndefinedVariable, name);
    if (!args.empty() || hasParens)
        raiseNamed(ScriptErrors::TypeMismatch, name);
    if (implicitSlot >= 0)
        return f.locals[implicitSlot].deref();
    return Variant();
}

Variant VbNameExpr::eval(VbFrame &f)
{
    switch (kind) {
    case Local: {
        Variant &v = f.locals[slot].deref();
        if (args.empty() && !hasParens)
            return v;
        return indexInto(f, v, ScriptObject::Get | ScriptObject::Call);
    }
    case Global:
        if (args.empty() && !hasParens)
            return *cell;
        return indexInto(f, *cell, ScriptObject::Get | ScriptObject::Call);
    case OuterLocal:
    case Field: {
        Variant &v = *variable(f, false);
        if (args.empty() && !hasParens)
            return v;
        return indexInto(f, v, ScriptObject::Get | ScriptObject::Call);
    }
    case Constant:
        return constant;
    case Proc:
        return f.eng->callProc(proc, nullptr, f, args);
    case Member:
        return callMember(f);
    case Builtin:
        return callBuiltin(f);
    case Dynamic:
        return evalDynamic(f, ScriptObject::Get | ScriptObject::Call);
    default:
        throwScriptError(ScriptErrors::Unexpected);
    }
}

void VbNameExpr::exec(VbFrame &f)
{
    switch (kind) {
    case Builtin:
        callBuiltin(f);
        if (builtin->valueOnly)
            throwScriptError(ScriptErrors::UnsupportedType);
        return;
    case Dynamic:
        evalDynamic(f, ScriptObject::Call);
        return;
    case Local: case Global: case OuterLocal: case Field: {
        Variant &v = *variable(f, false);
        if (v.isObject() && (!args.empty() || hasParens)) {
            indexInto(f, v, ScriptObject::Call);
            return;
        }
        eval(f);
        return;
    }
    default:
        eval(f);
    }
}

Variant *VbNameExpr::ref(VbFrame &f, VbArrayLocks *locks)
{
    if (kind != Local && kind != Global && kind != OuterLocal && kind != Field && kind != Dynamic)
        return nullptr;
    if (kind == Dynamic) {
        resolveDynamic(f);
        if (cacheKind != 1 && !(cacheKind == 0 && implicitSlot >= 0 && !explicitNames))
            return nullptr;
    }
    Variant *v = variable(f, true);
    if (!v)
        return nullptr;
    if (args.empty() && !hasParens)
        return v;
    if (v->isArray() && locks) {
        Variant *e = elementRef(f, *v, args);
        locks->add(v->rawArray());
        return e;
    }
    return nullptr;
}

void VbNameExpr::storeInto(VbFrame &f, Variant &v, Variant &&value, bool isSet)
{
    if (args.empty() && !hasParens) {
        if (isSet) {
            if (!value.isObject())
                throwScriptError(ScriptErrors::ObjectRequired);
            v = std::move(value);
        } else {
            if (v.isArray() && v.rawArray() && v.rawArray()->fixed)
                throwScriptError(ScriptErrors::ArrayLocked);
            v = letValue(std::move(value));
        }
        return;
    }
    if (v.isArray()) {
        Variant *e = elementRef(f, v, args);
        if (isSet) {
            if (!value.isObject())
                throwScriptError(ScriptErrors::ObjectRequired);
            *e = std::move(value);
        } else {
            *e = letValue(std::move(value));
        }
        return;
    }
    if (v.isObject()) {
        if (!v.rawObject())
            throwScriptError(ScriptErrors::ObjectNotSet);
        ObjectRef keep(v.rawObject());
        VariantList a;
        evalList(f, args, a);
        f.eng->invokeOrThrow(keep.get(), QString(), isSet ? ScriptObject::PutRef : ScriptObject::Put, a, &value);
        return;
    }
    raiseNamed(ScriptErrors::TypeMismatch, name);
}

void VbNameExpr::assign(VbFrame &f, Variant &&value, bool isSet)
{
    if (readOnly)
        throwScriptError(ScriptErrors::IllegalAssignment);
    switch (kind) {
    case Local: case Global: case OuterLocal: case Field:
        storeInto(f, *variable(f, true), std::move(value), isSet);
        return;
    case Dynamic: {
        resolveDynamic(f);
        if (cacheKind == 1) {
            storeInto(f, *cacheCell, std::move(value), isSet);
            return;
        }
        if (cacheKind == 2)
            throwScriptError(ScriptErrors::IllegalAssignment);
        if (implicitSlot < 0 || cacheKind == 3) {
            VariantList a;
            evalList(f, args, a);
            Variant v = value;
            if (f.eng->invokeGlobalMember(name, isSet ? ScriptObject::PutRef : ScriptObject::Put, a, v))
                return;
        }
        Variant *target = variable(f, true);
        if (!target)
            raiseNamed(ScriptErrors::UndefinedVariable, name);
        storeInto(f, *target, std::move(value), isSet);
        return;
    }
    case Member: {
        if (!f.me)
            throwScriptError(ScriptErrors::ObjectRequired);
        VbProcedure *p = isSet ? (member.set ? member.set : nullptr) : (member.let ? member.let : member.set);
        if (!p)
            throwScriptError(ScriptErrors::IllegalAssignment);
        const int n = int(args.size());
        std::vector<Variant> vals(size_t(n + 1));
        for (int i = 0; i < n; ++i)
            vals[size_t(i)] = args[size_t(i)]->eval(f);
        vals[size_t(n)] = isSet ? std::move(value) : letValue(std::move(value));
        f.eng->callProcValues(p, f.me, vals.data(), n + 1);
        return;
    }
    default:
        throwScriptError(ScriptErrors::IllegalAssignment);
    }
}

// ---- members ----

ScriptObject *VbMemberExpr::targetObject(VbFrame &f, Variant &holder)
{
    // a plain variable is read in place; anything else is kept in holder
    const Variant *o = object ? object->peek(f) : &f.locals[withSlot];
    if (!o) {
        holder = object->eval(f);
        o = &holder;
    }
    const Variant &d = o->deref();
    if (!d.isObject())
        throwScriptError(ScriptErrors::ObjectRequired, ScriptErrors::description(424) + QStringLiteral(": '") + name + QLatin1Char('\''));
    if (!d.rawObject())
        throwScriptError(ScriptErrors::ObjectRequired);
    return d.rawObject();
}

ObjectRef VbMemberExpr::target(VbFrame &f)
{
    Variant holder;
    return ObjectRef(targetObject(f, holder));
}

const VbClassMember &VbMemberExpr::memberOf(VbFrame &f, VbInstance *inst)
{
    if (!*inst->alive)
        throwScriptError(ScriptErrors::Unexpected);
    // the member found for the last instance's class; a class never changes
    // once parsed
    if (inst->cls != cachedClass) {
        auto it = inst->cls->members.constFind(lower);
        if (it == inst->cls->members.constEnd())
            throwScriptError(ScriptErrors::NoSuchMember, ScriptErrors::description(438) + QStringLiteral(": '") + name + QLatin1Char('\''));
        cachedMember = it.value();
        cachedClass = inst->cls;
    }
    if (!cachedMember.isPublic && f.cls != inst->cls)
        throwScriptError(ScriptErrors::NoSuchMember, ScriptErrors::description(438) + QStringLiteral(": '") + name + QLatin1Char('\''));
    return cachedMember;
}

Variant VbMemberExpr::access(VbFrame &f, int accessFlags)
{
    Variant holder;
    ScriptObject *o = targetObject(f, holder);
    if (VbInstance *inst = VbInstance::from(o)) {
        const VbClassMember m = memberOf(f, inst);
        if (m.field >= 0 && args.empty() && !hasParens)
            return inst->fields[size_t(m.field)]; // nothing runs between the read and the copy
        ObjectRef keep(inst);
        if (m.field >= 0) {
            Variant &v = inst->fields[size_t(m.field)];
            if (v.isArray())
                return elementOf(f, v.rawArray(), args);
            if (v.isObject() && v.rawObject()) {
                ObjectRef value(v.rawObject());
                VariantList a;
                evalList(f, args, a);
                return f.eng->invokeOrThrow(value.get(), QString(), accessFlags, a);
            }
            throwScriptError(ScriptErrors::TypeMismatch);
        }
        if (m.method)
            return f.eng->callProc(m.method, inst, f, args);
        if (m.get)
            return f.eng->callProc(m.get, inst, f, args);
        throwScriptError(ScriptErrors::NoSuchMember);
    }
    ObjectRef keep(o);
    ArgList a;
    evalList(f, args, a.list);
    return f.eng->invokeOrThrow(o, name, accessFlags, a.list);
}

Variant VbMemberExpr::eval(VbFrame &f)
{
    return access(f, ScriptObject::Get | ScriptObject::Call);
}

void VbMemberExpr::exec(VbFrame &f)
{
    access(f, ScriptObject::Call | (args.empty() ? ScriptObject::Get : 0));
}

void VbMemberExpr::assign(VbFrame &f, Variant &&value, bool isSet)
{
    ObjectRef obj = target(f);
    if (VbInstance *inst = VbInstance::from(obj.get())) {
        const VbClassMember m = memberOf(f, inst);
        if (m.field >= 0) {
            Variant &v = inst->fields[size_t(m.field)];
            if (args.empty() && !hasParens) {
                if (isSet && !value.isObject())
                    throwScriptError(ScriptErrors::ObjectRequired);
                v = isSet ? std::move(value) : letValue(std::move(value));
                return;
            }
            if (!v.isArray())
                throwScriptError(ScriptErrors::TypeMismatch);
            Variant *e = elementRef(f, v, args);
            *e = isSet ? std::move(value) : letValue(std::move(value));
            return;
        }
        VbProcedure *p = isSet ? m.set : (m.let ? m.let : nullptr);
        if (!p)
            throwScriptError(ScriptErrors::IllegalAssignment);
        const int n = int(args.size());
        std::vector<Variant> vals(size_t(n + 1));
        for (int i = 0; i < n; ++i)
            vals[size_t(i)] = args[size_t(i)]->eval(f);
        vals[size_t(n)] = isSet ? std::move(value) : letValue(std::move(value));
        f.eng->callProcValues(p, inst, vals.data(), n + 1);
        return;
    }
    ArgList a;
    evalList(f, args, a.list);
    f.eng->invokeOrThrow(obj.get(), name, isSet ? ScriptObject::PutRef : ScriptObject::Put, a.list, &value);
}

Variant VbIndexExpr::eval(VbFrame &f)
{
    Variant v = base->eval(f);
    if (v.isArray())
        return elementOf(f, v.rawArray(), args);
    if (v.isObject() && v.rawObject()) {
        VariantList a;
        evalList(f, args, a);
        return f.eng->invokeOrThrow(v.rawObject(), QString(), ScriptObject::Get | ScriptObject::Call, a);
    }
    throwScriptError(ScriptErrors::TypeMismatch);
}

void VbIndexExpr::assign(VbFrame &f, Variant &&value, bool isSet)
{
    Variant v = base->eval(f);
    if (v.isObject() && v.rawObject()) {
        VariantList a;
        evalList(f, args, a);
        f.eng->invokeOrThrow(v.rawObject(), QString(), isSet ? ScriptObject::PutRef : ScriptObject::Put, a, &value);
        return;
    }
    throwScriptError(ScriptErrors::IllegalAssignment);
}

// ---- statements ----

// The common way of building a text: s = s & a & b & vbCrLf. The parts are
// read and turned into text first, in order, then appended to s's own buffer,
// so that a long text grows without being copied each time. A part that
// changes s meanwhile (a function that assigns it) gets the result of the
// plain form: the parts joined to s's value from before.
bool VbAssignStmt::appendInPlace(VbFrame &f)
{
    auto *n = static_cast<VbNameExpr *>(target.get());
    if (n->readOnly)
        return false;
    if (n->kind == VbNameExpr::Dynamic) {
        // a name declared nowhere the parser saw: a plain variable only
        const VbEngine::GlobalSym *g = f.eng->findGlobal(n->lower);
        if (g && g->kind != VbEngine::GlobalSym::Var)
            return false;
    } else if (n->kind != VbNameExpr::Local && n->kind != VbNameExpr::Global && n->kind != VbNameExpr::Field) {
        return false;
    }
    Variant *v = n->variable(f, true);
    if (!v || !v->isString())
        return false;
    const size_t count = appendParts.size();
    QString small[8];
    std::vector<QString> big;
    QString *pieces = small;
    if (count > 8) {
        big.resize(count);
        pieces = big.data();
    }
    bool evaluated = false;
    QString before;
    qsizetype added = 0;
    for (size_t i = 0; i < count; ++i) {
        VbExpr *part = appendParts[i];
        const Variant *p = part->peek(f);
        Variant value;
        if (!p) {
            if (!evaluated) {
                before = v->rawString(); // s as the plain form reads it, before any part runs
                evaluated = true;
            }
            value = part->eval(f);
            p = &value;
        }
        const Variant &d = p->deref();
        if (d.isString())
            pieces[i] = d.rawString();
        else if (!d.isNull())
            pieces[i] = d.toString();
        added += pieces[i].size();
    }
    if (evaluated && !(v->isString() && v->rawString().isSharedWith(before))) {
        // a part assigned s: the plain form's result
        QString joined = before;
        for (size_t i = 0; i < count; ++i)
            joined = VariantOps::concat(joined, pieces[i]);
        n->assign(f, Variant::fromString(std::move(joined)), false);
        return true;
    }
    before = QString();
    QString &s = v->rawString();
    if (s.size() + added > VbEngine::MaxStringLength)
        throwScriptError(ScriptErrors::OutOfMemory);
    for (size_t i = 0; i < count; ++i)
        s.append(pieces[i]);
    return true;
}

void VbAssignStmt::exec(VbFrame &f)
{
    if (!appendParts.empty() && appendInPlace(f))
        return;
    if (simple < 0) {
        auto *n = dynamic_cast<VbNameExpr *>(target.get());
        simple = n && n->args.empty() && !n->hasParens && !n->readOnly
            && (n->kind == VbNameExpr::Local || n->kind == VbNameExpr::Global);
    }
    Variant val = value->eval(f);
    if (simple && !isSet && !val.isObject()) {
        auto *n = static_cast<VbNameExpr *>(target.get());
        Variant &v = n->kind == VbNameExpr::Local ? f.locals[n->slot].deref() : *n->cell;
        if (!v.isArray()) {
            v = std::move(val);
            return;
        }
    }
    target->assign(f, std::move(val), isSet);
}

void VbConstStmt::exec(VbFrame &f)
{
    Variant v = value->eval(f);
    if (Variant *cell = target->variable(f, true))
        *cell = letValue(std::move(v));
}

void VbReDimStmt::exec(VbFrame &f)
{
    for (Item &item : items) {
        auto *n = static_cast<VbNameExpr *>(item.target.get());
        Variant *v = n->variable(f, true);
        if (!v)
            throwScriptError(ScriptErrors::IllegalAssignment);
        std::vector<ScriptArray::Bound> bounds;
        for (auto &b : item.bounds) {
            const int upper = b->eval(f).toLong();
            if (upper < -1)
                throwScriptError(ScriptErrors::SubscriptOutOfRange);
            if (upper >= ScriptArray::MaxElements)
                throwScriptError(ScriptErrors::OutOfMemory);
            bounds.push_back(ScriptArray::Bound{0, upper + 1});
        }
        if (v->isArray() && v->rawArray()) {
            ScriptArray *a = v->rawArray();
            if (a->locks > 0 || (a->fixed && a->refs == 1))
                throwScriptError(ScriptErrors::ArrayLocked);
            if (preserve) {
                v->setArrayWritable();
                v->rawArray()->fixed = false;
                v->rawArray()->redim(bounds, true);
                continue;
            }
        }
        auto *a = new ScriptArray(bounds);
        *v = Variant::fromArray(a);
    }
}

void VbEraseStmt::exec(VbFrame &f)
{
    auto *n = static_cast<VbNameExpr *>(target.get());
    Variant *v = n->variable(f, false);
    if (!v || !v->isArray())
        throwScriptError(ScriptErrors::TypeMismatch);
    ScriptArray *a = v->rawArray();
    if (a->locks > 0)
        throwScriptError(ScriptErrors::ArrayLocked);
    if (a->fixed) {
        v->setArrayWritable();
        v->rawArray()->fixed = true;
        v->rawArray()->erase();
    } else {
        *v = Variant::fromArray(new ScriptArray());
    }
}

namespace {

// A condition under On Error Resume Next: a failing one records the error and
// counts as met, because the statement after it is the first one of the
// branch or loop body.
bool condition(VbFrame &f, VbExpr *cond, const VbStmt &owner)
{
    try {
        return truthy(cond->eval(f));
    } catch (ScriptException &e) {
        if (!f.resumeNext)
            throw;
        if (e.line == 0) {
            e.line = owner.line;
            e.column = owner.column;
        }
        f.eng->recordError(e);
        return true;
    }
}

} // namespace

void VbIfStmt::exec(VbFrame &f)
{
    for (auto &branch : branches) {
        if (condition(f, branch.first.get(), *this)) {
            vbExecBlock(f, branch.second);
            return;
        }
    }
    vbExecBlock(f, elseBlock);
}

void VbSelectStmt::exec(VbFrame &f)
{
    // Under On Error Resume Next a failing test expression goes on with the
    // next statement: the first one of the first Case when the subject
    // failed, of the Case being tested otherwise.
    auto recover = [&](ScriptException &e) {
        if (!f.resumeNext)
            throw;
        if (e.line == 0) {
            e.line = line;
            e.column = column;
        }
        f.eng->recordError(e);
    };
    Variant subj;
    try {
        subj = subject->eval(f);
        if (subj.isObject() && subj.rawObject())
            subj = subj.valueOf();
    } catch (ScriptException &e) {
        recover(e);
        if (!cases.empty())
            vbExecBlock(f, cases.front().body);
        else if (hasElse)
            vbExecBlock(f, elseBlock);
        return;
    }
    for (Case &c : cases) {
        for (Item &item : c.items) {
            bool match = false;
            try {
                Variant a = item.a->eval(f);
                if (item.kind == 0) {
                    match = VariantOps::compare(subj, a) == 0;
                } else if (item.kind == 1) {
                    Variant b = item.b->eval(f);
                    const int lo = VariantOps::compare(subj, a), hi = VariantOps::compare(subj, b);
                    match = lo != 2 && hi != 2 && lo >= 0 && hi <= 0;
                } else {
                    Variant r = VariantOps::binary(item.op, subj, a);
                    match = !r.isNull() && r.toBool();
                }
            } catch (ScriptException &e) {
                recover(e);
                match = true;
            }
            if (match) {
                vbExecBlock(f, c.body);
                return;
            }
        }
    }
    if (hasElse)
        vbExecBlock(f, elseBlock);
}

void VbForStmt::exec(VbFrame &f)
{
    auto *n = static_cast<VbNameExpr *>(var.get());
    Variant start = from->eval(f);
    Variant end = to->eval(f);
    Variant stepV = step ? step->eval(f) : Variant::fromInteger(1);
    if (start.isObject()) start = start.valueOf();
    if (end.isObject()) end = end.valueOf();
    if (stepV.isObject()) stepV = stepV.valueOf();
    if (start.isNull() || end.isNull() || stepV.isNull())
        throwScriptError(ScriptErrors::InvalidUseOfNull);
    if (start.isString()) start = Variant::fromDouble(start.toDouble());
    if (end.isString()) end = Variant::fromDouble(end.toDouble());
    if (stepV.isString()) stepV = Variant::fromDouble(stepV.toDouble());
    if (!start.isNumericType() || !end.isNumericType() || !stepV.isNumericType())
        throwScriptError(ScriptErrors::TypeMismatch);
    if (start.isEmpty()) start = Variant::fromInteger(0);
    Variant *counter = n->variable(f, true);
    if (!counter)
        throwScriptError(ScriptErrors::IllegalAssignment);
    *counter = start;
    VbEngine &eng = *f.eng;
    const bool intLoop = (start.type() == Variant::Integer || start.type() == Variant::Long)
        && end.isIntegral() && stepV.isIntegral();
    if (intLoop) {
        const std::int64_t e = end.rawInt(), s = stepV.rawInt();
        // a local or global counter keeps its storage for the whole loop
        const bool stable = n->kind == VbNameExpr::Local || n->kind == VbNameExpr::Global;
        for (;;) {
            if (!stable)
                counter = n->variable(f, true);
            const Variant &c = *counter;
            if (c.type() == Variant::Integer || c.type() == Variant::Long) {
                const std::int64_t i = c.rawInt();
                if (s >= 0 ? i > e : i < e)
                    return;
            } else {
                const int cmp = VariantOps::compare(c, end);
                if (cmp == 2 || (stepV.rawInt() >= 0 ? cmp > 0 : cmp < 0))
                    return;
            }
            vbExecBlock(f, body);
            if (f.exit) {
                if (f.exit == VbFrame::ExitFor)
                    f.exit = VbFrame::None;
                return;
            }
            eng.tick();
            if (!stable)
                counter = n->variable(f, true);
            Variant &cv = *counter;
            if (cv.type() == Variant::Integer) {
                const std::int64_t next = cv.rawInt() + s;
                if (next >= -32768 && next <= 32767)
                    cv.setInteger(int(next));
                else
                    cv = Variant::fromNumber(next);
            } else if (cv.type() == Variant::Long) {
                const std::int64_t next = cv.rawInt() + s;
                if (next >= INT32_MIN && next <= INT32_MAX)
                    cv.setLong(std::int32_t(next));
                else
                    cv.setDouble(double(next));
            } else {
                cv = VariantOps::binary(VbBinOp::Add, cv, stepV);
            }
        }
    }
    const double s = stepV.toDouble();
    for (;;) {
        counter = n->variable(f, true);
        const int cmp = VariantOps::compare(*counter, end);
        if (cmp == 2 || (s >= 0 ? cmp > 0 : cmp < 0))
            return;
        vbExecBlock(f, body);
        if (f.exit) {
            if (f.exit == VbFrame::ExitFor)
                f.exit = VbFrame::None;
            return;
        }
        eng.tick();
        counter = n->variable(f, true);
        *counter = VariantOps::binary(VbBinOp::Add, *counter, stepV);
    }
}

void VbForEachStmt::exec(VbFrame &f)
{
    Variant coll = collection->eval(f);
    auto *n = static_cast<VbNameExpr *>(var.get());
    if (coll.isArray()) {
        // coll's reference keeps the elements as they were when the loop
        // began: a write to the array by the body detaches the variable's copy
        const ScriptArray *a = coll.rawArray();
        for (qsizetype i = 0; i < a->size(); ++i) {
            Variant *v = n->variable(f, true);
            if (!v)
                throwScriptError(ScriptErrors::IllegalAssignment);
            *v = a->at(i);
            vbExecBlock(f, body);
            if (f.exit) {
                if (f.exit == VbFrame::ExitFor)
                    f.exit = VbFrame::None;
                return;
            }
            f.eng->tick();
        }
        return;
    }
    VariantList items;
    if (coll.isObject() && coll.rawObject()) {
        f.eng->enumerate(coll, items);
    } else if (coll.isObject()) {
        throwScriptError(ScriptErrors::ObjectNotSet);
    } else {
        throwScriptError(ScriptErrors::NotACollection);
    }
    for (Variant &item : items) {
        Variant *v = n->variable(f, true);
        if (!v)
            throwScriptError(ScriptErrors::IllegalAssignment);
        *v = std::move(item);
        vbExecBlock(f, body);
        if (f.exit) {
            if (f.exit == VbFrame::ExitFor)
                f.exit = VbFrame::None;
            return;
        }
        f.eng->tick();
    }
}

void VbDoStmt::exec(VbFrame &f)
{
    VbEngine &eng = *f.eng;
    auto test = [&]() {
        bool c = truthy(cond->eval(f));
        return until ? !c : c;
    };
    // a failing test at the top goes into the body under Resume Next (the
    // next statement); one at the bottom leaves the loop
    auto testTop = [&]() {
        try {
            return test();
        } catch (ScriptException &e) {
            if (!f.resumeNext)
                throw;
            if (e.line == 0) {
                e.line = line;
                e.column = column;
            }
            eng.recordError(e);
            return true;
        }
    };
    for (;;) {
        if (cond && atTop && !testTop())
            return;
        vbExecBlock(f, body);
        if (f.exit) {
            if (f.exit == VbFrame::ExitDo && !isWhileWend)
                f.exit = VbFrame::None;
            return;
        }
        if (cond && !atTop && !test())
            return;
        eng.tick();
    }
}

void VbWithStmt::exec(VbFrame &f)
{
    f.locals[slot] = object->eval(f);
    struct Clear {
        Variant &v;
        ~Clear() { v = Variant(); }
    } clear{f.locals[slot]};
    vbExecBlock(f, body);
}

void VbOnErrorStmt::exec(VbFrame &f)
{
    f.resumeNext = resumeNext;
    f.eng->clearError();
}
