// The built-in functions of VBScript.
#include "DateUtil.h"
#include "Gbk.h"
#include "ScriptArray.h"
#include "ScriptObjectFactory.h"
#include "VariantOps.h"
#include "VbEngine.h"
#include "VbNodeTypes.h"
#include "VbLexer.h"

#include <QDateTime>
#include <QElapsedTimer>

#include <cmath>
#include <limits>

namespace {

using V = Variant;

bool has(Variant *a, int n, int i)
{
    return i < n && !a[i].isMissing();
}

Variant val(const Variant &v)
{
    const Variant &d = v.deref();
    if (d.isObject()) {
        if (!d.rawObject())
            throwScriptError(ScriptErrors::ObjectNotSet);
        return d.valueOf();
    }
    return d;
}

QString str(const Variant &v)
{
    return val(v).toString();
}

int lng(const Variant &v)
{
    return val(v).toLong();
}

double num(const Variant &v);

[[noreturn]] void invalid()
{
    throwScriptError(ScriptErrors::InvalidCall);
}

void checkLen(qint64 n)
{
    if (n > VbEngine::MaxStringLength)
        throwScriptError(ScriptErrors::OutOfMemory);
}

Qt::CaseSensitivity cmpMode(Variant *a, int n, int i)
{
    if (!has(a, n, i))
        return Qt::CaseSensitive;
    const int m = lng(a[i]);
    if (m < 0 || m > 2)
        invalid();
    return m == 1 ? Qt::CaseInsensitive : Qt::CaseSensitive;
}

// ---- strings ----

V fLen(VbEngine &, V *a, int)
{
    Variant v = val(a[0]);
    if (v.isNull())
        return v;
    return V::fromLong(std::int32_t(v.toString().size()));
}

V fLenB(VbEngine &, V *a, int)
{
    Variant v = val(a[0]);
    if (v.isNull())
        return v;
    return V::fromLong(std::int32_t(v.toString().size() * 2));
}

// Left and Right: the text and a length of at least 0; Null stays Null.
V LeftOrRight(V *a, bool left)
{
    Variant v = val(a[0]);
    const int n = lng(a[1]);
    if (n < 0)
        invalid();
    if (v.isNull())
        return v;
    const QString s = v.toString();
    return V::fromString(left ? s.left(n) : s.right(n));
}

V fLeft(VbEngine &, V *a, int)
{
    return LeftOrRight(a, true);
}

V fRight(VbEngine &, V *a, int)
{
    return LeftOrRight(a, false);
}

// The arguments of Mid and MidB: the text, a start of at least 1 and an
// optional length of at least 0 (-1 when absent).
Variant MidArgs(V *a, int n, int *start, int *len)
{
    Variant v = val(a[0]);
    *start = lng(a[1]);
    if (*start < 1)
        invalid();
    *len = -1;
    if (has(a, n, 2)) {
        *len = lng(a[2]);
        if (*len < 0)
            invalid();
    }
    return v;
}

V fMid(VbEngine &, V *a, int n)
{
    int start = 0, len = -1;
    Variant v = MidArgs(a, n, &start, &len);
    if (v.isNull())
        return v;
    const QString s = v.toString();
    if (start > s.size())
        return V::fromString(QString());
    return V::fromString(s.mid(start - 1, len));
}

V fInStr(VbEngine &, V *a, int n)
{
    int start = 1;
    int i = 0;
    if (n >= 3) {
        Variant s0 = val(a[0]);
        if (s0.isNull())
            throwScriptError(ScriptErrors::InvalidUseOfNull);
        start = s0.toLong();
        if (start < 1)
            invalid();
        i = 1;
    }
    Variant s1 = val(a[i]), s2 = val(a[i + 1]);
    const Qt::CaseSensitivity cs = n >= 4 ? cmpMode(a, n, 3) : Qt::CaseSensitive;
    if (s1.isNull() || s2.isNull())
        return V::null();
    const QString h = s1.toString(), nd = s2.toString();
    if (start > h.size())
        return V::fromLong(0);
    if (nd.isEmpty())
        return V::fromLong(start);
    return V::fromLong(std::int32_t(h.indexOf(nd, start - 1, cs) + 1));
}

V fInStrRev(VbEngine &, V *a, int n)
{
    Variant s1 = val(a[0]), s2 = val(a[1]);
    int start = -1;
    if (has(a, n, 2)) {
        start = lng(a[2]);
        if (start == 0 || start < -1)
            invalid();
    }
    const Qt::CaseSensitivity cs = cmpMode(a, n, 3);
    if (s1.isNull() || s2.isNull())
        return V::null();
    const QString h = s1.toString(), nd = s2.toString();
    if (start == -1)
        start = int(h.size());
    if (start > h.size())
        return V::fromLong(0);
    if (nd.isEmpty())
        return V::fromLong(start);
    const qsizetype from = start - nd.size();
    if (from < 0)
        return V::fromLong(0);
    return V::fromLong(std::int32_t(h.lastIndexOf(nd, from, cs) + 1));
}

V fReplace(VbEngine &, V *a, int n)
{
    Variant e = val(a[0]), fnd = val(a[1]), rep = val(a[2]);
    int start = has(a, n, 3) ? lng(a[3]) : 1;
    int count = has(a, n, 4) ? lng(a[4]) : -1;
    const Qt::CaseSensitivity cs = cmpMode(a, n, 5);
    if (start < 1 || count < -1)
        invalid();
    if (e.isNull() || fnd.isNull() || rep.isNull())
        throwScriptError(ScriptErrors::InvalidUseOfNull);
    const QString s = e.toString();
    if (start > s.size())
        return V::fromString(QString());
    QString src = s.mid(start - 1);
    const QString f = fnd.toString(), r = rep.toString();
    if (f.isEmpty() || count == 0)
        return V::fromString(src);
    QString out;
    qsizetype pos = 0;
    int done = 0;
    for (;;) {
        if (count >= 0 && done >= count)
            break;
        const qsizetype hit = src.indexOf(f, pos, cs);
        if (hit < 0)
            break;
        out += QStringView(src).mid(pos, hit - pos);
        out += r;
        checkLen(out.size());
        pos = hit + f.size();
        ++done;
    }
    out += QStringView(src).mid(pos);
    return V::fromString(out);
}

V fSplit(VbEngine &, V *a, int n)
{
    Variant e = val(a[0]);
    const QString delim = has(a, n, 1) ? str(a[1]) : QStringLiteral(" ");
    const int count = has(a, n, 2) ? lng(a[2]) : -1;
    const Qt::CaseSensitivity cs = cmpMode(a, n, 3);
    if (count < -1)
        invalid();
    if (e.isNull())
        throwScriptError(ScriptErrors::InvalidUseOfNull);
    const QString s = e.toString();
    VariantList parts;
    if (!s.isEmpty() && count != 0) {
        if (delim.isEmpty()) {
            parts.push_back(V::fromString(s));
        } else {
            qsizetype pos = 0;
            for (;;) {
                if (count > 0 && parts.size() == count - 1) {
                    parts.push_back(V::fromString(s.mid(pos)));
                    break;
                }
                const qsizetype hit = s.indexOf(delim, pos, cs);
                if (hit < 0) {
                    parts.push_back(V::fromString(s.mid(pos)));
                    break;
                }
                parts.push_back(V::fromString(s.mid(pos, hit - pos)));
                pos = hit + delim.size();
            }
        }
    }
    return V::fromArray(ScriptArray::fromList(parts));
}

ScriptArray *arrayArg(const Variant &v)
{
    const Variant &d = v.deref();
    if (!d.isArray())
        throwScriptError(ScriptErrors::TypeMismatch);
    return d.rawArray();
}

V fJoin(VbEngine &, V *a, int n)
{
    ScriptArray *arr = arrayArg(a[0]);
    if (arr->dims() > 1)
        throwScriptError(ScriptErrors::SubscriptOutOfRange);
    const QString delim = has(a, n, 1) ? str(a[1]) : QStringLiteral(" ");
    QString out;
    for (qsizetype i = 0; i < arr->size(); ++i) {
        if (i)
            out += delim;
        const Variant &e = arr->at(i);
        if (!e.isNull())
            out += str(e);
        checkLen(out.size());
    }
    return V::fromString(out);
}

V fFilter(VbEngine &, V *a, int n)
{
    ScriptArray *arr = arrayArg(a[0]);
    if (arr->dims() != 1)
        throwScriptError(ScriptErrors::TypeMismatch);
    const QString value = str(a[1]);
    const bool include = has(a, n, 2) ? val(a[2]).toBool() : true;
    const Qt::CaseSensitivity cs = cmpMode(a, n, 3);
    VariantList out;
    for (qsizetype i = 0; i < arr->size(); ++i) {
        const QString s = str(arr->at(i));
        if (s.contains(value, cs) == include)
            out.push_back(V::fromString(s));
    }
    return V::fromArray(ScriptArray::fromList(out));
}

QString trimSpaces(const QString &s, bool left, bool right)
{
    qsizetype b = 0, e = s.size();
    if (left)
        while (b < e && s[b] == QLatin1Char(' '))
            ++b;
    if (right)
        while (e > b && s[e - 1] == QLatin1Char(' '))
            --e;
    return s.mid(b, e - b);
}

V fTrim(VbEngine &, V *a, int)
{
    Variant v = val(a[0]);
    return v.isNull() ? v : V::fromString(trimSpaces(v.toString(), true, true));
}
V fLTrim(VbEngine &, V *a, int)
{
    Variant v = val(a[0]);
    return v.isNull() ? v : V::fromString(trimSpaces(v.toString(), true, false));
}
V fRTrim(VbEngine &, V *a, int)
{
    Variant v = val(a[0]);
    return v.isNull() ? v : V::fromString(trimSpaces(v.toString(), false, true));
}
V fLCase(VbEngine &, V *a, int)
{
    Variant v = val(a[0]);
    return v.isNull() ? v : V::fromString(v.toString().toLower());
}
V fUCase(VbEngine &, V *a, int)
{
    Variant v = val(a[0]);
    return v.isNull() ? v : V::fromString(v.toString().toUpper());
}

V fSpace(VbEngine &, V *a, int)
{
    const int n = lng(a[0]);
    if (n < 0)
        invalid();
    checkLen(n);
    return V::fromString(QString(n, QLatin1Char(' ')));
}

QChar charFromCode(int code);

V fString(VbEngine &, V *a, int)
{
    const Variant count = val(a[0]);
    Variant c = val(a[1]);
    if (count.isNull() || c.isNull())
        return V::null();
    const int n = count.toLong();
    if (n < 0)
        invalid();
    checkLen(n);
    QChar ch;
    if (c.isString()) {
        if (c.rawString().isEmpty())
            invalid();
        ch = c.rawString()[0];
    } else {
        ch = charFromCode(c.toLong() % 256);
    }
    return V::fromString(QString(n, ch));
}

V fStrComp(VbEngine &, V *a, int n)
{
    Variant x = val(a[0]), y = val(a[1]);
    const Qt::CaseSensitivity cs = cmpMode(a, n, 2);
    if (x.isNull() || y.isNull())
        return V::null();
    const int c = x.toString().compare(y.toString(), cs);
    return V::fromInteger(c < 0 ? -1 : c > 0 ? 1 : 0);
}

V fStrReverse(VbEngine &, V *a, int)
{
    Variant v = val(a[0]);
    if (v.isNull())
        throwScriptError(ScriptErrors::InvalidUseOfNull);
    QString s = v.toString();
    std::reverse(s.begin(), s.end());
    return V::fromString(s);
}

QChar charFromCode(int code)
{
    if (code >= 0 && code < 0x80)
        return QChar(code);
    QByteArray bytes;
    if (code > 0xFF || code < 0) {
        const int c = code & 0xFFFF;
        bytes.append(char((c >> 8) & 0xFF));
        bytes.append(char(c & 0xFF));
    } else {
        bytes.append(char(code));
    }
    const QString s = Gbk::decode(bytes);
    return s.isEmpty() ? QChar(0xFFFD) : s[0];
}

V fChr(VbEngine &, V *a, int)
{
    const int c = lng(a[0]);
    if (c < -32768 || c > 65535)
        invalid();
    return V::fromString(QString(charFromCode(c)));
}

V fChrW(VbEngine &, V *a, int)
{
    const int c = lng(a[0]);
    if (c < -32768 || c > 65535)
        invalid();
    return V::fromString(QString(QChar(char16_t(c & 0xFFFF))));
}

V fAsc(VbEngine &, V *a, int)
{
    Variant v = val(a[0]);
    if (v.isNull())
        throwScriptError(ScriptErrors::InvalidUseOfNull);
    const QString s = v.toString();
    if (s.isEmpty())
        invalid();
    const QChar c = s[0];
    if (c.unicode() < 0x80)
        return V::fromInteger(c.unicode());
    const QByteArray b = Gbk::encode(QString(c));
    if (b.size() == 1)
        return V::fromInteger(quint8(b[0]));
    if (b.size() >= 2)
        return V::fromInteger(int(std::int16_t((quint8(b[0]) << 8) | quint8(b[1]))));
    return V::fromInteger(63);
}

V fAscW(VbEngine &, V *a, int)
{
    Variant v = val(a[0]);
    if (v.isNull())
        throwScriptError(ScriptErrors::InvalidUseOfNull);
    const QString s = v.toString();
    if (s.isEmpty())
        invalid();
    return V::fromInteger(int(std::int16_t(s[0].unicode())));
}

V radix(V *a, int base)
{
    Variant v = val(a[0]);
    if (v.isNull())
        return v;
    if (v.isEmpty())
        return V::fromString(QStringLiteral("0"));
    std::uint32_t bits;
    if (v.type() == Variant::Integer || v.type() == Variant::Byte || v.type() == Variant::Boolean) {
        bits = std::uint16_t(std::int16_t(v.rawInt()));
        if (v.type() == Variant::Byte)
            bits = std::uint32_t(v.rawInt());
    } else {
        const std::int32_t l = v.toLong();
        bits = (l >= -32768 && l < 0 && v.type() == Variant::Integer) ? std::uint16_t(l) : std::uint32_t(l);
    }
    return V::fromString(QString::number(bits, base).toUpper());
}
V fHex(VbEngine &, V *a, int) { return radix(a, 16); }
V fOct(VbEngine &, V *a, int) { return radix(a, 8); }

V fEscape(VbEngine &, V *a, int)
{
    Variant v = val(a[0]);
    if (v.isNull())
        return v;
    const QString s = v.toString();
    QString out;
    for (QChar c : s) {
        const ushort u = c.unicode();
        if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9')
            || QStringLiteral("@*_+-./").contains(c))
            out += c;
        else if (u < 256)
            out += QLatin1Char('%') + QStringLiteral("%1").arg(u, 2, 16, QLatin1Char('0')).toUpper();
        else
            out += QStringLiteral("%u") + QStringLiteral("%1").arg(u, 4, 16, QLatin1Char('0')).toUpper();
    }
    return V::fromString(out);
}

