#include "VbParser.h"

#include "VariantOps.h"

namespace {
constexpr int MaxNesting = 200;
constexpr int MaxChain = 5000;

struct DepthGuard
{
    DepthGuard(int &d, const std::function<void()> &onOverflow) : depth(d)
    {
        if (++depth > MaxNesting)
            onOverflow();
    }
    ~DepthGuard() { --depth; }
    int &depth;
};

const VbBuiltin *builtinConstant(const QString &lower, Variant &out);
} // namespace

VbParser::VbParser(VbEngine &engine, const QString &source, Mode mode, VbFrame *context)
    : m_eng(engine), m_mode(mode), m_context(context)
{
    VbLexer lexer(source);
    m_toks = lexer.tokenize();
}

void VbParser::fail(int number) const
{
    failAt(number, tok());
}

void VbParser::failAt(int number, const VbToken &t) const
{
    throw VbSyntaxError{number, t.line, t.column};
}

void VbParser::expectKw(int kw, int err)
{
    if (!isKw(kw))
        fail(err);
    next();
}

void VbParser::expectOp(const char *op, int err)
{
    if (!isOp(op))
        fail(err);
    next();
}

QString VbParser::expectName()
{
    if (tok().kind != VbToken::Ident)
        fail(1010);
    QString n = tok().text;
    next();
    return n;
}

void VbParser::endOfStatement()
{
    if (m_singleLineIf > 0 && isKw(KwElse))
        return;
    if (tok().kind == VbToken::Newline || tok().kind == VbToken::Colon) {
        next();
        return;
    }
    if (tok().kind == VbToken::Eof)
        return;
    fail(1025);
}

void VbParser::skipSeparators()
{
    while (tok().kind == VbToken::Newline || tok().kind == VbToken::Colon)
        next();
}

std::unique_ptr<VbUnit> VbParser::parse()
{
    auto unit = std::make_unique<VbUnit>();
    m_unit = unit.get();
    unit->top = std::make_unique<VbProcedure>();
    unit->top->kind = VbProcedure::Sub;
    auto top = std::make_unique<Scope>();
    top->proc = unit->top.get();
    top->isTop = true;
    if (m_context) {
        top->cls = m_context->cls;
        unit->top->cls = m_context->cls;
    }
    m_scope = top.get();
    m_scopes.push_back(std::move(top));
    m_optionExplicit = m_eng.optionExplicit;

    if (m_mode == Expression) {
        skipSeparators();
        unit->expression = parseExpr();
        skipSeparators();
        if (tok().kind != VbToken::Eof)
            fail(1025);
    } else {
        parseTopLevel(*unit);
    }
    link(*unit);
    return unit;
}

void VbParser::parseTopLevel(VbUnit &unit)
{
    skipSeparators();
    while (tok().kind != VbToken::Eof) {
        parseStatementList(unit.top->body, true);
        if (tok().kind != VbToken::Eof) {
            // a block end at the top level
            if (isKw(KwNext))
                fail(1055);
            if (isKw(KwLoop))
                fail(1038);
            fail(1024);
        }
    }
}

bool VbParser::atBlockEnd() const
{
    if (tok().kind == VbToken::Eof)
        return true;
    if (tok().kind != VbToken::Keyword)
        return false;
    switch (tok().keyword) {
    case KwEnd: case KwElse: case KwElseIf: case KwLoop: case KwNext: case KwWend: case KwCase:
        return true;
    default:
        return false;
    }
}

void VbParser::parseStatementList(VbBlock &block, bool topLevel)
{
    DepthGuard guard(m_depth, [this] { fail(1001); });
    for (;;) {
        skipSeparators();
        if (atBlockEnd())
            return;
        const VbToken start = tok();
        // Procedures and classes belong to the global scope wherever they
        // stand outside a procedure, inside blocks too; they exist before
        // any statement runs.
        if (m_scope->isTop && (isKw(KwSub) || isKw(KwFunction))) {
            // also from Execute inside a procedure: the procedure is global
            parseProcedure(*m_unit, nullptr, true, false);
            continue;
        }
        if (m_scope->isTop && isKw(KwClass)) {
            parseClass(*m_unit);
            continue;
        }
        if (isKw(KwPublic) || isKw(KwPrivate)) {
            const bool pub = isKw(KwPublic);
            if (!m_scope->isTop)
                fail(1024);
            next();
            if (isKw(KwSub) || isKw(KwFunction)) {
                parseProcedure(*m_unit, nullptr, pub, false);
                continue;
            }
            if (!topLevel)
                fail(1024);
            if (isIdent("default"))
                fail(1057);
            if (isKw(KwConst)) {
                next();
                parseConst(block);
                endOfStatement();
                continue;
            }
            parseDim(block, pub);
            endOfStatement();
            continue;
        }
        if (isKw(KwOption)) {
            next();
            if (!isIdent("explicit"))
                fail(1002);
            next();
            m_optionExplicit = true;
            if (topLevel && m_scope->isTop && !m_context)
                m_eng.optionExplicit = true;
            endOfStatement();
            continue;
        }
        if (isKw(KwDim)) {
            next();
            parseDim(block, true);
            endOfStatement();
            continue;
        }
        if (isKw(KwConst)) {
            next();
            parseConst(block);
            endOfStatement();
            continue;
        }
        if (isKw(KwSub) || isKw(KwFunction) || isKw(KwClass) || isKw(KwProperty))
            fail(1024);
        VbStmtPtr s = parseStatement();
        if (s) {
            if (s->line == 0) {
                s->line = start.line;
                s->column = start.column;
            }
            block.push_back(std::move(s));
        }
        endOfStatement();
    }
}

