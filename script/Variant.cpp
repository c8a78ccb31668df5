#include "Variant.h"

#include "DateUtil.h"
#include "ScriptArray.h"

#include <QRegularExpression>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

// Arrays released while another array is being freed wait here, so that
// arrays nested a million deep free without recursion.
thread_local int t_freeing = 0;
thread_local std::vector<ScriptArray *> t_pendingArrays;

void freeArray(ScriptArray *a)
{
    if (t_freeing > 0) {
        t_pendingArrays.push_back(a);
        return;
    }
    ++t_freeing;
    delete a;
    while (!t_pendingArrays.empty()) {
        ScriptArray *p = t_pendingArrays.back();
        t_pendingArrays.pop_back();
        delete p;
    }
    --t_freeing;
}

double roundHalfEven(double v)
{
    const double r = std::nearbyint(v); // default rounding mode: to nearest, ties to even
    return r;
}

} // namespace

void Variant::swap(Variant &o) noexcept
{
    U tmp;
    std::memcpy(static_cast<void *>(&tmp), &m_u, sizeof(U));
    std::memcpy(static_cast<void *>(&m_u), &o.m_u, sizeof(U));
    std::memcpy(static_cast<void *>(&o.m_u), &tmp, sizeof(U));
    std::swap(m_type, o.m_type);
}

void Variant::copyFrom(const Variant &o)
{
    m_type = o.m_type;
    switch (m_type) {
    case String:
        new (m_u.s) QString(o.rawString());
        break;
    case Object:
        m_u.o = o.m_u.o;
        if (m_u.o)
            m_u.o->ref();
        break;
    case Array:
        if (o.m_u.a && o.m_u.a->locks > 0) {
            // Elements of the source are bound to ByRef parameters: take a copy
            // now so that writes through them do not show in this value.
            auto *a = new ScriptArray(*o.m_u.a);
            a->locks = 0;
            a->refs = 1;
            a->fixed = false;
            m_u.a = a;
        } else {
            m_u.a = o.m_u.a;
            if (m_u.a)
                m_u.a->refs++;
        }
        break;
    default:
        std::memcpy(static_cast<void *>(&m_u), &o.m_u, sizeof(U));
        break;
    }
}

void Variant::release()
{
    switch (m_type) {
    case String:
        rawString().~QString();
        break;
    case Object:
        if (m_u.o)
            m_u.o->deref();
        break;
    case Array:
        if (m_u.a && m_u.a->refs-- == 1)
            freeArray(m_u.a);
        break;
    default:
        break;
    }
    m_type = Empty;
}

void Variant::dropArrayRef(ScriptArray *a)
{
    if (a && a->refs-- == 1)
        freeArray(a);
}

Variant Variant::fromString(const QString &s)
{
    Variant v;
    v.m_type = String;
    new (v.m_u.s) QString(s);
    return v;
}

Variant Variant::fromString(QString &&s)
{
    Variant v;
    v.m_type = String;
    new (v.m_u.s) QString(std::move(s));
    return v;
}

Variant Variant::fromObject(const ObjectRef &o)
{
    Variant v;
    v.m_type = Object;
    v.m_u.o = o.get();
    if (v.m_u.o)
        v.m_u.o->ref();
    return v;
}

Variant Variant::fromArray(ScriptArray *a)
{
    Variant v;
    v.m_type = Array;
    v.m_u.a = a;
    if (a)
        a->refs++;
    return v;
}

Variant Variant::fromNumber(std::int64_t n)
{
    if (n >= -32768 && n <= 32767)
        return fromInteger(int(n));
    if (n >= std::numeric_limits<std::int32_t>::min() && n <= std::numeric_limits<std::int32_t>::max())
        return fromLong(std::int32_t(n));
    return fromDouble(double(n));
}

bool Variant::isNumericType() const
{
    switch (m_type) {
    case Empty: case Integer: case Long: case Single: case Double: case Currency:
    case Date: case Boolean: case Byte:
        return true;
    default:
        return false;
    }
}

void Variant::setArrayWritable()
{
    if (m_type != Array || !m_u.a)
        return;
    // A locked array was made private before its first element was bound
    // ByRef; the extra references are the bindings' own.
    if (m_u.a->refs > 1 && m_u.a->locks == 0) {
        auto *a = new ScriptArray(*m_u.a);
        a->locks = 0;
        a->refs = 1;
        m_u.a->refs--;
        m_u.a = a;
    }
}