V fUnescape(VbEngine &, V *a, int)
{
    Variant v = val(a[0]);
    if (v.isNull())
        return v;
    const QString s = v.toString();
    QString out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == QLatin1Char('%')) {
            bool ok = false;
            if (i + 5 < s.size() + 0 && (s[i + 1] == QLatin1Char('u') || s[i + 1] == QLatin1Char('U'))) {
                const ushort u = s.mid(i + 2, 4).toUShort(&ok, 16);
                if (ok && s.mid(i + 2, 4).size() == 4) {
                    out += QChar(u);
                    i += 5;
                    continue;
                }
            }
            if (i + 2 < s.size() + 0 || i + 2 == s.size() - 0) {
                const QString hex = s.mid(i + 1, 2);
                const ushort u = hex.toUShort(&ok, 16);
                if (ok && hex.size() == 2) {
                    out += QChar(u);
                    i += 2;
                    continue;
                }
            }
        }
        out += s[i];
    }
    return V::fromString(out);
}

// The byte forms see a string as its UTF-16 code units, two bytes each, low
// byte first; a byte count that splits a character is rounded down.
V fLeftB(VbEngine &, V *a, int)
{
    Variant v = val(a[0]);
    const int n = lng(a[1]);
    if (n < 0)
        invalid();
    if (v.isNull())
        return v;
    return V::fromString(v.toString().left(n / 2));
}