VbStmtPtr VbParser::parseStatement()
{
    if (tok().kind == VbToken::Keyword) {
        switch (tok().keyword) {
        case KwIf: return parseIf();
        case KwSelect: return parseSelect();
        case KwFor: return parseFor();
        case KwDo: return parseDo();
        case KwWhile: return parseWhile();
        case KwWith: return parseWith();
        case KwExit: return parseExit();
        case KwOn: return parseOnError();
        case KwReDim: return parseReDim();
        case KwErase: return parseErase();
        case KwCall: {
            const VbToken at = tok();
            next();
            auto s = node<VbExprStmt>(at);
            // a name or member chain, or any other term: (expr).Member, New K
            if (tok().kind == VbToken::Ident || isKw(KwMe) || isOp("."))
                s->expr = parseReference();
            else
                s->expr = parsePrimary();
            if (!atStmtEnd())
                fail(1025);
            return s;
        }
        case KwSet: case KwMe:
            return parseSimple();
        default:
            fail(1024);
        }
    }
    if (tok().kind == VbToken::Ident && isIdent("stop") && !m_eng.findGlobal(QStringLiteral("stop"))) {
        const VbToken &after = peekTok();
        if (after.kind == VbToken::Newline || after.kind == VbToken::Colon || after.kind == VbToken::Eof
            || (m_singleLineIf > 0 && after.kind == VbToken::Keyword && after.keyword == KwElse)) {
            // Stop: a breakpoint for a debugger; there is none here
            const VbToken at = tok();
            next();
            return node<VbNoopStmt>(at);
        }
    }
    if (tok().kind == VbToken::Ident || isOp("."))
        return parseSimple();
    fail(1024);
}

// Assignment or call at the start of a statement.
VbStmtPtr VbParser::parseSimple()
{
    const VbToken at = tok();
    bool isSet = false;
    if (isKw(KwSet)) {
        isSet = true;
        next();
    }
    VbExprPtr target = parseReference();
    if (isOp("=")) {
        next();
        auto s = node<VbAssignStmt>(at);
        s->isSet = isSet;
        s->value = parseExpr();
        // s = s & a & b ...: the parts after the variable, appended in place
        auto *nt = dynamic_cast<VbNameExpr *>(target.get());
        if (!isSet && nt && nt->args.empty() && !nt->hasParens) {
            std::vector<VbExpr *> parts;
            VbExpr *e = s->value.get();
            while (auto *bin = dynamic_cast<VbBinaryExpr *>(e)) {
                if (bin->op != VbBinOp::Concat)
                    break;
                parts.push_back(bin->right.get());
                e = bin->left.get();
            }
            auto *ln = dynamic_cast<VbNameExpr *>(e);
            if (!parts.empty() && ln && ln->args.empty() && !ln->hasParens && ln->lower == nt->lower)
                s->appendParts.assign(parts.rbegin(), parts.rend());
        }
        s->target = std::move(target);
        return s;
    }
    if (isSet)
        fail(1011);
    // a call
    VbExprList *args = nullptr;
    bool *hasParens = nullptr;
    if (auto *n = dynamic_cast<VbNameExpr *>(target.get())) {
        args = &n->args;
        hasParens = &n->hasParens;
    } else if (auto *m = dynamic_cast<VbMemberExpr *>(target.get())) {
        args = &m->args;
        hasParens = &m->hasParens;
    } else if (!atStmtEnd()) {
        fail(1025);
    }
    if (args && !atStmtEnd()) {
        if (*hasParens) {
            // "foo (a) + 1, b": the parentheses belonged to the first argument
            if (args->size() != 1)
                fail(1044);
            VbExprPtr first = std::move(args->front());
            args->clear();
            auto paren = node<VbParen>(at);
            paren->inner = std::move(first);
            VbExprPtr arg = parseBinaryRest(std::move(paren), 0);
            args->push_back(std::move(arg));
            *hasParens = false;
            while (isOp(",")) {
                next();
                if (isOp(",") || atStmtEnd()) {
                    args->push_back(std::make_unique<VbLiteral>(Variant::missing()));
                    continue;
                }
                args->push_back(parseExpr());
            }
        } else {
            parseArgs(*args, false);
        }
    } else if (args && *hasParens && args->size() == 1) {
        // "foo(a)": the argument is passed by value
        auto paren = node<VbParen>(at);
        paren->inner = std::move(args->front());
        args->front() = std::move(paren);
    } else if (args && *hasParens && args->size() > 1) {
        // "foo(a, b)" without Call
        failAt(1044, at);
    }
    auto s = node<VbExprStmt>(at);
    s->expr = std::move(target);
    return s;
}

VbExprPtr VbParser::parseReference()
{
    const VbToken at = tok();
    VbExprPtr base;
    if (tok().kind == VbToken::Ident) {
        base = makeName(tok());
        next();
    } else if (isKw(KwMe)) {
        base = node<VbMeExpr>(at);
        next();
    } else if (isOp(".")) {
        if (m_withSlots.empty())
            fail(1002);
        next();
        if (tok().kind != VbToken::Ident && tok().kind != VbToken::Keyword)
            fail(1010);
        auto m = node<VbMemberExpr>(at);
        m->withSlot = m_withSlots.back();
        m->name = tok().text;
        m->lower = m->name.toLower();
        next();
        base = std::move(m);
    } else {
        fail(1010);
    }
    return parsePostfix(std::move(base));
}

VbExprPtr VbParser::makeName(const VbToken &t)
{
    auto n = node<VbNameExpr>(t);
    n->name = t.text;
    n->lower = t.text.toLower();
    m_scope->names.push_back(n.get());
    return n;
}

VbExprPtr VbParser::parsePostfix(VbExprPtr base)
{
    for (;;) {
        if (isOp("(")) {
            const VbToken at = tok();
            next();
            VbExprList args;
            parseArgs(args, true);
            expectOp(")", 1006);
            auto *n = dynamic_cast<VbNameExpr *>(base.get());
            auto *m = dynamic_cast<VbMemberExpr *>(base.get());
            if (n && !n->hasParens) {
                n->args = std::move(args);
                n->hasParens = true;
            } else if (m && !m->hasParens) {
                m->args = std::move(args);
                m->hasParens = true;
            } else {
                auto ix = node<VbIndexExpr>(at);
                ix->base = std::move(base);
                ix->args = std::move(args);
                base = std::move(ix);
            }
            continue;
        }
        if (isOp(".") && !tok().spaceBefore) {
            const VbToken at = tok();
            next();
            if (tok().kind != VbToken::Ident && tok().kind != VbToken::Keyword)
                fail(1010);
            auto m = node<VbMemberExpr>(at);
            m->object = std::move(base);
            m->name = tok().text;
            m->lower = m->name.toLower();
            next();
            base = std::move(m);
            continue;
        }
        return base;
    }
}

