#pragma once

#include "Variant.h"

#include <QString>

#include <vector>

// Tokens of VBScript source. Keywords are recognised without regard to case;
// a name after "." is always a plain identifier (obj.End, x.Type).
struct VbToken
{
    enum Kind : unsigned char {
        Eof,
        Newline,   // end of line
        Colon,     // ":" statement separator
        Ident,
        Keyword,
        Number,
        String,
        DateLit,
        Op,        // punctuation and operators; text holds the operator
    };
    Kind kind = Eof;
    int keyword = 0;  // VbKeyword for Keyword tokens
    QString text;     // identifier as written, operator text, string value
    Variant value;    // Number / DateLit value
    int line = 1;
    int column = 1;
    bool spaceBefore = false;
};

enum VbKeyword {
    KwNone, KwAnd, KwByRef, KwByVal, KwCall, KwCase, KwClass, KwConst, KwDim, KwDo, KwEach, KwElse,
    KwElseIf, KwEmpty, KwEnd, KwEqv, KwErase, KwExit, KwFalse, KwFor, KwFunction, KwGoTo, KwIf,
    KwImp, KwIn, KwIs, KwLoop, KwMe, KwMod, KwNew, KwNext, KwNot, KwNothing, KwNull, KwOn,
    KwOption, KwOr, KwPrivate, KwProperty, KwPublic, KwReDim, KwSelect, KwSet, KwSub, KwThen,
    KwTo, KwTrue, KwUntil, KwWend, KwWhile, KwWith, KwXor
};

// Thrown for a syntax error: the error number (1002 ...) and its position.
struct VbSyntaxError
{
    int number;
    int line;
    int column;
};

class VbLexer
{
public:
    // Longest identifier the language takes.
    static constexpr int MaxIdentifier = 255;

    explicit VbLexer(const QString &source, int firstLine = 1);
    // Tokenizes everything; throws VbSyntaxError.
    std::vector<VbToken> tokenize();

private:
    QChar peek(int ahead = 0) const
    {
        const qsizetype p = m_pos + ahead;
        return p < m_src.size() ? m_src[p] : QChar();
    }
    void lexNumber(VbToken &t);
    void lexHex(VbToken &t);
    [[noreturn]] void fail(int number) const;

    QString m_src;
    qsizetype m_pos = 0;
    int m_line;
    qsizetype m_lineStart = 0;
};