V fRightB(VbEngine &, V *a, int)
{
    Variant v = val(a[0]);
    const int n = lng(a[1]);
    if (n < 0)
        invalid();
    if (v.isNull())
        return v;
    return V::fromString(v.toString().right(n / 2));
}

V fMidB(VbEngine &, V *a, int n)
{
    int start = 0, len = -1;
    Variant v = MidArgs(a, n, &start, &len);
    if (v.isNull())
        return v;
    const QString s = v.toString();
    const qsizetype from = (start - 1) / 2;
    if (from >= s.size())
        return V::fromString(QString());
    return V::fromString(s.mid(from, len < 0 ? -1 : len / 2));
}

V fInStrB(VbEngine &e, V *a, int n)
{
    V r = fInStr(e, a, n);
    if (r.isNull() || r.toLong() == 0)
        return r;
    return V::fromLong(r.toLong() * 2 - 1);
}

V fAscB(VbEngine &, V *a, int)
{
    Variant v = val(a[0]);
    if (v.isNull())
        throwScriptError(ScriptErrors::InvalidUseOfNull);
    const QString s = v.toString();
    if (s.isEmpty())
        invalid();
    return V::fromInteger(s[0].unicode() & 0xFF);
}

V fChrB(VbEngine &, V *a, int)
{
    const int c = lng(a[0]);
    if (c < 0 || c > 255)
        invalid();
    return V::fromString(QString(QChar(char16_t(c))));
}

// ---- conversions ----

V fCStr(VbEngine &, V *a, int) { return V::fromString(val(a[0]).toString()); }
V fCInt(VbEngine &, V *a, int) { return V::fromInteger(val(a[0]).toInteger()); }
V fCLng(VbEngine &, V *a, int) { return V::fromLong(val(a[0]).toLong()); }
V fCDbl(VbEngine &, V *a, int)
{
    Variant v = val(a[0]);
    if (v.isString()) {
        double d;
        if (!Variant::parseNumber(v.rawString(), d))
            throwScriptError(ScriptErrors::TypeMismatch);
        return V::fromDouble(d);
    }
    return V::fromDouble(v.toDouble());
}
V fCSng(VbEngine &, V *a, int)
{
    const double d = val(a[0]).toDouble();
    if (std::fabs(d) > 3.402823466e38)
        throwScriptError(ScriptErrors::Overflow);
    return V::fromSingle(float(d));
}
V fCBool(VbEngine &, V *a, int) { return V::fromBool(val(a[0]).toBool()); }
V fCByte(VbEngine &, V *a, int)
{
    const Variant v = val(a[0]);
    const double r = v.isIntegral() ? double(v.rawInt()) : std::nearbyint(v.toDouble());
    if (r < 0 || r > 255)
        throwScriptError(ScriptErrors::Overflow);
    return V::fromByte(int(r));
}
V fCCur(VbEngine &, V *a, int) { return V::fromCurrencyRaw(val(a[0]).toCurrencyRaw()); }
V fCDate(VbEngine &, V *a, int) { return V::fromDate(val(a[0]).toDate()); }