void VbParser::parseArgs(VbExprList &args, bool inParens)
{
    auto endHere = [&] { return inParens ? isOp(")") : atStmtEnd(); };
    if (endHere())
        return;
    for (;;) {
        if (isOp(",")) {
            args.push_back(std::make_unique<VbLiteral>(Variant::missing()));
        } else {
            args.push_back(parseExpr());
        }
        if (isOp(",")) {
            next();
            if (endHere()) {
                args.push_back(std::make_unique<VbLiteral>(Variant::missing()));
                return;
            }
            continue;
        }
        return;
    }
}

// ---- expressions ----

enum Prec {
    PImp = 1, PEqv, PXor, POr, PAnd, PNot, PCmp, PConcat, PAdd, PMod, PIntDiv, PMul, PNeg, PPow
};

int VbParser::binaryPrec(VbBinOp &op) const
{
    const VbToken &t = tok();
    if (t.kind == VbToken::Op) {
        const QString &s = t.text;
        if (s == QLatin1String("^")) { op = VbBinOp::Pow; return PPow; }
        if (s == QLatin1String("*")) { op = VbBinOp::Mul; return PMul; }
        if (s == QLatin1String("/")) { op = VbBinOp::Div; return PMul; }
        if (s == QLatin1String("\\")) { op = VbBinOp::IntDiv; return PIntDiv; }
        if (s == QLatin1String("+")) { op = VbBinOp::Add; return PAdd; }
        if (s == QLatin1String("-")) { op = VbBinOp::Sub; return PAdd; }
        if (s == QLatin1String("&")) { op = VbBinOp::Concat; return PConcat; }
        if (s == QLatin1String("=")) { op = VbBinOp::Eq; return PCmp; }
        if (s == QLatin1String("<>")) { op = VbBinOp::Ne; return PCmp; }
        if (s == QLatin1String("<")) { op = VbBinOp::Lt; return PCmp; }
        if (s == QLatin1String(">")) { op = VbBinOp::Gt; return PCmp; }
        if (s == QLatin1String("<=")) { op = VbBinOp::Le; return PCmp; }
        if (s == QLatin1String(">=")) { op = VbBinOp::Ge; return PCmp; }
        return 0;
    }
    if (t.kind == VbToken::Keyword) {
        switch (t.keyword) {
        case KwMod: op = VbBinOp::Mod; return PMod;
        case KwIs: op = VbBinOp::Is; return PCmp;
        case KwAnd: op = VbBinOp::And; return PAnd;
        case KwOr: op = VbBinOp::Or; return POr;
        case KwXor: op = VbBinOp::Xor; return PXor;
        case KwEqv: op = VbBinOp::Eqv; return PEqv;
        case KwImp: op = VbBinOp::Imp; return PImp;
        default: return 0;
        }
    }
    return 0;
}

VbExprPtr VbParser::parseExpr(int minPrec)
{
    DepthGuard guard(m_depth, [this] { fail(1001); });
    VbExprPtr lhs = parseUnary();
    return parseBinaryRest(std::move(lhs), minPrec);
}

VbExprPtr VbParser::parseBinaryRest(VbExprPtr lhs, int minPrec)
{
    // a long chain (1 + 1 + ... ) nests its nodes: bound it like nesting
    int chain = 0;
    for (;;) {
        if (++chain + m_depth > MaxChain)
            fail(1001);
        VbBinOp op;
        const int prec = binaryPrec(op);
        if (!prec || prec < minPrec)
            return lhs;
        const VbToken at = tok();
        next();
        VbExprPtr rhs = parseExpr(prec + 1);
        auto b = node<VbBinaryExpr>(at);
        b->op = op;
        b->left = std::move(lhs);
        b->right = std::move(rhs);
        lhs = std::move(b);
    }
}

VbExprPtr VbParser::parseUnary()
{
    DepthGuard guard(m_depth, [this] { fail(1001); });
    const VbToken at = tok();
    if (isKw(KwNot)) {
        next();
        auto u = node<VbUnaryExpr>(at);
        u->isNot = true;
        u->operand = parseExpr(PCmp);
        return u;
    }
    if (isOp("-")) {
        next();
        auto u = node<VbUnaryExpr>(at);
        u->operand = parseExpr(PPow);
        return u;
    }
    if (isOp("+")) {
        next();
        return parseExpr(PPow);
    }
    return parsePrimary();
}

VbExprPtr VbParser::parsePrimary()
{
    const VbToken at = tok();
    switch (tok().kind) {
    case VbToken::Number:
    case VbToken::DateLit: {
        auto l = std::make_unique<VbLiteral>(tok().value);
        l->line = at.line;
        l->column = at.column;
        next();
        return l;
    }
    case VbToken::String: {
        auto l = std::make_unique<VbLiteral>(Variant::fromString(tok().text));
        l->line = at.line;
        l->column = at.column;
        next();
        return l;
    }
    case VbToken::Ident:
        return parseReference();
    case VbToken::Keyword:
        switch (tok().keyword) {
        case KwTrue: next(); return std::make_unique<VbLiteral>(Variant::fromBool(true));
        case KwFalse: next(); return std::make_unique<VbLiteral>(Variant::fromBool(false));
        case KwEmpty: next(); return std::make_unique<VbLiteral>(Variant());
        case KwNull: next(); return std::make_unique<VbLiteral>(Variant::null());
        case KwNothing: next(); return std::make_unique<VbLiteral>(Variant::nothing());
        case KwMe: return parseReference();
        case KwNew: {
            next();
            auto n = node<VbNewExpr>(at);
            n->name = expectName();
            return n;
        }
        default:
            fail(1023);
        }
    case VbToken::Op:
        if (isOp("(")) {
            next();
            auto p = node<VbParen>(at);
            p->inner = parseExpr();
            expectOp(")", 1006);
            return parsePostfix(std::move(p));
        }
        if (isOp("."))
            return parseReference();
        fail(1023);
    default:
        fail(1023);
    }
}

