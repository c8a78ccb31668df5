#pragma once

#include "VbEngine.h"
#include "VbErrObject.h"
#include "VbInstance.h"
#include "VbNodes.h"

// Concrete nodes. The parser builds them; VbNodes.cpp runs them.

struct VbLiteral : VbExpr
{
    explicit VbLiteral(Variant v) : value(std::move(v)) {}
    Variant eval(VbFrame &) override { return value; }
    const Variant *peek(VbFrame &) override { return &value; }
    bool isConstant() const override { return true; }
    Variant value;
};

struct VbParen : VbExpr
{
    VbParen() = default;
    explicit VbParen(VbExprPtr e) : inner(std::move(e)) {}
    Variant eval(VbFrame &f) override { return inner->eval(f); }
    bool isConstant() const override { return inner->isConstant(); }
    VbExprPtr inner;
};

struct VbMeExpr : VbExpr
{
    Variant eval(VbFrame &f) override;
};

struct VbNewExpr : VbExpr
{
    Variant eval(VbFrame &f) override;
    QString name;
    // the class the name stood for when the engine's names last changed
    VbClassDef *cls = nullptr;
    quint64 cacheGen = 0;
};

struct VbUnaryExpr : VbExpr
{
    Variant eval(VbFrame &f) override;
    bool isConstant() const override { return operand->isConstant(); }
    bool isNot = false;
    VbExprPtr operand;
};

struct VbBinaryExpr : VbExpr
{
    Variant eval(VbFrame &f) override;
    bool isConstant() const override { return left->isConstant() && right->isConstant(); }
    VbBinOp op = VbBinOp::Add;
    VbExprPtr left, right;
};

// A name, with or without an argument list: a variable, an array element, a
// call of a procedure, a built-in function, a member of the class the code
// runs in, or a name resolved only when it runs.
struct VbNameExpr : VbExpr
{
    enum Kind { Unresolved, Local, OuterLocal, Global, Field, Proc, Member, Builtin, Constant, Dynamic };
    Variant eval(VbFrame &f) override;
    Variant *ref(VbFrame &f, VbArrayLocks *locks) override;
    const Variant *peek(VbFrame &f) override
    {
        if (!args.empty() || hasParens)
            return nullptr;
        switch (kind) {
        case Local: return &f.locals[slot].deref();
        case Global: return cell;
        case Constant: return &constant;
        case Field: return fieldOf(f);
        default: return nullptr;
        }
    }
    static const Variant *fieldOfImpl(VbFrame &f, int slot);
    const Variant *fieldOf(VbFrame &f) const { return fieldOfImpl(f, slot); }
    void assign(VbFrame &f, Variant &&value, bool isSet) override;
    void exec(VbFrame &f) override;

    // The variable's storage when the name is a variable (args ignored).
    Variant *variable(VbFrame &f, bool create);
    Variant evalDynamic(VbFrame &f, int access);
    void resolveDynamic(VbFrame &f);
    Variant callBuiltin(VbFrame &f);
    Variant callMember(VbFrame &f);
    Variant indexInto(VbFrame &f, Variant &v, int access);
    void storeInto(VbFrame &f, Variant &v, Variant &&value, bool isSet);

    QString name;
    QString lower;
    VbExprList args;
    bool hasParens = false;
    Kind kind = Unresolved;
    int slot = -1;
    int implicitSlot = -1;
    Variant *cell = nullptr;
    bool readOnly = false;
    bool topLevel = false;       // Dynamic: an unknown name at the top level becomes a global
    bool explicitNames = false;  // Option Explicit was in force
    VbProcedure *proc = nullptr;
    VbClassMember member;
    const VbBuiltin *builtin = nullptr;
    Variant constant;
    // Dynamic resolution cache
    quint64 cacheGen = 0;
    int cacheKind = 0; // 0 none, 1 cell, 2 proc, 3 host member, 4 implicit local
    Variant *cacheCell = nullptr;
    VbProcedure *cacheProc = nullptr;
};