Variant Variant::valueOf() const
{
    const Variant &v = deref();
    if (v.m_type != Object)
        return v;
    if (!v.m_u.o)
        throwScriptError(ScriptErrors::ObjectNotSet);
    VariantList args;
    Variant result;
    ScriptError err;
    ObjectRef keep(v.m_u.o);
    switch (keep->invoke(QString(), ScriptObject::Get | ScriptObject::Call, args, result, err)) {
    case ScriptObject::Ok:
        if (result.m_type == Object)
            throwScriptError(ScriptErrors::NoSuchMember);
        return result;
    case ScriptObject::UnknownName:
        throwScriptError(ScriptErrors::NoSuchMember);
    case ScriptObject::Failed:
        throw ScriptException{err.number, err.description, err.source};
    }
    return result;
}

double Variant::toDouble() const
{
    const Variant &v = deref();
    switch (v.m_type) {
    case Empty: return 0;
    case Null: throwScriptError(ScriptErrors::InvalidUseOfNull);
    case Integer: case Long: case Byte: case Boolean: return double(v.m_u.i);
    case Single: case Double: case Date: return v.m_u.d;
    case Currency: return double(v.m_u.i) / 10000.0;
    case String: {
        double d;
        if (parseNumber(v.rawString(), d))
            return d;
        throwScriptError(ScriptErrors::TypeMismatch);
    }
    case Object: return v.valueOf().toDouble();
    default: throwScriptError(ScriptErrors::TypeMismatch);
    }
}

std::int32_t Variant::toLong() const
{
    const Variant &v = deref();
    if (v.m_type == Long || v.m_type == Integer || v.m_type == Byte || v.m_type == Boolean)
        return std::int32_t(v.m_u.i);
    if (v.m_type == Currency) {
        const double r = roundHalfEven(double(v.m_u.i) / 10000.0);
        if (r < -2147483648.0 || r > 2147483647.0)
            throwScriptError(ScriptErrors::Overflow);
        return std::int32_t(r);
    }
    const double d = v.toDouble();
    if (std::isnan(d))
        throwScriptError(ScriptErrors::Overflow);
    const double r = roundHalfEven(d);
    if (r < -2147483648.0 || r > 2147483647.0)
        throwScriptError(ScriptErrors::Overflow);
    return std::int32_t(r);
}

std::int16_t Variant::toInteger() const
{
    const double r = (deref().isIntegral()) ? double(deref().m_u.i) : roundHalfEven(toDouble());
    if (!(r >= -32768.0 && r <= 32767.0))
        throwScriptError(ScriptErrors::Overflow);
    return std::int16_t(r);
}

bool Variant::toBool() const
{
    const Variant &v = deref();
    switch (v.m_type) {
    case Boolean: case Integer: case Long: case Byte: case Currency: return v.m_u.i != 0;
    case Empty: return false;
    case Single: case Double: case Date: return v.m_u.d != 0;
    case Null: throwScriptError(ScriptErrors::InvalidUseOfNull);
    case String: {
        bool b;
        if (parseBool(v.rawString(), b))
            return b;
        double d;
        if (parseNumber(v.rawString(), d) || parseDateText(v.rawString(), d))
            return d != 0;
        throwScriptError(ScriptErrors::TypeMismatch);
    }
    case Object: return v.valueOf().toBool();
    default: throwScriptError(ScriptErrors::TypeMismatch);
    }
}

QString Variant::toString() const
{
    const Variant &v = deref();
    switch (v.m_type) {
    case Empty: return QString();
    case Null: throwScriptError(ScriptErrors::InvalidUseOfNull);
    case Boolean: return v.m_u.i ? QStringLiteral("True") : QStringLiteral("False");
    case Integer: case Long: case Byte: return QString::number(v.m_u.i);
    case Single: return formatDouble(v.m_u.d, 7);
    case Double: return formatDouble(v.m_u.d, 15);
    case Currency: return formatCurrency(v.m_u.i);
    case Date: return formatDate(v.m_u.d);
    case String: return v.rawString();
    case Error: return QStringLiteral("Error %1").arg(v.m_u.i);
    case Object: return v.valueOf().toString();
    default: throwScriptError(ScriptErrors::TypeMismatch);
    }
}