// ---- statements ----

VbStmtPtr VbParser::parseIf()
{
    const VbToken at = tok();
    next();
    auto s = node<VbIfStmt>(at);
    VbExprPtr cond = parseExpr();
    expectKw(KwThen, 1017);
    if (tok().kind != VbToken::Newline && tok().kind != VbToken::Colon && tok().kind != VbToken::Eof) {
        // single-line If
        ++m_singleLineIf;
        VbBlock thenBlock;
        auto parseLine = [&](VbBlock &block) {
            for (;;) {
                const VbToken st = tok();
                if (isKw(KwConst) || isKw(KwDim)) {
                    const bool isConst = isKw(KwConst);
                    next();
                    if (isConst)
                        parseConst(block);
                    else
                        parseDim(block, true);
                } else {
                    VbStmtPtr stmt = parseStatement();
                    if (stmt->line == 0) {
                        stmt->line = st.line;
                        stmt->column = st.column;
                    }
                    block.push_back(std::move(stmt));
                }
                if (tok().kind == VbToken::Colon) {
                    next();
                    if (tok().kind == VbToken::Newline || tok().kind == VbToken::Eof || isKw(KwElse))
                        break;
                    continue;
                }
                break;
            }
        };
        parseLine(thenBlock);
        s->branches.emplace_back(std::move(cond), std::move(thenBlock));
        if (isKw(KwElse)) {
            next();
            if (!atStmtEnd() || tok().kind == VbToken::Colon)
                parseLine(s->elseBlock);
        }
        if (isKw(KwEnd) && peekTok().kind == VbToken::Keyword && peekTok().keyword == KwIf) {
            next();
            next();
        }
        --m_singleLineIf;
        if (!(tok().kind == VbToken::Newline || tok().kind == VbToken::Eof || tok().kind == VbToken::Colon))
            fail(1025);
        return s;
    }
    const int saved = m_singleLineIf;
    m_singleLineIf = 0;
    VbBlock body;
    parseStatementList(body, false);
    s->branches.emplace_back(std::move(cond), std::move(body));
    for (;;) {
        if (isKw(KwElseIf)) {
            next();
            VbExprPtr c = parseExpr();
            expectKw(KwThen, 1017);
            VbBlock b;
            parseStatementList(b, false);
            s->branches.emplace_back(std::move(c), std::move(b));
            continue;
        }
        if (isKw(KwElse)) {
            next();
            parseStatementList(s->elseBlock, false);
        }
        break;
    }
    expectKw(KwEnd, 1014);
    expectKw(KwIf, 1012);
    m_singleLineIf = saved;
    return s;
}

VbStmtPtr VbParser::parseSelect()
{
    const VbToken at = tok();
    next();
    expectKw(KwCase, 1021);
    auto s = node<VbSelectStmt>(at);
    s->subject = parseExpr();
    endOfStatement();
    const int saved = m_singleLineIf;
    m_singleLineIf = 0;
    skipSeparators();
    while (isKw(KwCase)) {
        next();
        if (isKw(KwElse)) {
            next();
            s->hasElse = true;
            parseStatementList(s->elseBlock, false);
            break;
        }
        VbSelectStmt::Case c;
        for (;;) {
            VbSelectStmt::Item item;
            if (isKw(KwIs)) {
                next();
                VbBinOp op;
                if (binaryPrec(op) != PCmp || op == VbBinOp::Is)
                    fail(1002);
                next();
                item.kind = 2;
                item.op = op;
                item.a = parseExpr();
            } else {
                item.a = parseExpr();
                if (isKw(KwTo)) {
                    next();
                    item.kind = 1;
                    item.b = parseExpr();
                }
            }
            c.items.push_back(std::move(item));
            if (!isOp(","))
                break;
            next();
        }
        parseStatementList(c.body, false);
        s->cases.push_back(std::move(c));
    }
    expectKw(KwEnd, 1014);
    expectKw(KwSelect, 1022);
    m_singleLineIf = saved;
    return s;
}

VbStmtPtr VbParser::parseFor()
{
    const VbToken at = tok();
    next();
    const int saved = m_singleLineIf;
    if (isKw(KwEach)) {
        next();
        auto s = node<VbForEachStmt>(at);
        if (tok().kind != VbToken::Ident)
            fail(1010);
        s->var = makeName(tok());
        next();
        expectKw(KwIn, 1046);
        s->collection = parseExpr();
        m_singleLineIf = 0;
        ++m_loopDepthFor;
        parseStatementList(s->body, false);
        --m_loopDepthFor;
        expectKw(KwNext, 1020);
        if (tok().kind == VbToken::Ident)
            next();
        m_singleLineIf = saved;
        return s;
    }
    auto s = node<VbForStmt>(at);
    if (tok().kind != VbToken::Ident)
        fail(1040);
    s->var = makeName(tok());
    next();
    expectOp("=", 1011);
    s->from = parseExpr();
    expectKw(KwTo, 1013);
    s->to = parseExpr();
    if (isIdent("step")) {
        next();
        s->step = parseExpr();
    }
    m_singleLineIf = 0;
    ++m_loopDepthFor;
    parseStatementList(s->body, false);
    --m_loopDepthFor;
    expectKw(KwNext, 1020);
    if (tok().kind == VbToken::Ident) {
        next();
        // "Next i, j" closes two loops: not supported by the language either
    }
    m_singleLineIf = saved;
    return s;
}

