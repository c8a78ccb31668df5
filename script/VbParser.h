#pragma once

#include "VbLexer.h"
#include "VbNodeTypes.h"

#include <QSet>

#include <memory>
#include <vector>

// Parses VBScript text into a unit and resolves its names against the
// engine's globals. Throws VbSyntaxError (number, line, column) before
// anything of the unit runs.
class VbParser
{
public:
    enum Mode { Code, Expression };

    // context: for Execute / Eval from a running procedure, the frame whose
    // locals and class members the new code sees.
    VbParser(VbEngine &engine, const QString &source, Mode mode, VbFrame *context = nullptr);
    std::unique_ptr<VbUnit> parse();

private:
    struct Scope
    {
        VbProcedure *proc = nullptr;
        VbClassDef *cls = nullptr;
        bool isTop = false;
        std::vector<VbNameExpr *> names;
        std::vector<VbNameExpr *> dimmed; // top level: declared globals
        QHash<QString, VbConstStmt *> consts; // lower-case name
    };

    // tokens
    const VbToken &tok() const { return m_toks[m_pos]; }
    const VbToken &peekTok(int n = 1) const
    {
        const size_t p = std::min(m_pos + size_t(n), m_toks.size() - 1);
        return m_toks[p];
    }
    void next() { if (m_pos + 1 < m_toks.size()) ++m_pos; }
    bool isKw(int kw) const { return tok().kind == VbToken::Keyword && tok().keyword == kw; }
    bool isOp(const char *op) const { return tok().kind == VbToken::Op && tok().text == QLatin1String(op); }
    bool isIdent(const char *lowerText) const
    {
        return tok().kind == VbToken::Ident && tok().text.compare(QLatin1String(lowerText), Qt::CaseInsensitive) == 0;
    }
    bool atStmtEnd() const
    {
        return tok().kind == VbToken::Newline || tok().kind == VbToken::Colon || tok().kind == VbToken::Eof
            || (m_singleLineIf > 0 && isKw(KwElse));
    }
    [[noreturn]] void fail(int number) const;
    [[noreturn]] void failAt(int number, const VbToken &t) const;
    void expectKw(int kw, int err);
    void expectOp(const char *op, int err);
    QString expectName();
    void endOfStatement();
    void skipSeparators();

    // statements
    void parseTopLevel(VbUnit &unit);
    void parseStatementList(VbBlock &block, bool topLevel);
    bool atBlockEnd() const;
    VbStmtPtr parseStatement();
    VbStmtPtr parseSimple();
    VbStmtPtr parseIf();
    VbStmtPtr parseSelect();
    VbStmtPtr parseFor();
    VbStmtPtr parseDo();
    VbStmtPtr parseWhile();
    VbStmtPtr parseWith();
    VbStmtPtr parseExit();
    VbStmtPtr parseOnError();
    VbStmtPtr parseReDim();
    VbStmtPtr parseErase();
    void parseDim(VbBlock &block, bool isPublic);
    void parseConst(VbBlock &block);
    void parseProcedure(VbUnit &unit, VbClassDef *cls, bool isPublic, bool isDefault);
    void parseClass(VbUnit &unit);
    void declareGlobalName(const QString &lower, const VbToken &at);
    void declareVariable(const QString &name, const std::vector<int> &upper, bool isArray, bool isPublic, const VbToken &at);

    // expressions
    VbExprPtr parseExpr(int minPrec = 0);
    VbExprPtr parseBinaryRest(VbExprPtr lhs, int minPrec);
    VbExprPtr parseUnary();
    VbExprPtr parsePrimary();
    VbExprPtr parsePostfix(VbExprPtr base);
    VbExprPtr parseReference(); // a name / member chain at statement start
    void parseArgs(VbExprList &args, bool inParens);
    VbExprPtr makeName(const VbToken &t);
    template <typename T> std::unique_ptr<T> node(const VbToken &at)
    {
        auto n = std::make_unique<T>();
        n->line = at.line;
        n->column = at.column;
        return n;
    }
    int binaryPrec(VbBinOp &op) const;

    // linking
    void link(VbUnit &unit);
    void linkName(VbNameExpr *n, Scope &scope);
    int newSlot(VbProcedure *p) { return p->slotCount++; }

    VbEngine &m_eng;
    std::vector<VbToken> m_toks;
    size_t m_pos = 0;
    Mode m_mode;
    VbFrame *m_context;
    std::vector<std::unique_ptr<Scope>> m_scopes;
    Scope *m_scope = nullptr;
    VbUnit *m_unit = nullptr;
    int m_depth = 0;
    int m_singleLineIf = 0;
    int m_loopDepthDo = 0;
    int m_loopDepthFor = 0;
    std::vector<int> m_withSlots;
    bool m_optionExplicit = false;
    QSet<QString> m_globalNames; // defined in this unit's global scope
};