QString Variant::displayText() const
{
    const Variant &v = deref();
    if (v.m_type == Null)
        return QStringLiteral("Null");
    if (v.m_type == Object && !v.m_u.o)
        throwScriptError(ScriptErrors::ObjectNotSet);
    return v.toString();
}

double Variant::toDate() const
{
    const Variant &v = deref();
    switch (v.m_type) {
    case Date: return v.m_u.d;
    case String: {
        double d;
        if (parseDate(v.rawString(), d))
            return d;
        if (parseNumber(v.rawString(), d))
            return d;
        throwScriptError(ScriptErrors::TypeMismatch);
    }
    case Null: throwScriptError(ScriptErrors::InvalidUseOfNull);
    default: {
        const double d = v.toDouble();
        if (!DateUtil::inRange(d))
            throwScriptError(ScriptErrors::Overflow);
        return d;
    }
    }
}

std::int64_t Variant::toCurrencyRaw() const
{
    const Variant &v = deref();
    if (v.m_type == Currency)
        return v.m_u.i;
    const double d = v.toDouble() * 10000.0;
    if (!(d > -9.22337203685477e18 && d < 9.22337203685477e18))
        throwScriptError(ScriptErrors::Overflow);
    return std::int64_t(roundHalfEven(d));
}

ObjectRef Variant::toObject() const
{
    const Variant &v = deref();
    if (v.m_type != Object)
        throwScriptError(ScriptErrors::ObjectRequired);
    return ObjectRef(v.m_u.o);
}

QString Variant::formatDouble(double d, int digits)
{
    if (std::isnan(d))
        return QStringLiteral("NaN");
    if (std::isinf(d))
        return d > 0 ? QStringLiteral("Infinity") : QStringLiteral("-Infinity");
    if (d == 0)
        return QStringLiteral("0");
    // The significant digits and the power of ten of the first one.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", digits - 1, std::fabs(d));
    const char *e = std::strchr(buf, 'e');
    if (!e)
        return QString::fromLatin1(buf);
    const int exponent = std::atoi(e + 1);
    QByteArray mantissa;
    for (const char *p = buf; p < e; ++p) {
        if (*p != '.')
            mantissa += *p;
    }
    while (mantissa.size() > 1 && mantissa.endsWith('0'))
        mantissa.chop(1);
    const int n = int(mantissa.size());
    QByteArray out;
    if (d < 0)
        out += '-';
    // The fixed form is used while every digit lies within `digits` places of
    // the decimal point on either side; otherwise the exponent form.
    if (exponent < digits && exponent - n + 1 >= -digits) {
        if (exponent < 0) {
            out += "0.";
            out += QByteArray(-exponent - 1, '0');
            out += mantissa;
        } else if (n > exponent + 1) {
            out += mantissa.left(exponent + 1);
            out += '.';
            out += mantissa.mid(exponent + 1);
        } else {
            out += mantissa;
            out += QByteArray(exponent + 1 - n, '0');
        }
    } else {
        out += mantissa.left(1);
        if (n > 1) {
            out += '.';
            out += mantissa.mid(1);
        }
        out += 'E';
        out += exponent < 0 ? '-' : '+';
        const int a = std::abs(exponent);
        if (a < 10)
            out += '0';
        out += QByteArray::number(a);
    }
    return QString::fromLatin1(out);
}

QString Variant::formatCurrency(std::int64_t raw)
{
    const bool neg = raw < 0;
    const std::uint64_t a = neg ? std::uint64_t(0) - std::uint64_t(raw) : std::uint64_t(raw);
    QString s = QString::number(a / 10000);
    std::uint64_t frac = a % 10000;
    if (frac) {
        QString f = QString::number(frac).rightJustified(4, QLatin1Char('0'));
        while (f.endsWith(QLatin1Char('0')))
            f.chop(1);
        s += QLatin1Char('.') + f;
    }
    return neg ? QLatin1Char('-') + s : s;
}

QString Variant::formatDate(double d)
{
    int y, m, day, h, mi, s;
    DateUtil::split(d, y, m, day, h, mi, s);
    const bool hasDate = !(y == 1899 && m == 12 && day == 30);
    const bool hasTime = h || mi || s;
    QString out;
    if (hasDate)
        out = QStringLiteral("%1/%2/%3").arg(y).arg(m).arg(day);
    if (hasTime || !hasDate) {
        if (!out.isEmpty())
            out += QLatin1Char(' ');
        out += QStringLiteral("%1:%2:%3").arg(h).arg(mi, 2, 10, QLatin1Char('0')).arg(s, 2, 10, QLatin1Char('0'));
    }
    return out;
}