struct VbMemberExpr : VbExpr
{
    Variant eval(VbFrame &f) override;
    void assign(VbFrame &f, Variant &&value, bool isSet) override;
    void exec(VbFrame &f) override;
    Variant access(VbFrame &f, int accessFlags);
    ObjectRef target(VbFrame &f);
    // The object, read in place from a variable or evaluated into holder.
    ScriptObject *targetObject(VbFrame &f, Variant &holder);
    // The member of the instance's class; 438 when it has none or it is private here.
    const VbClassMember &memberOf(VbFrame &f, VbInstance *inst);

    VbExprPtr object; // null: the object of the enclosing With
    int withSlot = -1;
    QString name;
    QString lower;
    VbExprList args;
    bool hasParens = false;
    const VbClassDef *cachedClass = nullptr;
    VbClassMember cachedMember;
};

// expr(args) where expr is not a plain name (f(1)(2), (x)(1)).
struct VbIndexExpr : VbExpr
{
    Variant eval(VbFrame &f) override;
    void assign(VbFrame &f, Variant &&value, bool isSet) override;
    VbExprPtr base;
    VbExprList args;
};

struct VbExprStmt : VbStmt
{
    void exec(VbFrame &f) override { expr->exec(f); }
    VbExprPtr expr;
};

struct VbAssignStmt : VbStmt
{
    void exec(VbFrame &f) override;
    VbExprPtr target, value;
    bool isSet = false;
    // s = s & a & b ...: a, b ... (nodes of value), appended to s in place
    std::vector<VbExpr *> appendParts;
    bool appendInPlace(VbFrame &f);
    signed char simple = -1; // target is a plain variable (worked out on first run)
};

struct VbConstStmt : VbStmt
{
    void exec(VbFrame &f) override;
    VbNameExpr *target = nullptr; // owned by targetOwner
    VbExprPtr targetOwner, value;
};

struct VbReDimStmt : VbStmt
{
    void exec(VbFrame &f) override;
    bool preserve = false;
    struct Item { VbExprPtr target; VbExprList bounds; };
    std::vector<Item> items;
};

struct VbEraseStmt : VbStmt
{
    void exec(VbFrame &f) override;
    VbExprPtr target;
};

struct VbIfStmt : VbStmt
{
    void exec(VbFrame &f) override;
    std::vector<std::pair<VbExprPtr, VbBlock>> branches;
    VbBlock elseBlock;
};

struct VbSelectStmt : VbStmt
{
    void exec(VbFrame &f) override;
    struct Item { int kind = 0; /* 0 value, 1 range, 2 Is */ VbBinOp op = VbBinOp::Eq; VbExprPtr a, b; };
    struct Case { std::vector<Item> items; VbBlock body; };
    VbExprPtr subject;
    std::vector<Case> cases;
    bool hasElse = false;
    VbBlock elseBlock;
};

struct VbForStmt : VbStmt
{
    void exec(VbFrame &f) override;
    VbExprPtr var, from, to, step;
    VbBlock body;
};

struct VbForEachStmt : VbStmt
{
    void exec(VbFrame &f) override;
    VbExprPtr var, collection;
    VbBlock body;
};

struct VbDoStmt : VbStmt
{
    void exec(VbFrame &f) override;
    VbExprPtr cond; // may be null: Do ... Loop
    bool atTop = true;
    bool until = false;
    bool isWhileWend = false;
    VbBlock body;
};

struct VbExitStmt : VbStmt
{
    void exec(VbFrame &f) override { f.exit = kind; }
    unsigned char kind = VbFrame::ExitProc;
};

struct VbWithStmt : VbStmt
{
    void exec(VbFrame &f) override;
    VbExprPtr object;
    int slot = -1;
    VbBlock body;
};

struct VbOnErrorStmt : VbStmt
{
    void exec(VbFrame &f) override;
    bool resumeNext = false;
};

struct VbNoopStmt : VbStmt
{
    void exec(VbFrame &) override {}
};
