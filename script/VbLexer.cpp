#include "VbLexer.h"

#include <QHash>

#include <cmath>

namespace {

const QHash<QString, int> &keywords()
{
    static const QHash<QString, int> map = {
        {QStringLiteral("and"), KwAnd}, {QStringLiteral("byref"), KwByRef},
        {QStringLiteral("byval"), KwByVal}, {QStringLiteral("call"), KwCall},
        {QStringLiteral("case"), KwCase}, {QStringLiteral("class"), KwClass},
        {QStringLiteral("const"), KwConst}, {QStringLiteral("dim"), KwDim},
        {QStringLiteral("do"), KwDo}, {QStringLiteral("each"), KwEach},
        {QStringLiteral("else"), KwElse}, {QStringLiteral("elseif"), KwElseIf},
        {QStringLiteral("empty"), KwEmpty}, {QStringLiteral("end"), KwEnd},
        {QStringLiteral("eqv"), KwEqv}, {QStringLiteral("erase"), KwErase},
        {QStringLiteral("exit"), KwExit}, {QStringLiteral("false"), KwFalse},
        {QStringLiteral("for"), KwFor}, {QStringLiteral("function"), KwFunction},
        {QStringLiteral("goto"), KwGoTo}, {QStringLiteral("if"), KwIf},
        {QStringLiteral("imp"), KwImp}, {QStringLiteral("in"), KwIn},
        {QStringLiteral("is"), KwIs}, {QStringLiteral("loop"), KwLoop},
        {QStringLiteral("me"), KwMe}, {QStringLiteral("mod"), KwMod},
        {QStringLiteral("new"), KwNew}, {QStringLiteral("next"), KwNext},
        {QStringLiteral("not"), KwNot}, {QStringLiteral("nothing"), KwNothing},
        {QStringLiteral("null"), KwNull}, {QStringLiteral("on"), KwOn},
        {QStringLiteral("option"), KwOption}, {QStringLiteral("or"), KwOr},
        {QStringLiteral("private"), KwPrivate}, {QStringLiteral("property"), KwProperty},
        {QStringLiteral("public"), KwPublic}, {QStringLiteral("redim"), KwReDim},
        {QStringLiteral("select"), KwSelect}, {QStringLiteral("set"), KwSet},
        {QStringLiteral("sub"), KwSub}, {QStringLiteral("then"), KwThen},
        {QStringLiteral("to"), KwTo}, {QStringLiteral("true"), KwTrue},
        {QStringLiteral("until"), KwUntil}, {QStringLiteral("wend"), KwWend},
        {QStringLiteral("while"), KwWhile}, {QStringLiteral("with"), KwWith},
        {QStringLiteral("xor"), KwXor},
    };
    return map;
}

bool isIdentStart(QChar c)
{
    return c.isLetter() || c.unicode() > 0x7F;
}

bool isIdentChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || (c.unicode() > 0x7F && !c.isSpace());
}

} // namespace

VbLexer::VbLexer(const QString &source, int firstLine) : m_src(source), m_line(firstLine) {}

void VbLexer::fail(int number) const
{
    throw VbSyntaxError{number, m_line, int(m_pos - m_lineStart)};
}