VbStmtPtr VbParser::parseDo()
{
    const VbToken at = tok();
    next();
    auto s = node<VbDoStmt>(at);
    if (isKw(KwWhile) || isKw(KwUntil)) {
        s->until = isKw(KwUntil);
        next();
        s->cond = parseExpr();
        s->atTop = true;
    }
    const int saved = m_singleLineIf;
    m_singleLineIf = 0;
    ++m_loopDepthDo;
    parseStatementList(s->body, false);
    --m_loopDepthDo;
    expectKw(KwLoop, 1019);
    if (isKw(KwWhile) || isKw(KwUntil)) {
        if (s->cond)
            fail(1025);
        s->until = isKw(KwUntil);
        next();
        s->cond = parseExpr();
        s->atTop = false;
    }
    m_singleLineIf = saved;
    return s;
}

VbStmtPtr VbParser::parseWhile()
{
    const VbToken at = tok();
    next();
    auto s = node<VbDoStmt>(at);
    s->cond = parseExpr();
    s->isWhileWend = true;
    const int saved = m_singleLineIf;
    m_singleLineIf = 0;
    parseStatementList(s->body, false);
    expectKw(KwWend, 1018);
    m_singleLineIf = saved;
    return s;
}

VbStmtPtr VbParser::parseWith()
{
    const VbToken at = tok();
    next();
    auto s = node<VbWithStmt>(at);
    s->object = parseExpr();
    s->slot = newSlot(m_scope->proc);
    const int saved = m_singleLineIf;
    m_singleLineIf = 0;
    m_withSlots.push_back(s->slot);
    parseStatementList(s->body, false);
    m_withSlots.pop_back();
    expectKw(KwEnd, 1014);
    expectKw(KwWith, 1029);
    m_singleLineIf = saved;
    return s;
}

VbStmtPtr VbParser::parseExit()
{
    const VbToken at = tok();
    next();
    auto s = node<VbExitStmt>(at);
    VbProcedure *p = m_scope->proc;
    const bool inProc = !m_scope->isTop;
    if (isKw(KwDo)) {
        if (!m_loopDepthDo)
            fail(1039);
        s->kind = VbFrame::ExitDo;
    } else if (isKw(KwFor)) {
        if (!m_loopDepthFor)
            fail(1039);
        s->kind = VbFrame::ExitFor;
    } else if (isKw(KwSub)) {
        if (!inProc || p->kind != VbProcedure::Sub)
            fail(1039);
    } else if (isKw(KwFunction)) {
        if (!inProc || p->kind != VbProcedure::Function)
            fail(1039);
    } else if (isKw(KwProperty)) {
        if (!inProc || p->kind < VbProcedure::PropertyGet)
            fail(1039);
    } else {
        fail(1039);
    }
    next();
    return s;
}

VbStmtPtr VbParser::parseOnError()
{
    const VbToken at = tok();
    next();
    if (!isIdent("error"))
        fail(1002);
    next();
    auto s = node<VbOnErrorStmt>(at);
    if (isIdent("resume")) {
        next();
        if (!isKw(KwNext))
            fail(1002);
        next();
        s->resumeNext = true;
        return s;
    }
    if (isKw(KwGoTo)) {
        next();
        if (tok().kind != VbToken::Number || tok().value.toDouble() != 0)
            fail(1002);
        next();
        return s;
    }
    fail(1002);
}

VbStmtPtr VbParser::parseReDim()
{
    const VbToken at = tok();
    next();
    auto s = node<VbReDimStmt>(at);
    if (isIdent("preserve")) {
        s->preserve = true;
        next();
    }
    for (;;) {
        if (tok().kind != VbToken::Ident)
            fail(1010);
        VbReDimStmt::Item item;
        const VbToken nameTok = tok();
        next();
        item.target = makeName(nameTok);
        expectOp("(", 1005);
        for (;;) {
            item.bounds.push_back(parseExpr());
            if (!isOp(","))
                break;
            next();
        }
        expectOp(")", 1006);
        s->items.push_back(std::move(item));
        if (!isOp(","))
            break;
        next();
    }
    return s;
}

VbStmtPtr VbParser::parseErase()
{
    const VbToken at = tok();
    next();
    auto s = node<VbEraseStmt>(at);
    if (tok().kind != VbToken::Ident)
        fail(1010);
    s->target = makeName(tok());
    next();
    return s;
}

void VbParser::declareGlobalName(const QString &lower, const VbToken &at)
{
    // one unit may not define a name twice in its global scope: variables,
    // constants, procedures and classes share it
    if (m_globalNames.contains(lower))
        failAt(1041, at);
    m_globalNames.insert(lower);
}

void VbParser::declareVariable(const QString &name, const std::vector<int> &upper, bool isArray,
                               bool isPublic, const VbToken &at)
{
    const QString lower = name.toLower();
    Scope &sc = *m_scope;
    if (sc.isTop && !m_context) {
        declareGlobalName(lower, at);
        VbNameExpr *n = static_cast<VbNameExpr *>(makeName(at).release());
        m_unit->keep.emplace_back(n);
        sc.dimmed.push_back(n);
        if (isArray) {
            VbArrayDecl d;
            d.upper = upper;
            d.slot = -2 - int(sc.dimmed.size() - 1); // resolved to a global cell at link time
            if (upper.empty())
                d.field = -2; // dynamic
            m_unit->top->arrays.push_back(d);
        }
        return;
    }
    if (sc.isTop && m_context) {
        // Execute inside a procedure: new names become globals
        Variant *cell = m_eng.globalCell(lower, true);
        if (isArray) {
            VbArrayDecl d;
            d.global = cell;
            d.upper = upper;
            if (upper.empty())
                d.field = -2;
            m_unit->top->arrays.push_back(d);
        }
        return;
    }
    VbProcedure *p = sc.proc;
    if (p->locals.contains(lower))
        failAt(1041, at);
    const int slot = newSlot(p);
    p->locals.insert(lower, slot);
    if (isArray) {
        VbArrayDecl d;
        d.slot = slot;
        d.upper = upper;
        if (upper.empty())
            d.field = -2;
        p->arrays.push_back(d);
    }
    Q_UNUSED(isPublic);
}