bool Variant::parseNumber(const QString &text, double &out)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    if (t.size() > 2 && t[0] == QLatin1Char('&')) {
        const QChar k = t[1].toUpper();
        int base = 0;
        int start = 2;
        if (k == QLatin1Char('H'))
            base = 16;
        else if (k == QLatin1Char('O'))
            base = 8;
        else if (k.isDigit()) {
            base = 8;
            start = 1;
        }
        if (!base)
            return false;
        bool ok = false;
        const qulonglong v = t.mid(start).toULongLong(&ok, base);
        if (!ok || v > 0xFFFFFFFFULL)
            return false;
        if (v <= 0xFFFF && t.size() - start <= (base == 16 ? 4 : 6))
            out = double(std::int16_t(std::uint16_t(v)));
        else
            out = double(std::int32_t(std::uint32_t(v)));
        return true;
    }
    // sign, digits with optional thousands separators, fraction, exponent
    int i = 0;
    const int n = int(t.size());
    QString norm;
    if (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))
        norm += t[i++];
    while (i < n && t[i].isSpace())
        ++i;
    bool digits = false;
    while (i < n && (t[i].isDigit() || (t[i] == QLatin1Char(',') && digits))) {
        if (t[i] != QLatin1Char(','))
            norm += t[i];
        digits = true;
        ++i;
    }
    if (i < n && t[i] == QLatin1Char('.')) {
        norm += t[i++];
        while (i < n && t[i].isDigit()) {
            norm += t[i++];
            digits = true;
        }
    }
    if (!digits)
        return false;
    if (i < n && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E') || t[i] == QLatin1Char('d') || t[i] == QLatin1Char('D'))) {
        norm += QLatin1Char('e');
        ++i;
        if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
            norm += t[i++];
        bool expDigits = false;
        while (i < n && t[i].isDigit()) {
            norm += t[i++];
            expDigits = true;
        }
        if (!expDigits)
            return false;
    }
    if (i != n)
        return false;
    bool ok = false;
    out = norm.toDouble(&ok);
    if (!ok || std::isinf(out))
        return false;
    return true;
}

bool Variant::parseDate(const QString &text, double &out)
{
    return DateUtil::parse(text, out);
}

bool Variant::parseBool(const QString &text, bool &out)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || t == QStringLiteral("真")
        || t.compare(QLatin1String("#true#"), Qt::CaseInsensitive) == 0) {
        out = true;
        return true;
    }
    if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 || t == QStringLiteral("假")
        || t.compare(QLatin1String("#false#"), Qt::CaseInsensitive) == 0) {
        out = false;
        return true;
    }
    return false;
}

bool Variant::parseDateText(const QString &text, double &out)
{
    const QString t = text.trimmed();
    if (t.size() > 2 && t.startsWith(QLatin1Char('#')) && t.endsWith(QLatin1Char('#')))
        return DateUtil::parse(t.mid(1, t.size() - 2), out);
    return DateUtil::parse(t, out);
}

namespace VariantNames {

QString typeName(const Variant &value)
{
    const Variant &v = value.deref();
    switch (v.type()) {
    case Variant::Empty: return QStringLiteral("Empty");
    case Variant::Null: return QStringLiteral("Null");
    case Variant::Integer: return QStringLiteral("Integer");
    case Variant::Long: return QStringLiteral("Long");
    case Variant::Single: return QStringLiteral("Single");
    case Variant::Double: return QStringLiteral("Double");
    case Variant::Currency: return QStringLiteral("Currency");
    case Variant::Date: return QStringLiteral("Date");
    case Variant::String: return QStringLiteral("String");
    case Variant::Object: return v.rawObject() ? v.rawObject()->typeName() : QStringLiteral("Nothing");
    case Variant::Error: return QStringLiteral("Error");
    case Variant::Boolean: return QStringLiteral("Boolean");
    case Variant::Byte: return QStringLiteral("Byte");
    case Variant::Array: return QStringLiteral("Variant()");
    default: return QStringLiteral("Unknown");
    }
}

int varType(const Variant &value)
{
    const Variant &v = value.deref();
    return int(v.type());
}

} // namespace VariantNames
