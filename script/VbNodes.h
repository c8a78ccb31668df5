#pragma once

#include "Variant.h"

#include <QHash>
#include <QString>

#include <memory>
#include <vector>

// The compiled form of VBScript: a tree of expression and statement nodes
// whose names are resolved to storage (local slots, global cells, class
// fields) once a unit has been parsed, so that running code never looks a
// variable up by name.

class VbEngine;
class VbInstance;
struct VbProcedure;
struct VbClassDef;
struct VbExpr;
struct VbStmt;

using VbBuiltinFn = Variant (*)(VbEngine &eng, Variant *args, int argc);

struct VbBuiltin
{
    const char *name;
    VbBuiltinFn fn;
    int minArgs;
    int maxArgs;
    // The conversions (CStr, CInt ...) give a value only: called as a
    // statement they fail with 458.
    bool valueOnly = false;
};

// One running procedure (or the top-level code of a unit).
struct VbFrame
{
    VbEngine *eng = nullptr;
    Variant *locals = nullptr;
    Variant *outerLocals = nullptr; // Execute / Eval: the calling procedure's variables
    VbInstance *me = nullptr;
    VbProcedure *proc = nullptr;
    VbClassDef *cls = nullptr; // class whose private members are visible
    bool resumeNext = false;
    enum Exit : unsigned char { None, ExitDo, ExitFor, ExitProc };
    unsigned char exit = None;
};

// Arrays whose elements are bound to ByRef parameters of one call; released
// when the call returns.
struct VbArrayLocks
{
    ScriptArray *arrays[8];
    int count = 0;
    std::unique_ptr<std::vector<ScriptArray *>> more;
    void add(ScriptArray *a);
    ~VbArrayLocks()
    {
        if (count)
            releaseAll();
    }
    void releaseAll();
};

struct VbExpr
{
    int line = 0;
    int column = 0;
    virtual ~VbExpr() = default;
    virtual Variant eval(VbFrame &f) = 0;
    // The variable or array element the expression names, for ByRef passing
    // and in-place updates; null when it is a value.
    virtual Variant *ref(VbFrame &, VbArrayLocks *) { return nullptr; }
    // The value without a copy, when the expression is a plain variable or a
    // literal (reading it has no side effects); null otherwise.
    virtual const Variant *peek(VbFrame &) { return nullptr; }
    // Assignment target: Let (isSet false) or Set.
    virtual void assign(VbFrame &f, Variant &&value, bool isSet);
    // Statement call: the value is not needed (Subs are allowed).
    virtual void exec(VbFrame &f) { eval(f); }
    virtual bool isConstant() const { return false; }
};

using VbExprPtr = std::unique_ptr<VbExpr>;
using VbExprList = std::vector<VbExprPtr>;

struct VbStmt
{
    int line = 0;
    int column = 0;
    virtual ~VbStmt() = default;
    virtual void exec(VbFrame &f) = 0;
};

using VbStmtPtr = std::unique_ptr<VbStmt>;
using VbBlock = std::vector<VbStmtPtr>;

// Runs the statements of a block; with On Error Resume Next a failing
// statement records the error and the block goes on with the next one.
void vbExecBlock(VbFrame &f, const VbBlock &block);

struct VbParam
{
    QString name;
    bool byRef = true;
    bool isArray = false; // declared "a()"
};

struct VbArrayDecl
{
    int slot = -1;           // local slot, or -1 for a global / field
    Variant *global = nullptr;
    int field = -1;
    std::vector<int> upper;  // Dim a(2, 3): {2, 3}
};

struct VbProcedure
{
    enum Kind { Sub, Function, PropertyGet, PropertyLet, PropertySet };
    QString name;
    Kind kind = Sub;
    bool isPublic = true;
    bool isDefault = false;
    std::vector<VbParam> params;
    int slotCount = 1;              // slot 0: the return value; then parameters, then locals
    QHash<QString, int> locals;     // lower-case name -> slot (parameters included)
    VbBlock body;
    std::vector<VbArrayDecl> arrays; // Dim a(n) of the procedure
    VbClassDef *cls = nullptr;
    int line = 0;
};

struct VbClassMember
{
    VbProcedure *method = nullptr; // Sub / Function
    VbProcedure *get = nullptr;
    VbProcedure *let = nullptr;
    VbProcedure *set = nullptr;
    int field = -1;                // public/private variable
    bool isPublic = true;
};

struct VbClassDef
{
    QString name;
    QHash<QString, VbClassMember> members; // lower-case name
    std::vector<QString> fieldNames;
    std::vector<VbArrayDecl> fieldArrays;
    QString defaultMember;                 // lower-case name, empty when none
    VbProcedure *initialize = nullptr;
    VbProcedure *terminate = nullptr;
    std::vector<std::unique_ptr<VbProcedure>> procs;
};

// A parsed and linked piece of code (one AddCode, Execute or Eval).
struct VbUnit
{
    std::unique_ptr<VbProcedure> top;                  // top-level statements
    std::vector<std::unique_ptr<VbProcedure>> procs;   // global Subs / Functions
    std::vector<std::unique_ptr<VbClassDef>> classes;
    VbExprPtr expression;                              // Eval: the expression
    std::vector<std::unique_ptr<VbExpr>> keep;         // nodes owned elsewhere
};

// Sequence of a For loop's own exit; With blocks keep their object in a slot.
enum class VbBinOp {
    Pow, Mul, Div, IntDiv, Mod, Add, Sub, Concat,
    Eq, Ne, Lt, Gt, Le, Ge, Is,
    And, Or, Xor, Eqv, Imp
};