void VbParser::parseDim(VbBlock &, bool isPublic)
{
    for (;;) {
        if (tok().kind != VbToken::Ident)
            fail(1010);
        const VbToken at = tok();
        const QString name = tok().text;
        next();
        std::vector<int> upper;
        bool isArray = false;
        if (isOp("(")) {
            next();
            isArray = true;
            if (!isOp(")")) {
                for (;;) {
                    if (tok().kind != VbToken::Number)
                        fail(1026);
                    const double d = tok().value.toDouble();
                    if (d < 0 || d > 1e8 || d != std::floor(d))
                        fail(1026);
                    upper.push_back(int(d));
                    next();
                    if (!isOp(","))
                        break;
                    next();
                }
            }
            expectOp(")", 1006);
        }
        declareVariable(name, upper, isArray, isPublic, at);
        if (!isOp(","))
            return;
        next();
    }
}

void VbParser::parseConst(VbBlock &block)
{
    for (;;) {
        if (tok().kind != VbToken::Ident)
            fail(1010);
        const VbToken at = tok();
        const QString name = tok().text;
        next();
        expectOp("=", 1011);
        VbExprPtr value = parseExpr();
        declareVariable(name, {}, false, true, at);
        auto s = node<VbConstStmt>(at);
        s->targetOwner = makeName(at);
        s->target = static_cast<VbNameExpr *>(s->targetOwner.get());
        s->value = std::move(value);
        m_scope->consts.insert(name.toLower(), s.get());
        block.push_back(std::move(s));
        if (!isOp(","))
            return;
        next();
    }
}

void VbParser::parseProcedure(VbUnit &unit, VbClassDef *cls, bool isPublic, bool isDefault)
{
    const VbToken at = tok();
    auto p = std::make_unique<VbProcedure>();
    p->isPublic = isPublic;
    p->isDefault = isDefault;
    p->cls = cls;
    p->line = at.line;
    int endKw = KwSub;
    if (isKw(KwSub)) {
        p->kind = VbProcedure::Sub;
    } else if (isKw(KwFunction)) {
        p->kind = VbProcedure::Function;
        endKw = KwFunction;
    } else if (isKw(KwProperty)) {
        if (!cls)
            fail(1048);
        endKw = KwProperty;
        next();
        if (isIdent("get"))
            p->kind = VbProcedure::PropertyGet;
        else if (isIdent("let"))
            p->kind = VbProcedure::PropertyLet;
        else if (isKw(KwSet))
            p->kind = VbProcedure::PropertySet;
        else
            fail(1049);
    } else {
        fail(1024);
    }
    next();
    const VbToken nameTok = tok();
    p->name = expectName();
    if (!cls)
        declareGlobalName(p->name.toLower(), nameTok);
    if (isDefault && p->kind != VbProcedure::PropertyGet && p->kind != VbProcedure::Function && p->kind != VbProcedure::Sub)
        fail(1058);
    if (isOp("(")) {
        next();
        if (!isOp(")")) {
            for (;;) {
                VbParam prm;
                if (isKw(KwByVal)) {
                    prm.byRef = false;
                    next();
                } else if (isKw(KwByRef)) {
                    next();
                }
                prm.name = expectName();
                if (isOp("(")) {
                    next();
                    expectOp(")", 1006);
                    prm.isArray = true;
                }
                const QString lower = prm.name.toLower();
                if (p->locals.contains(lower))
                    fail(1041);
                p->locals.insert(lower, p->slotCount++);
                p->params.push_back(prm);
                if (!isOp(","))
                    break;
                next();
            }
        }
        expectOp(")", 1006);
    }
    if ((p->kind == VbProcedure::PropertyLet || p->kind == VbProcedure::PropertySet) && p->params.empty())
        fail(1054);
    auto scope = std::make_unique<Scope>();
    scope->proc = p.get();
    scope->cls = cls;
    Scope *saved = m_scope;
    m_scope = scope.get();
    m_scopes.push_back(std::move(scope));
    const int savedDo = m_loopDepthDo, savedFor = m_loopDepthFor;
    m_loopDepthDo = m_loopDepthFor = 0;
    std::vector<int> savedWith;
    savedWith.swap(m_withSlots);
    parseStatementList(p->body, false);
    m_withSlots.swap(savedWith);
    m_loopDepthDo = savedDo;
    m_loopDepthFor = savedFor;
    m_scope = saved;
    expectKw(KwEnd, 1014);
    if (!isKw(endKw))
        fail(endKw == KwSub ? 1016 : endKw == KwFunction ? 1015 : 1050);
    next();

    const QString lower = p->name.toLower();
    if (cls) {
        if (lower == QLatin1String("class_initialize") && p->kind == VbProcedure::Sub) {
            if (!p->params.empty())
                failAt(1053, at);
            cls->initialize = p.get();
        } else if (lower == QLatin1String("class_terminate") && p->kind == VbProcedure::Sub) {
            if (!p->params.empty())
                failAt(1053, at);
            cls->terminate = p.get();
        }
        VbClassMember &m = cls->members[lower];
        if (m.field >= 0)
            failAt(1041, at);
        switch (p->kind) {
        case VbProcedure::Sub: case VbProcedure::Function:
            if (m.method || m.get || m.let || m.set)
                failAt(1041, at);
            m.method = p.get();
            break;
        case VbProcedure::PropertyGet:
            if (m.method || m.get) failAt(1041, at);
            m.get = p.get();
            break;
        case VbProcedure::PropertyLet:
            if (m.method || m.let) failAt(1041, at);
            m.let = p.get();
            break;
        case VbProcedure::PropertySet:
            if (m.method || m.set) failAt(1041, at);
            m.set = p.get();
            break;
        }
        m.isPublic = isPublic;
        if (isDefault) {
            if (!cls->defaultMember.isEmpty() && cls->defaultMember != lower)
                failAt(1052, at);
            if (!isPublic)
                failAt(1057, at);
            cls->defaultMember = lower;
        }
        cls->procs.push_back(std::move(p));
    } else {
        unit.procs.push_back(std::move(p));
    }
}