V intFix(V *a, bool isInt)
{
    Variant v = val(a[0]);
    switch (v.type()) {
    case Variant::Null: return v;
    case Variant::Empty: return V::fromInteger(0);
    case Variant::Integer: case Variant::Long: case Variant::Byte: return v;
    case Variant::Boolean: return V::fromInteger(int(v.rawInt()));
    case Variant::Single: {
        const double d = v.rawDouble();
        return V::fromSingle(float(isInt ? std::floor(d) : std::trunc(d)));
    }
    case Variant::Currency: {
        const std::int64_t c = v.rawInt();
        std::int64_t w = c / 10000;
        if (isInt && c < 0 && c % 10000)
            --w;
        return V::fromCurrencyRaw(w * 10000);
    }
    case Variant::Date: {
        const double d = v.rawDouble();
        return V::fromDate(isInt ? std::floor(d) : std::trunc(d));
    }
    default: {
        const double d = v.toDouble();
        return V::fromDouble(isInt ? std::floor(d) : std::trunc(d));
    }
    }
}
V fInt(VbEngine &, V *a, int) { return intFix(a, true); }
V fFix(VbEngine &, V *a, int) { return intFix(a, false); }

V fAbs(VbEngine &, V *a, int)
{
    Variant v = val(a[0]);
    switch (v.type()) {
    case Variant::Null: return v;
    case Variant::Empty: return V::fromInteger(0);
    case Variant::Integer: case Variant::Boolean: return V::fromNumber(std::llabs(v.rawInt()));
    case Variant::Byte: return v;
    case Variant::Long: {
        const std::int64_t x = std::llabs(v.rawInt());
        return x > INT32_MAX ? V::fromDouble(double(x)) : V::fromLong(std::int32_t(x));
    }
    case Variant::Single: return V::fromSingle(float(std::fabs(v.rawDouble())));
    case Variant::Currency: return V::fromCurrencyRaw(std::llabs(v.rawInt()));
    case Variant::Date: return V::fromDate(std::fabs(v.rawDouble()));
    default: return V::fromDouble(std::fabs(v.toDouble()));
    }
}

V fSgn(VbEngine &, V *a, int)
{
    const double d = num(a[0]);
    return V::fromInteger(d > 0 ? 1 : d < 0 ? -1 : 0);
}

V fRound(VbEngine &, V *a, int n)
{
    Variant v = val(a[0]);
    const int digits = has(a, n, 1) ? lng(a[1]) : 0;
    if (digits < 0)
        invalid();
    if (v.isNull())
        return v;
    if (v.isIntegral() && v.type() != Variant::Boolean)
        return v;
    if (v.type() == Variant::Boolean)
        return V::fromInteger(int(v.rawInt()));
    double d = v.toDouble();
    if (digits == 0) {
        d = std::nearbyint(d);
    } else if (digits < 16) {
        const double p = std::pow(10.0, digits);
        const double scaled = d * p;
        // work on the decimal text so that 2.675 rounds as written
        const double r = std::nearbyint(std::stod(QString::number(scaled, 'g', 15).toStdString()));
        d = r / p;
    }
    switch (v.type()) {
    case Variant::Single: return V::fromSingle(float(d));
    case Variant::Currency: return V::fromCurrencyRaw(std::int64_t(std::nearbyint(d * 10000)));
    case Variant::Date: return V::fromDate(d);
    default: return V::fromDouble(d);
    }
}

double num(const Variant &v)
{
    Variant x = val(v);
    if (x.isNull())
        throwScriptError(ScriptErrors::InvalidUseOfNull);
    return x.toDouble();
}

V fSqr(VbEngine &, V *a, int)
{
    const double d = num(a[0]);
    if (d < 0)
        invalid();
    return V::fromDouble(std::sqrt(d));
}
V fExp(VbEngine &, V *a, int)
{
    const double r = std::exp(num(a[0]));
    if (!std::isfinite(r))
        throwScriptError(ScriptErrors::Overflow);
    return V::fromDouble(r);
}
V fLog(VbEngine &, V *a, int)
{
    const double d = num(a[0]);
    if (d <= 0)
        invalid();
    return V::fromDouble(std::log(d));
}
V fSin(VbEngine &, V *a, int) { return V::fromDouble(std::sin(num(a[0]))); }
V fCos(VbEngine &, V *a, int) { return V::fromDouble(std::cos(num(a[0]))); }
V fTan(VbEngine &, V *a, int) { return V::fromDouble(std::tan(num(a[0]))); }
V fAtn(VbEngine &, V *a, int) { return V::fromDouble(std::atan(num(a[0]))); }