std::vector<VbToken> VbLexer::tokenize()
{
    std::vector<VbToken> out;
    bool space = true;
    auto lastIsDot = [&out]() {
        return !out.empty() && out.back().kind == VbToken::Op && out.back().text == QLatin1String(".");
    };
    while (m_pos < m_src.size()) {
        const QChar c = m_src[m_pos];
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QChar(0xA0) || c == QChar(0x3000)
            || c == QChar(0xFEFF) || c == QChar(0x0B) || c == QChar(0x0C) || c == QChar(0)) {
            ++m_pos;
            space = true;
            continue;
        }
        VbToken t;
        t.line = m_line;
        t.column = int(m_pos - m_lineStart);
        t.spaceBefore = space;
        space = false;
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && peek(1) == QLatin1Char('\n'))
                ++m_pos;
            ++m_pos;
            t.kind = VbToken::Newline;
            out.push_back(t);
            ++m_line;
            m_lineStart = m_pos;
            space = true;
            continue;
        }
        if (c == QLatin1Char('\'')) {
            while (m_pos < m_src.size() && m_src[m_pos] != QLatin1Char('\r') && m_src[m_pos] != QLatin1Char('\n'))
                ++m_pos;
            continue;
        }
        if (c == QLatin1Char('_')) {
            // line continuation: "_" followed by blanks and the line end
            qsizetype p = m_pos + 1;
            while (p < m_src.size() && (m_src[p] == QLatin1Char(' ') || m_src[p] == QLatin1Char('\t')))
                ++p;
            if (p >= m_src.size() || m_src[p] == QLatin1Char('\r') || m_src[p] == QLatin1Char('\n')) {
                if (p < m_src.size() && m_src[p] == QLatin1Char('\r') && p + 1 < m_src.size() && m_src[p + 1] == QLatin1Char('\n'))
                    ++p;
                m_pos = p + 1;
                ++m_line;
                m_lineStart = m_pos;
                space = true;
                continue;
            }
            fail(1032);
        }
        if (c == QLatin1Char(':')) {
            ++m_pos;
            t.kind = VbToken::Colon;
            out.push_back(t);
            space = true;
            continue;
        }
        if (c == QLatin1Char('"')) {
            ++m_pos;
            QString s;
            for (;;) {
                if (m_pos >= m_src.size() || m_src[m_pos] == QLatin1Char('\r') || m_src[m_pos] == QLatin1Char('\n'))
                    fail(1033);
                if (m_src[m_pos] == QLatin1Char('"')) {
                    if (peek(1) == QLatin1Char('"')) {
                        s += QLatin1Char('"');
                        m_pos += 2;
                        continue;
                    }
                    ++m_pos;
                    break;
                }
                s += m_src[m_pos++];
            }
            t.kind = VbToken::String;
            t.text = s;
            out.push_back(t);
            continue;
        }
        if (c == QLatin1Char('#')) {
            const qsizetype end = m_src.indexOf(QLatin1Char('#'), m_pos + 1);
            const qsizetype eol = [&] {
                qsizetype p = m_pos + 1;
                while (p < m_src.size() && m_src[p] != QLatin1Char('\r') && m_src[p] != QLatin1Char('\n'))
                    ++p;
                return p;
            }();
            if (end < 0 || end > eol)
                fail(1032);
            double d;
            const QString body = m_src.mid(m_pos + 1, end - m_pos - 1);
            if (!Variant::parseDate(body, d))
                fail(1032);
            m_pos = end + 1;
            t.kind = VbToken::DateLit;
            t.value = Variant::fromDate(d);
            out.push_back(t);
            continue;
        }
        if (c.isDigit() || (c == QLatin1Char('.') && peek(1).isDigit() && !lastIsDot()
                            && (out.empty() || t.spaceBefore || out.back().kind == VbToken::Op))) {
            lexNumber(t);
            out.push_back(t);
            continue;
        }
        if (c == QLatin1Char('&') && (peek(1).toUpper() == QLatin1Char('H') || peek(1).toUpper() == QLatin1Char('O')
                                      || peek(1).isDigit())) {
            const QChar k = peek(1).toUpper();
            const QChar after = peek(2);
            bool isNum = k.isDigit() || (k == QLatin1Char('H') && after.isDigit())
                || (k == QLatin1Char('H') && QStringLiteral("abcdefABCDEF").contains(after))
                || (k == QLatin1Char('O') && after.isDigit());
            if (isNum) {
                lexHex(t);
                out.push_back(t);
                continue;
            }
        }
        if (c == QLatin1Char('[')) {
            const qsizetype end = m_src.indexOf(QLatin1Char(']'), m_pos + 1);
            if (end < 0)
                fail(1007);
            t.kind = VbToken::Ident;
            t.text = m_src.mid(m_pos + 1, end - m_pos - 1);
            if (t.text.contains(QLatin1Char('\n')))
                fail(1007);
            m_pos = end + 1;
            out.push_back(t);
            continue;
        }
        if (isIdentStart(c)) {
            const qsizetype start = m_pos;
            while (m_pos < m_src.size() && isIdentChar(m_src[m_pos]))
                ++m_pos;
            t.text = m_src.mid(start, m_pos - start);
            if (t.text.size() > MaxIdentifier)
                fail(1030);
            const QString lower = t.text.toLower();
            if (!lastIsDot() && lower == QLatin1String("rem")) {
                while (m_pos < m_src.size() && m_src[m_pos] != QLatin1Char('\r') && m_src[m_pos] != QLatin1Char('\n'))
                    ++m_pos;
                continue;
            }
            const int kw = lastIsDot() ? 0 : keywords().value(lower, 0);
            t.kind = kw ? VbToken::Keyword : VbToken::Ident;
            t.keyword = kw;
            out.push_back(t);
            continue;
        }
        // operators
        static const char *const two[] = {"<>", "<=", ">=", "=<", "=>", "><"};
        for (const char *op : two) {
            if (c == QLatin1Char(op[0]) && peek(1) == QLatin1Char(op[1])) {
                t.kind = VbToken::Op;
                QString text = QString::fromLatin1(op);
                if (text == QLatin1String("=<"))
                    text = QStringLiteral("<=");
                else if (text == QLatin1String("=>"))
                    text = QStringLiteral(">=");
                else if (text == QLatin1String("><"))
                    text = QStringLiteral("<>");
                t.text = text;
                m_pos += 2;
                break;
            }
        }
        if (t.kind == VbToken::Op) {
            out.push_back(t);
            continue;
        }
        if (QStringLiteral("+-*/\\^&=<>(),.").contains(c)) {
            t.kind = VbToken::Op;
            t.text = c;
            ++m_pos;
            out.push_back(t);
            continue;
        }
        fail(1032);
    }
    VbToken eof;
    eof.kind = VbToken::Eof;
    eof.line = m_line;
    eof.column = int(m_pos - m_lineStart);
    out.push_back(eof);
    return out;
}