void VbParser::parseClass(VbUnit &unit)
{
    next();
    auto cls = std::make_unique<VbClassDef>();
    const VbToken nameTok = tok();
    cls->name = expectName();
    declareGlobalName(cls->name.toLower(), nameTok);
    endOfStatement();
    for (;;) {
        skipSeparators();
        if (isKw(KwEnd))
            break;
        if (tok().kind == VbToken::Eof)
            fail(1014);
        bool isPublic = true;
        bool isDefault = false;
        bool hadAccess = false;
        if (isKw(KwPublic) || isKw(KwPrivate)) {
            isPublic = isKw(KwPublic);
            hadAccess = true;
            next();
            if (isIdent("default")) {
                if (!isPublic)
                    fail(1057);
                isDefault = true;
                next();
            }
        }
        if (isKw(KwSub) || isKw(KwFunction) || isKw(KwProperty)) {
            parseProcedure(unit, cls.get(), isPublic, isDefault);
            endOfStatement();
            continue;
        }
        if (isDefault)
            fail(1056);
        if (isKw(KwDim)) {
            next();
        } else if (!hadAccess) {
            if (isKw(KwConst))
                fail(1048);
            fail(1024);
        }
        // fields
        for (;;) {
            const VbToken at = tok();
            const QString name = expectName();
            const QString lower = name.toLower();
            if (cls->members.contains(lower))
                failAt(1041, at);
            VbClassMember m;
            m.field = int(cls->fieldNames.size());
            m.isPublic = isPublic;
            cls->fieldNames.push_back(name);
            if (isOp("(")) {
                next();
                VbArrayDecl d;
                d.field = m.field;
                d.slot = -1;
                if (!isOp(")")) {
                    for (;;) {
                        if (tok().kind != VbToken::Number)
                            fail(1026);
                        d.upper.push_back(tok().value.toInteger());
                        next();
                        if (!isOp(","))
                            break;
                        next();
                    }
                } else {
                    d.slot = -3; // dynamic
                }
                expectOp(")", 1006);
                cls->fieldArrays.push_back(d);
            }
            cls->members.insert(lower, m);
            if (!isOp(","))
                break;
            next();
        }
        endOfStatement();
    }
    next();
    expectKw(KwClass, 1047);
    unit.classes.push_back(std::move(cls));
}

// ---- linking ----

void VbParser::link(VbUnit &unit)
{
    // globals declared by this unit come first, so that every name sees them
    Scope &top = *m_scopes.front();
    std::vector<Variant *> dimCells;
    for (VbNameExpr *n : top.dimmed)
        dimCells.push_back(m_eng.globalCell(n->lower, true));
    if (!m_context) {
        for (auto it = top.consts.constBegin(); it != top.consts.constEnd(); ++it) {
            auto g = m_eng.m_globals.find(it.key());
            if (g != m_eng.m_globals.end())
                g->kind = VbEngine::GlobalSym::Const;
        }
    }
    for (VbArrayDecl &d : unit.top->arrays) {
        if (d.slot <= -2) {
            d.global = dimCells[size_t(-2 - d.slot)];
            d.slot = -1;
        }
    }
    for (auto &p : unit.procs) {
        VbEngine::GlobalSym sym;
        sym.kind = VbEngine::GlobalSym::Proc;
        sym.proc = p.get();
        sym.name = p->name;
        m_eng.m_globals.insert(p->name.toLower(), sym);
    }
    for (auto &c : unit.classes) {
        VbEngine::GlobalSym sym;
        sym.kind = VbEngine::GlobalSym::Class;
        sym.cls = c.get();
        sym.name = c->name;
        m_eng.m_globals.insert(c->name.toLower(), sym);
    }
    ++m_eng.m_generation;
    for (auto &scope : m_scopes) {
        for (VbNameExpr *n : scope->names)
            linkName(n, *scope);
    }
    // constants of the global scope hold their value before any line runs,
    // also those inside blocks that never run
    if (!m_context) {
        VbFrame f;
        f.eng = &m_eng;
        for (VbConstStmt *c : top.consts) {
            if (!c->value->isConstant() || c->target->kind != VbNameExpr::Global)
                continue;
            try {
                *c->target->cell = c->value->eval(f);
            } catch (const ScriptException &) {
                // reported when the line runs
            }
        }
    }
}