// The runtime's generator: a 24-bit linear congruence whose state is the
// last number times 2^24. A negative argument first makes the state from the
// bits of the number as a Single; 0 repeats the last number.
V fRnd(VbEngine &e, V *a, int n)
{
    if (has(a, n, 0)) {
        const double d = num(a[0]);
        if (d == 0)
            return V::fromSingle(float(double(e.rndSeed) / 16777216.0));
        if (d < 0) {
            const float f = float(d);
            std::uint32_t bits;
            std::memcpy(&bits, &f, 4);
            e.rndSeed = (bits + (bits >> 24)) & 0xFFFFFF;
        }
    }
    e.rndSeed = (e.rndSeed * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu;
    return V::fromSingle(float(double(e.rndSeed) / 16777216.0));
}

// Mixes the high half of the number as a Double into the middle bits of the
// state, so that the same number after the same history repeats a sequence.
V fRandomize(VbEngine &e, V *a, int n)
{
    double d;
    if (has(a, n, 0))
        d = num(a[0]);
    else
        d = double(float(double(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0)); // Timer, a Single
    std::uint64_t bits;
    std::memcpy(&bits, &d, 8);
    std::uint32_t hi = std::uint32_t(bits >> 32);
    hi = ((hi & 0xFFFF) ^ (hi >> 16)) << 8;
    e.rndSeed = (e.rndSeed & 0xFF0000FFu) | (hi & 0xFFFF00u);
    return V();
}

// ---- dates ----

double dateArg(const Variant &v)
{
    Variant x = val(v);
    if (x.isNull())
        throwScriptError(ScriptErrors::InvalidUseOfNull);
    return x.toDate();
}

void parts(double d, int &y, int &m, int &dd, int &h, int &mi, int &s)
{
    DateUtil::split(d, y, m, dd, h, mi, s);
}

V fNow(VbEngine &, V *, int) { return V::fromDate(DateUtil::now()); }
V fDate(VbEngine &, V *, int) { return V::fromDate(std::floor(DateUtil::now())); }
V fTime(VbEngine &, V *, int)
{
    const double n = DateUtil::now();
    return V::fromDate(n - std::floor(n));
}
V fTimer(VbEngine &, V *, int)
{
    const QTime t = QTime::currentTime();
    return V::fromSingle(float(t.msecsSinceStartOfDay() / 1000.0));
}

#define DATEPART_FN(fname, expr) \
    V fname(VbEngine &, V *a, int) \
    { \
        if (val(a[0]).isNull()) return V::null(); \
        int y, m, d, h, mi, s; \
        parts(dateArg(a[0]), y, m, d, h, mi, s); \
        return V::fromInteger(expr); \
    }
DATEPART_FN(fYear, y)
DATEPART_FN(fMonth, m)
DATEPART_FN(fDay, d)
DATEPART_FN(fHour, h)
DATEPART_FN(fMinute, mi)
DATEPART_FN(fSecond, s)

int firstDay(V *a, int n, int i)
{
    if (!has(a, n, i))
        return 1;
    int f = lng(a[i]);
    if (f < 0 || f > 7)
        invalid();
    return f == 0 ? 1 : f;
}

V fWeekday(VbEngine &, V *a, int n)
{
    if (val(a[0]).isNull()) return V::null();
    const int first = firstDay(a, n, 1);
    const int w = DateUtil::weekday(dateArg(a[0]));
    return V::fromInteger((w - first + 7) % 7 + 1);
}

V fDateSerial(VbEngine &, V *a, int)
{
    return V::fromDate(DateUtil::serial(lng(a[0]), lng(a[1]), lng(a[2])));
}

V fTimeSerial(VbEngine &, V *a, int)
{
    const long long secs = (long long)lng(a[0]) * 3600 + (long long)lng(a[1]) * 60 + lng(a[2]);
    const double r = DateUtil::fromSeconds(secs);
    if (!DateUtil::inRange(r))
        invalid();
    return V::fromDate(r);
}

V fDateValue(VbEngine &, V *a, int)
{
    if (val(a[0]).isNull()) return V::null();
    return V::fromDate(std::trunc(dateArg(a[0])));
}

V fTimeValue(VbEngine &, V *a, int)
{
    if (val(a[0]).isNull()) return V::null();
    const double d = dateArg(a[0]);
    return V::fromDate(std::fabs(d - std::trunc(d)));
}

QString intervalOf(const Variant &v)
{
    return str(v).toLower();
}

double addMonths(double d, int months)
{
    int y, m, dd, h, mi, s;
    parts(d, y, m, dd, h, mi, s);
    long long total = (long long)y * 12 + (m - 1) + months;
    int ny = int(std::floor(double(total) / 12.0));
    int nm = int(total - (long long)ny * 12) + 1;
    if (ny < 100 || ny > 9999)
        invalid();
    const int dim = QDate(ny, nm, 1).daysInMonth();
    const double base = DateUtil::serial(ny, nm, std::min(dd, dim));
    const double t = DateUtil::timeSerial(h, mi, s);
    return base >= 0 ? base + t : base - t;
}

V fDateAdd(VbEngine &, V *a, int)
{
    const QString iv = intervalOf(a[0]);
    const double number = num(a[1]);
    if (val(a[2]).isNull())
        return V::null();
    const double d = dateArg(a[2]);
    const int k = int(std::trunc(number));
    double r;
    if (iv == QLatin1String("yyyy"))
        r = addMonths(d, k * 12);
    else if (iv == QLatin1String("q"))
        r = addMonths(d, k * 3);
    else if (iv == QLatin1String("m"))
        r = addMonths(d, k);
    else if (iv == QLatin1String("y") || iv == QLatin1String("d") || iv == QLatin1String("w"))
        r = d + k;
    else if (iv == QLatin1String("ww"))
        r = d + 7.0 * k;
    else if (iv == QLatin1String("h") || iv == QLatin1String("n") || iv == QLatin1String("s")) {
        const long long unit = iv == QLatin1String("h") ? 3600 : iv == QLatin1String("n") ? 60 : 1;
        r = DateUtil::fromSeconds(DateUtil::toSeconds(d) + (long long)k * unit);
    } else {
        invalid();
    }
    if (!DateUtil::inRange(r))
        invalid();
    return V::fromDate(r);
}

long long secondsOf(double d)
{
    return DateUtil::toSeconds(d);
}

long long floorDiv(long long a, long long b)
{
    long long q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

V fDateDiff(VbEngine &, V *a, int n)
{
    const QString iv = intervalOf(a[0]);
    if (val(a[1]).isNull() || val(a[2]).isNull())
        return V::null();
    const double d1 = dateArg(a[1]), d2 = dateArg(a[2]);
    const int first = firstDay(a, n, 3);
    int y1, m1, dd1, h1, mi1, s1, y2, m2, dd2, h2, mi2, s2;
    parts(d1, y1, m1, dd1, h1, mi1, s1);
    parts(d2, y2, m2, dd2, h2, mi2, s2);
    const long long t1 = secondsOf(d1), t2 = secondsOf(d2);
    long long r;
    if (iv == QLatin1String("yyyy"))
        r = y2 - y1;
    else if (iv == QLatin1String("q"))
        r = (y2 * 4 + (m2 - 1) / 3) - (y1 * 4 + (m1 - 1) / 3);
    else if (iv == QLatin1String("m"))
        r = (y2 * 12 + m2) - (y1 * 12 + m1);
    else if (iv == QLatin1String("y") || iv == QLatin1String("d"))
        r = floorDiv(t2, 86400) - floorDiv(t1, 86400);
    else if (iv == QLatin1String("w"))
        r = (floorDiv(t2, 86400) - floorDiv(t1, 86400)) / 7;
    else if (iv == QLatin1String("ww")) {
        // number of first-days-of-week crossed
        const long long day1 = floorDiv(t1, 86400), day2 = floorDiv(t2, 86400);
        auto weekStart = [first](long long day) {
            // day 0 (30 Dec 1899) was a Saturday (7)
            const long long w = ((day + 6) % 7 + 7) % 7 + 1;
            const long long offset = (w - first + 7) % 7;
            return day - offset;
        };
        r = (weekStart(day2) - weekStart(day1)) / 7;
    } else if (iv == QLatin1String("h"))
        r = floorDiv(t2, 3600) - floorDiv(t1, 3600);
    else if (iv == QLatin1String("n"))
        r = floorDiv(t2, 60) - floorDiv(t1, 60);
    else if (iv == QLatin1String("s"))
        r = t2 - t1;
    else
        invalid();
    return V::fromNumber(r).type() == Variant::Integer ? V::fromLong(std::int32_t(r)) : V::fromNumber(r);
}

V fDatePart(VbEngine &, V *a, int n)
{
    const QString iv = intervalOf(a[0]);
    if (val(a[1]).isNull())
        return V::null();
    const double d = dateArg(a[1]);
    const int first = firstDay(a, n, 2);
    int y, m, dd, h, mi, s;
    parts(d, y, m, dd, h, mi, s);
    int r;
    if (iv == QLatin1String("yyyy")) r = y;
    else if (iv == QLatin1String("q")) r = (m - 1) / 3 + 1;
    else if (iv == QLatin1String("m")) r = m;
    else if (iv == QLatin1String("y")) r = QDate(y, m, dd).dayOfYear();
    else if (iv == QLatin1String("d")) r = dd;
    else if (iv == QLatin1String("w")) r = (DateUtil::weekday(d) - first + 7) % 7 + 1;
    else if (iv == QLatin1String("ww")) {
        const int jan1 = (DateUtil::weekday(DateUtil::serial(y, 1, 1)) - first + 7) % 7; // days since week start
        r = (QDate(y, m, dd).dayOfYear() - 1 + jan1) / 7 + 1;
    } else if (iv == QLatin1String("h")) r = h;
    else if (iv == QLatin1String("n")) r = mi;
    else if (iv == QLatin1String("s")) r = s;
    else invalid();
    return V::fromInteger(r);
}

const char *const monthNames[] = {"一月", "二月", "三月", "四月", "五月", "六月", "七月", "八月", "九月", "十月", "十一月", "十二月"};
const char *const dayNames[] = {"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"};
const char *const dayShort[] = {"周日", "周一", "周二", "周三", "周四", "周五", "周六"};

V fMonthName(VbEngine &, V *a, int)
{
    const int m = lng(a[0]);
    if (m < 1 || m > 12)
        invalid();
    return V::fromString(QString::fromUtf8(monthNames[m - 1]));
}

V fWeekdayName(VbEngine &, V *a, int n)
{
    const int w = lng(a[0]);
    const bool abbrev = has(a, n, 1) && val(a[1]).toBool();
    const int first = firstDay(a, n, 2);
    if (w < 1 || w > 7)
        invalid();
    const int idx = (w - 1 + first - 1) % 7;
    return V::fromString(QString::fromUtf8(abbrev ? dayShort[idx] : dayNames[idx]));
}

V fFormatDateTime(VbEngine &, V *a, int n)
{
    if (val(a[0]).isNull())
        return V::null();
    const double d = dateArg(a[0]);
    const int fmt = has(a, n, 1) ? lng(a[1]) : 0;
    int y, m, dd, h, mi, s;
    parts(d, y, m, dd, h, mi, s);
    switch (fmt) {
    case 0: return V::fromString(Variant::formatDate(d));
    case 1: return V::fromString(QStringLiteral("%1年%2月%3日").arg(y).arg(m).arg(dd));
    case 2: return V::fromString(QStringLiteral("%1/%2/%3").arg(y).arg(m).arg(dd));
    case 3: return V::fromString(QStringLiteral("%1:%2:%3").arg(h).arg(mi, 2, 10, QLatin1Char('0')).arg(s, 2, 10, QLatin1Char('0')));
    case 4: return V::fromString(QStringLiteral("%1:%2").arg(h, 2, 10, QLatin1Char('0')).arg(mi, 2, 10, QLatin1Char('0')));
    default: invalid();
    }
}

// ---- formatting ----

QString formatNumber(double value, int digits, int leading, int parens, int group)
{
    if (digits == -1)
        digits = 2;
    if (digits < 0 || digits > 99)
        invalid();
    const bool neg = value < 0;
    double a = std::fabs(value);
    // half away from zero on the decimal text
    const double p = std::pow(10.0, digits);
    double scaled = std::stod(QString::number(a * p, 'g', 15).toStdString());
    scaled = std::floor(scaled + 0.5);
    QString digitsText = QString::number(scaled, 'f', 0);
    while (digitsText.size() <= digits)
        digitsText.prepend(QLatin1Char('0'));
    QString intPart = digitsText.left(digitsText.size() - digits);
    const QString frac = digitsText.right(digits);
    if (intPart == QLatin1String("0") && leading == 0)
        intPart.clear();
    if (group != 0) {
        QString g;
        for (qsizetype i = 0; i < intPart.size(); ++i) {
            if (i && (intPart.size() - i) % 3 == 0)
                g += QLatin1Char(',');
            g += intPart[i];
        }
        intPart = g;
    }
    QString out = intPart;
    if (digits > 0)
        out += QLatin1Char('.') + frac;
    const bool isZero = scaled == 0;
    if (neg && !isZero)
        out = parens == -1 ? QLatin1Char('(') + out + QLatin1Char(')') : QLatin1Char('-') + out;
    return out;
}

int optInt(V *a, int n, int i, int def)
{
    return has(a, n, i) ? lng(a[i]) : def;
}

V fFormatNumber(VbEngine &, V *a, int n)
{
    Variant v = val(a[0]);
    if (v.isNull())
        return v;
    return V::fromString(formatNumber(v.toDouble(), optInt(a, n, 1, -1), optInt(a, n, 2, -2), optInt(a, n, 3, -2), optInt(a, n, 4, -2)));
}

V fFormatCurrency(VbEngine &, V *a, int n)
{
    Variant v = val(a[0]);
    if (v.isNull())
        return v;
    const double d = v.toDouble();
    QString s = formatNumber(std::fabs(d), optInt(a, n, 1, -1), optInt(a, n, 2, -2), 0, optInt(a, n, 4, -2));
    s = QStringLiteral("¥") + s;
    if (d < 0 && s != formatNumber(0, optInt(a, n, 1, -1), -2, 0, -2))
        s = optInt(a, n, 3, -2) == -1 ? QLatin1Char('(') + s + QLatin1Char(')') : QLatin1Char('-') + s;
    return V::fromString(s);
}

V fFormatPercent(VbEngine &, V *a, int n)
{
    Variant v = val(a[0]);
    if (v.isNull())
        return v;
    return V::fromString(formatNumber(v.toDouble() * 100, optInt(a, n, 1, -1), optInt(a, n, 2, -2), optInt(a, n, 3, -2), optInt(a, n, 4, -2)) + QLatin1Char('%'));
}

// ---- arrays and types ----

V fArray(VbEngine &, V *a, int n)
{
    VariantList items;
    for (int i = 0; i < n; ++i)
        items.push_back(a[i]);
    return V::fromArray(ScriptArray::fromList(items));
}

V bound(V *a, int n, bool upper)
{
    ScriptArray *arr = arrayArg(a[0]);
    const int dim = has(a, n, 1) ? lng(a[1]) : 1;
    if (dim < 1 || dim > arr->dims())
        throwScriptError(ScriptErrors::SubscriptOutOfRange);
    return V::fromLong(upper ? arr->ubound(dim - 1) : arr->lbound(dim - 1));
}
V fUBound(VbEngine &, V *a, int n) { return bound(a, n, true); }
V fLBound(VbEngine &, V *a, int n) { return bound(a, n, false); }

V fIsArray(VbEngine &, V *a, int) { return V::fromBool(a[0].deref().isArray()); }
V fIsEmpty(VbEngine &, V *a, int) { return V::fromBool(a[0].deref().isEmpty()); }
V fIsNull(VbEngine &, V *a, int) { return V::fromBool(a[0].deref().isNull()); }
V fIsObject(VbEngine &, V *a, int) { return V::fromBool(a[0].deref().isObject()); }
V fIsNumeric(VbEngine &, V *a, int)
{
    const Variant &v = a[0].deref();
    switch (v.type()) {
    case Variant::Empty: case Variant::Integer: case Variant::Long: case Variant::Single: case Variant::Double:
    case Variant::Currency: case Variant::Boolean: case Variant::Byte:
        return V::fromBool(true);
    case Variant::String: {
        double d;
        return V::fromBool(Variant::parseNumber(v.rawString(), d));
    }
    case Variant::Object:
        if (v.rawObject()) {
            try {
                Variant x = v.valueOf();
                double d;
                if (x.isString())
                    return V::fromBool(Variant::parseNumber(x.rawString(), d));
                return V::fromBool(x.isNumericType() && x.type() != Variant::Date);
            } catch (const ScriptException &) {
            }
        }
        return V::fromBool(false);
    default:
        return V::fromBool(false);
    }
}
V fIsDate(VbEngine &, V *a, int)
{
    const Variant &v = a[0].deref();
    if (v.type() == Variant::Date)
        return V::fromBool(true);
    if (v.isString()) {
        double d;
        return V::fromBool(Variant::parseDate(v.rawString(), d));
    }
    return V::fromBool(false);
}
V fTypeName(VbEngine &, V *a, int) { return V::fromString(VariantNames::typeName(a[0])); }
V fVarType(VbEngine &, V *a, int) { return V::fromInteger(VariantNames::varType(a[0])); }

// ---- host, code and objects ----

V fMsgBox(VbEngine &e, V *a, int n)
{
    if (!e.opts().allowUi || !e.opts().ui)
        throwScriptError(70);
    const QString prompt = str(a[0]);
    const int buttons = has(a, n, 1) ? lng(a[1]) : 0;
    const QString title = has(a, n, 2) ? str(a[2]) : QStringLiteral("VBScript");
    ScriptClockPause pause;
    const int r = e.opts().ui->msgBox(prompt, buttons, title);
    e.checkAbort();
    return V::fromInteger(r);
}

V fInputBox(VbEngine &e, V *a, int n)
{
    if (!e.opts().allowUi || !e.opts().ui)
        throwScriptError(70);
    const QString prompt = str(a[0]);
    const QString title = has(a, n, 1) ? str(a[1]) : QStringLiteral("VBScript");
    const QString def = has(a, n, 2) ? str(a[2]) : QString();
    QString answer;
    ScriptClockPause pause;
    const bool ok = e.opts().ui->inputBox(prompt, title, def, answer);
    e.checkAbort();
    return ok ? V::fromString(answer) : V();
}

V fCreateObject(VbEngine &e, V *a, int)
{
    const QString id = str(a[0]);
    int err = 0;
    ObjectRef o = ScriptObjectFactory::create(id, e.opts().safeSubset, &err);
    if (!o)
        throwScriptError(err ? err : 429, ScriptErrors::description(err ? err : 429) + QStringLiteral(": '") + id + QLatin1Char('\''));
    e.track(o.get());
    return V::fromObject(o);
}

V fGetObject(VbEngine &, V *, int)
{
    throwScriptError(429);
}

V fEval(VbEngine &e, V *a, int)
{
    const QString code = str(a[0]);
    if (VbFrame *f = e.currentFrame())
        return e.evalIn(code, *f);
    return e.evaluate(code);
}

V fExecute(VbEngine &e, V *a, int)
{
    const QString code = str(a[0]);
    if (VbFrame *f = e.currentFrame())
        e.execute(code, *f);
    else
        e.executeGlobal(code);
    return V();
}

V fExecuteGlobal(VbEngine &e, V *a, int)
{
    try {
        e.executeGlobal(str(a[0]));
    } catch (const VbSyntaxError &s) {
        throwScriptError(s.number);
    }
    return V();
}

class ProcRef : public ScriptObject
{
public:
    ProcRef(VbEngine *e, VbProcedure *p, std::shared_ptr<bool> alive) : m_eng(e), m_proc(p), m_alive(std::move(alive)) {}
    Status invoke(const QString &name, int access, VariantList &args, Variant &result, ScriptError &error) override
    {
        if (!name.isEmpty() || (access & (Put | PutRef)))
            return UnknownName;
        if (!*m_alive)
            return fail(error, ScriptErrors::Unexpected);
        try {
            result = m_eng->callProcValues(m_proc, nullptr, args.data(), int(args.size()));
        } catch (const ScriptException &e) {
            error.number = e.number;
            error.description = e.description.isEmpty() ? ScriptErrors::description(e.number) : e.description;
            error.source = ScriptErrors::runtimeSource();
            return Failed;
        }
        return Ok;
    }

private:
    VbEngine *m_eng;
    VbProcedure *m_proc;
    std::shared_ptr<bool> m_alive;
};

V fGetRef(VbEngine &e, V *a, int)
{
    const QString name = str(a[0]);
    const VbEngine::GlobalSym *g = e.findGlobal(name.toLower());
    if (!g || g->kind != VbEngine::GlobalSym::Proc)
        invalid();
    return V::fromObject(ObjectRef(new ProcRef(&e, g->proc, e.aliveToken())));
}

V fScriptEngine(VbEngine &, V *, int) { return V::fromString(QStringLiteral("VBScript")); }
V fScriptMajor(VbEngine &, V *, int) { return V::fromLong(5); }
V fScriptMinor(VbEngine &, V *, int) { return V::fromLong(8); }
V fScriptBuild(VbEngine &, V *, int) { return V::fromLong(16384); }
V fRGB(VbEngine &, V *a, int)
{
    auto c = [](const Variant &v) {
        int x = lng(v);
        return x < 0 ? 0 : x > 255 ? 255 : x;
    };
    return V::fromLong(c(a[0]) + c(a[1]) * 256 + c(a[2]) * 65536);
}
V fGetLocale(VbEngine &, V *, int) { return V::fromLong(2052); }
V fSetLocale(VbEngine &, V *, int) { return V::fromLong(2052); }

const VbBuiltin table[] = {
    {"len", fLen, 1, 1}, {"lenb", fLenB, 1, 1}, {"left", fLeft, 2, 2}, {"right", fRight, 2, 2},
    {"mid", fMid, 2, 3}, {"instr", fInStr, 2, 4}, {"instrrev", fInStrRev, 2, 4},
    {"replace", fReplace, 3, 6}, {"split", fSplit, 1, 4}, {"join", fJoin, 1, 2},
    {"filter", fFilter, 2, 4}, {"trim", fTrim, 1, 1}, {"ltrim", fLTrim, 1, 1}, {"rtrim", fRTrim, 1, 1},
    {"lcase", fLCase, 1, 1}, {"ucase", fUCase, 1, 1}, {"space", fSpace, 1, 1}, {"string", fString, 2, 2},
    {"strcomp", fStrComp, 2, 3}, {"strreverse", fStrReverse, 1, 1}, {"chr", fChr, 1, 1},
    {"chrw", fChrW, 1, 1}, {"chrb", fChrB, 1, 1}, {"asc", fAsc, 1, 1}, {"ascw", fAscW, 1, 1}, {"ascb", fAscB, 1, 1}, {"leftb", fLeftB, 2, 2}, {"rightb", fRightB, 2, 2},
    {"midb", fMidB, 2, 3}, {"instrb", fInStrB, 2, 4},
    {"hex", fHex, 1, 1}, {"oct", fOct, 1, 1}, {"escape", fEscape, 1, 1}, {"unescape", fUnescape, 1, 1},
    {"cstr", fCStr, 1, 1, true}, {"cint", fCInt, 1, 1, true}, {"clng", fCLng, 1, 1, true},
    {"cdbl", fCDbl, 1, 1, true}, {"csng", fCSng, 1, 1, true}, {"cbool", fCBool, 1, 1, true},
    {"cbyte", fCByte, 1, 1, true}, {"ccur", fCCur, 1, 1, true}, {"cdate", fCDate, 1, 1, true}, {"int", fInt, 1, 1}, {"fix", fFix, 1, 1}, {"abs", fAbs, 1, 1},
    {"sgn", fSgn, 1, 1}, {"round", fRound, 1, 2}, {"sqr", fSqr, 1, 1}, {"exp", fExp, 1, 1},
    {"log", fLog, 1, 1}, {"sin", fSin, 1, 1}, {"cos", fCos, 1, 1}, {"tan", fTan, 1, 1}, {"atn", fAtn, 1, 1},
    {"rnd", fRnd, 0, 1}, {"randomize", fRandomize, 0, 1},
    {"now", fNow, 0, 0}, {"date", fDate, 0, 0}, {"time", fTime, 0, 0}, {"timer", fTimer, 0, 0},
    {"year", fYear, 1, 1}, {"month", fMonth, 1, 1}, {"day", fDay, 1, 1}, {"hour", fHour, 1, 1},
    {"minute", fMinute, 1, 1}, {"second", fSecond, 1, 1}, {"weekday", fWeekday, 1, 2},
    {"dateserial", fDateSerial, 3, 3}, {"timeserial", fTimeSerial, 3, 3}, {"datevalue", fDateValue, 1, 1},
    {"timevalue", fTimeValue, 1, 1}, {"dateadd", fDateAdd, 3, 3}, {"datediff", fDateDiff, 3, 5},
    {"datepart", fDatePart, 2, 4}, {"monthname", fMonthName, 1, 2}, {"weekdayname", fWeekdayName, 1, 3},
    {"formatdatetime", fFormatDateTime, 1, 2}, {"formatnumber", fFormatNumber, 1, 5},
    {"formatcurrency", fFormatCurrency, 1, 5}, {"formatpercent", fFormatPercent, 1, 5},
    {"array", fArray, 0, std::numeric_limits<int>::max()}, {"ubound", fUBound, 1, 2}, {"lbound", fLBound, 1, 2},
    {"isarray", fIsArray, 1, 1}, {"isempty", fIsEmpty, 1, 1}, {"isnull", fIsNull, 1, 1},
    {"isobject", fIsObject, 1, 1}, {"isnumeric", fIsNumeric, 1, 1}, {"isdate", fIsDate, 1, 1},
    {"typename", fTypeName, 1, 1}, {"vartype", fVarType, 1, 1},
    {"msgbox", fMsgBox, 1, 5}, {"inputbox", fInputBox, 1, 7}, {"createobject", fCreateObject, 1, 2},
    {"getobject", fGetObject, 0, 2}, {"eval", fEval, 1, 1}, {"execute", fExecute, 1, 1},
    {"executeglobal", fExecuteGlobal, 1, 1}, {"getref", fGetRef, 1, 1},
    {"scriptengine", fScriptEngine, 0, 0}, {"scriptenginemajorversion", fScriptMajor, 0, 0},
    {"scriptengineminorversion", fScriptMinor, 0, 0}, {"scriptenginebuildversion", fScriptBuild, 0, 0},
    {"rgb", fRGB, 3, 3}, {"getlocale", fGetLocale, 0, 0}, {"setlocale", fSetLocale, 0, 1},
};

} // namespace

const VbBuiltin *VbEngine::builtin(const QString &lower)
{
    static const QHash<QString, const VbBuiltin *> map = [] {
        QHash<QString, const VbBuiltin *> m;
        for (const VbBuiltin &b : table)
            m.insert(QString::fromLatin1(b.name), &b);
        return m;
    }();
    return map.value(lower, nullptr);
}

Variant vbCreateBuiltinObject(VbEngine &eng, const QString &progId)
{
    int err = 0;
    ObjectRef o = ScriptObjectFactory::create(progId, false, &err);
    if (!o)
        throwScriptError(429);
    eng.track(o.get());
    return Variant::fromObject(o);
}