void VbLexer::lexNumber(VbToken &t)
{
    const qsizetype start = m_pos;
    bool isFloat = false;
    while (peek().isDigit())
        ++m_pos;
    if (peek() == QLatin1Char('.') && (peek(1).isDigit() || !isIdentStart(peek(1)))) {
        isFloat = true;
        ++m_pos;
        while (peek().isDigit())
            ++m_pos;
    }
    if ((peek() == QLatin1Char('e') || peek() == QLatin1Char('E'))
        && (peek(1).isDigit() || ((peek(1) == QLatin1Char('+') || peek(1) == QLatin1Char('-')) && peek(2).isDigit()))) {
        isFloat = true;
        m_pos += 2;
        while (peek().isDigit())
            ++m_pos;
    }
    if (isIdentStart(peek()))
        fail(1031);
    const QString text = m_src.mid(start, m_pos - start);
    const double d = text.toDouble();
    t.kind = VbToken::Number;
    t.text = text;
    if (!std::isfinite(d))
        fail(1031);
    if (!isFloat && d <= 2147483647.0)
        t.value = Variant::fromNumber(static_cast<std::int64_t>(d));
    else
        t.value = Variant::fromDouble(d);
}

void VbLexer::lexHex(VbToken &t)
{
    const qsizetype start = m_pos;
    ++m_pos; // &
    int base = 8;
    if (peek().toUpper() == QLatin1Char('H')) {
        base = 16;
        ++m_pos;
    } else if (peek().toUpper() == QLatin1Char('O')) {
        ++m_pos;
    }
    const qsizetype digitsStart = m_pos;
    while (m_pos < m_src.size()) {
        const QChar c = m_src[m_pos];
        const bool ok = base == 16 ? (c.isDigit() || QStringLiteral("abcdefABCDEF").contains(c))
                                   : (c >= QLatin1Char('0') && c <= QLatin1Char('7'));
        if (!ok)
            break;
        ++m_pos;
    }
    const QString digits = m_src.mid(digitsStart, m_pos - digitsStart);
    bool forceLong = false;
    if (peek() == QLatin1Char('&')) {
        forceLong = true;
        ++m_pos;
    }
    bool ok = false;
    const qulonglong v = digits.toULongLong(&ok, base);
    if (!ok || v > 0xFFFFFFFFULL)
        fail(1031);
    t.kind = VbToken::Number;
    t.text = m_src.mid(start, m_pos - start);
    if (!forceLong && v <= 0xFFFF)
        t.value = Variant::fromInteger(std::int16_t(std::uint16_t(v)));
    else
        t.value = Variant::fromLong(std::int32_t(std::uint32_t(v)));
}