void VbParser::linkName(VbNameExpr *n, Scope &scope)
{
    const QString &lower = n->lower;
    VbProcedure *p = scope.proc;
    const bool noArgs = n->args.empty() && !n->hasParens;
    if (!scope.isTop) {
        // a constant of the procedure with a constant value is that value
        // everywhere in the procedure, also before its line
        auto c = scope.consts.constFind(lower);
        if (c != scope.consts.constEnd() && noArgs && c.value()->value->isConstant()) {
            try {
                VbFrame f;
                f.eng = &m_eng;
                n->constant = c.value()->value->eval(f);
                n->kind = VbNameExpr::Constant;
                return;
            } catch (const ScriptException &) {
                // reported when the line runs
            }
        }
        if ((p->kind == VbProcedure::Function || p->kind == VbProcedure::PropertyGet)
            && lower == p->name.toLower() && noArgs) {
            n->kind = VbNameExpr::Local;
            n->slot = 0;
            return;
        }
        auto it = p->locals.constFind(lower);
        if (it != p->locals.constEnd()) {
            n->kind = VbNameExpr::Local;
            n->slot = it.value();
            return;
        }
    } else if (m_context && m_context->proc) {
        auto it = m_context->proc->locals.constFind(lower);
        if (it != m_context->proc->locals.constEnd()) {
            n->kind = VbNameExpr::OuterLocal;
            n->slot = it.value();
            return;
        }
        if ((m_context->proc->kind == VbProcedure::Function || m_context->proc->kind == VbProcedure::PropertyGet)
            && lower == m_context->proc->name.toLower() && noArgs) {
            n->kind = VbNameExpr::OuterLocal;
            n->slot = 0;
            return;
        }
    }
    if (scope.cls) {
        auto it = scope.cls->members.constFind(lower);
        if (it != scope.cls->members.constEnd()) {
            n->member = it.value();
            n->kind = it->field >= 0 ? VbNameExpr::Field : VbNameExpr::Member;
            n->slot = it->field;
            return;
        }
    }
    if (const VbEngine::GlobalSym *g = m_eng.findGlobal(lower)) {
        switch (g->kind) {
        case VbEngine::GlobalSym::Var:
        case VbEngine::GlobalSym::HostObject:
            n->kind = VbNameExpr::Global;
            n->cell = g->cell;
            return;
        case VbEngine::GlobalSym::Const:
            n->kind = VbNameExpr::Global;
            n->cell = g->cell;
            n->readOnly = true;
            return;
        case VbEngine::GlobalSym::Proc:
            n->kind = VbNameExpr::Proc;
            n->proc = g->proc;
            return;
        case VbEngine::GlobalSym::Class:
            break;
        }
    }
    if (const VbBuiltin *b = VbEngine::builtin(lower)) {
        n->kind = VbNameExpr::Builtin;
        n->builtin = b;
        return;
    }
    Variant c;
    if (builtinConstant(lower, c)) {
        n->kind = VbNameExpr::Constant;
        n->constant = c;
        return;
    }
    n->kind = VbNameExpr::Dynamic;
    n->topLevel = scope.isTop;
    n->explicitNames = m_optionExplicit;
    if (!scope.isTop && !m_optionExplicit) {
        // an undeclared name inside a procedure is a local unless a global of that name exists when it runs
        auto it = p->locals.constFind(QLatin1Char('\x01') + lower);
        if (it != p->locals.constEnd()) {
            n->implicitSlot = it.value();
        } else {
            n->implicitSlot = p->slotCount++;
            p->locals.insert(QLatin1Char('\x01') + lower, n->implicitSlot);
        }
    }
}

namespace {

const VbBuiltin *builtinConstant(const QString &lower, Variant &out)
{
    static const QHash<QString, Variant> constants = [] {
        QHash<QString, Variant> c;
        // the enumerations are Integers; colours, the later message-box
        // flags and vbObjectError are Longs
        auto i = [&](const char *n, int v) { c.insert(QString::fromLatin1(n), Variant::fromInteger(v)); };
        auto l = [&](const char *n, std::int32_t v) { c.insert(QString::fromLatin1(n), Variant::fromLong(v)); };
        auto s = [&](const char *n, const QString &v) { c.insert(QString::fromLatin1(n), Variant::fromString(v)); };
        s("vbcrlf", QStringLiteral("\r\n"));
        s("vbcr", QStringLiteral("\r"));
        s("vblf", QStringLiteral("\n"));
        s("vbnewline", QStringLiteral("\r\n"));
        s("vbtab", QStringLiteral("\t"));
        s("vbnullchar", QString(QChar(0)));
        s("vbnullstring", QString());
        s("vbformfeed", QStringLiteral("\f"));
        s("vbverticaltab", QStringLiteral("\v"));
        i("vbbinarycompare", 0); i("vbtextcompare", 1); i("vbdatabasecompare", 2);
        i("vbokonly", 0); i("vbokcancel", 1); i("vbabortretryignore", 2); i("vbyesnocancel", 3);
        i("vbyesno", 4); i("vbretrycancel", 5); i("vbcritical", 16); i("vbquestion", 32);
        i("vbexclamation", 48); i("vbinformation", 64); i("vbdefaultbutton1", 0);
        i("vbdefaultbutton2", 256); i("vbdefaultbutton3", 512); i("vbdefaultbutton4", 768);
        i("vbapplicationmodal", 0); i("vbsystemmodal", 4096);
        l("vbmsgboxhelpbutton", 16384); l("vbmsgboxsetforeground", 65536); l("vbmsgboxright", 524288);
        l("vbmsgboxrtlreading", 1048576);
        i("vbok", 1); i("vbcancel", 2); i("vbabort", 3); i("vbretry", 4); i("vbignore", 5);
        i("vbyes", 6); i("vbno", 7);
        i("vbsunday", 1); i("vbmonday", 2); i("vbtuesday", 3); i("vbwednesday", 4);
        i("vbthursday", 5); i("vbfriday", 6); i("vbsaturday", 7);
        i("vbusesystem", 0); i("vbusesystemdayofweek", 0); i("vbfirstjan1", 1); i("vbfirstfourdays", 2);
        i("vbfirstfullweek", 3);
        i("vbgeneraldate", 0); i("vblongdate", 1); i("vbshortdate", 2); i("vblongtime", 3); i("vbshorttime", 4);
        i("vbempty", 0); i("vbnull", 1); i("vbinteger", 2); i("vblong", 3); i("vbsingle", 4);
        i("vbdouble", 5); i("vbcurrency", 6); i("vbdate", 7); i("vbstring", 8); i("vbobject", 9);
        i("vberror", 10); i("vbboolean", 11); i("vbvariant", 12); i("vbdataobject", 13);
        i("vbdecimal", 14); i("vbbyte", 17); i("vbarray", 8192);
        i("vbusedefault", -2); i("vbtrue", -1); i("vbfalse", 0);
        l("vbobjecterror", std::int32_t(0x80040000u));
        l("vbblack", 0); l("vbred", 0xFF); l("vbgreen", 0xFF00); l("vbyellow", 0xFFFF);
        l("vbblue", 0xFF0000); l("vbmagenta", 0xFF00FF); l("vbcyan", 0xFFFF00); l("vbwhite", 0xFFFFFF);
        return c;
    }();
    auto it = constants.constFind(lower);
    if (it == constants.constEnd())
        return nullptr;
    out = it.value();
    static const VbBuiltin marker{"", nullptr, 0, 0};
    return &marker;
}

} // namespace
