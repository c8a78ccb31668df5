#include "VariantOps.h"

#include "DateUtil.h"
#include "ScriptArray.h"
#include "VbEngine.h"

#include <cmath>
#include <limits>

namespace VariantOps {

namespace {

enum Rank { RByte = 1, RInteger = 2, RLong = 3, RSingle = 4, RDouble = 5, RCurrency = 6, RDate = 7 };

int rankOf(const Variant &v)
{
    switch (v.type()) {
    case Variant::Byte: return RByte;
    case Variant::Empty: case Variant::Boolean: case Variant::Integer: return RInteger;
    case Variant::Long: return RLong;
    case Variant::Single: return RSingle;
    case Variant::Double: case Variant::String: return RDouble;
    case Variant::Currency: return RCurrency;
    case Variant::Date: return RDate;
    default: throwScriptError(ScriptErrors::TypeMismatch);
    }
}

Variant fitInteger(std::int64_t r, int rank)
{
    if (rank == RByte && r >= 0 && r <= 255)
        return Variant::fromByte(int(r));
    if (rank <= RInteger && r >= -32768 && r <= 32767)
        return Variant::fromInteger(int(r));
    if (r >= std::numeric_limits<std::int32_t>::min() && r <= std::numeric_limits<std::int32_t>::max())
        return Variant::fromLong(std::int32_t(r));
    return Variant::fromDouble(double(r));
}

Variant fitReal(double r, int rank)
{
    if (rank == RSingle) {
        if (std::fabs(r) <= 3.402823466e38 || !std::isfinite(r))
            return Variant::fromSingle(float(r));
        return Variant::fromDouble(r);
    }
    if (!std::isfinite(r))
        throwScriptError(ScriptErrors::Overflow);
    return Variant::fromDouble(r);
}

Variant fitDate(double r)
{
    if (!DateUtil::inRange(r))
        throwScriptError(ScriptErrors::Overflow);
    return Variant::fromDate(r);
}

Variant fitCurrency(double scaled)
{
    if (!(scaled > -9.22337203685477e18 && scaled < 9.22337203685477e18))
        throwScriptError(ScriptErrors::Overflow);
    return Variant::fromCurrencyRaw(std::int64_t(std::nearbyint(scaled)));
}

std::int64_t intOf(const Variant &v)
{
    if (v.isIntegral())
        return v.rawInt();
    return v.toLong();
}

Variant arith(VbBinOp op, const Variant &a, const Variant &b)
{
    int ra = rankOf(a), rb = rankOf(b);
    int rank = std::max(ra, rb);
    if (rank == RCurrency && (ra == RSingle || ra == RDouble || rb == RSingle || rb == RDouble))
        rank = RDouble;
    // a Single holds a Long only approximately: the two make a Double
    if (rank == RSingle && (ra == RLong || rb == RLong))
        rank = RDouble;
    if (rank == RDate && op == VbBinOp::Mul)
        rank = RDouble;
    if (op == VbBinOp::Sub && ra == RDate && rb == RDate)
        return Variant::fromDouble(a.toDouble() - b.toDouble());
    if (rank <= RLong) {
        const std::int64_t x = a.rawInt(), y = b.rawInt();
        std::int64_t r = op == VbBinOp::Add ? x + y : op == VbBinOp::Sub ? x - y : x * y;
        return fitInteger(r, rank);
    }
    if (rank == RCurrency) {
        const std::int64_t x = a.toCurrencyRaw(), y = b.toCurrencyRaw();
        if (op == VbBinOp::Mul)
            return fitCurrency(double(x) * double(y) / 10000.0);
        std::int64_t r;
        if (op == VbBinOp::Add ? __builtin_add_overflow(x, y, &r) : __builtin_sub_overflow(x, y, &r))
            throwScriptError(ScriptErrors::Overflow);
        return Variant::fromCurrencyRaw(r);
    }
    const double x = a.toDouble(), y = b.toDouble();
    const double r = op == VbBinOp::Add ? x + y : op == VbBinOp::Sub ? x - y : x * y;
    if (rank == RDate)
        return fitDate(r);
    return fitReal(r, rank);
}

bool isStringLike(const Variant &v)
{
    return v.type() == Variant::String;
}

Variant logical(VbBinOp op, const Variant &a, const Variant &b)
{
    const bool an = a.isNull(), bn = b.isNull();
    if (an || bn) {
        if (an && bn)
            return Variant::null();
        const Variant &other = an ? b : a;
        const std::int64_t o = intOf(other);
        if (op == VbBinOp::And && o == 0)
            return other.type() == Variant::Boolean ? Variant::fromBool(false) : fitInteger(0, RInteger);
        if (op == VbBinOp::Or && o == -1)
            return other.type() == Variant::Boolean ? Variant::fromBool(true) : fitInteger(-1, RInteger);
        if (op == VbBinOp::Imp) {
            if (an && o == -1)
                return other.type() == Variant::Boolean ? Variant::fromBool(true) : fitInteger(-1, RInteger);
            if (bn && o == 0)
                return other.type() == Variant::Boolean ? Variant::fromBool(true) : fitInteger(-1, RInteger);
        }
        return Variant::null();
    }
    const bool bools = a.type() == Variant::Boolean && b.type() == Variant::Boolean;
    const std::int64_t x = intOf(a), y = intOf(b);
    std::int64_t r = 0;
    switch (op) {
    case VbBinOp::And: r = x & y; break;
    case VbBinOp::Or: r = x | y; break;
    case VbBinOp::Xor: r = x ^ y; break;
    case VbBinOp::Eqv: r = ~(x ^ y); break;
    case VbBinOp::Imp: r = (~x) | y; break;
    default: break;
    }
    if (bools)
        return Variant::fromBool(r != 0);
    const int ra = a.type() == Variant::Byte ? RByte : (a.type() == Variant::Empty || a.type() == Variant::Boolean || a.type() == Variant::Integer) ? RInteger : RLong;
    const int rb = b.type() == Variant::Byte ? RByte : (b.type() == Variant::Empty || b.type() == Variant::Boolean || b.type() == Variant::Integer) ? RInteger : RLong;
    const int rank = std::max(ra, rb);
    if (rank == RByte)
        return Variant::fromByte(int(r & 0xFF));
    if (rank == RInteger)
        return Variant::fromInteger(int(std::int16_t(r)));
    return Variant::fromLong(std::int32_t(r));
}

} // namespace

QString concat(const QString &a, const QString &b)
{
    if (a.size() + b.size() > VbEngine::MaxStringLength)
        throwScriptError(ScriptErrors::OutOfMemory);
    return a + b;
}

int compare(const Variant &av, const Variant &bv, bool textCompare)
{
    const Variant a = av.deref().isObject() ? av.deref().valueOf() : av.deref();
    const Variant b = bv.deref().isObject() ? bv.deref().valueOf() : bv.deref();
    if (a.isNull() || b.isNull())
        return 2;
    const bool as = a.isString(), bs = b.isString();
    if (as && bs) {
        const int c = a.rawString().compare(b.rawString(), textCompare ? Qt::CaseInsensitive : Qt::CaseSensitive);
        return c < 0 ? -1 : c > 0 ? 1 : 0;
    }
    if (as || bs) {
        const Variant &other = as ? b : a;
        if (other.isEmpty()) {
            const int c = as ? (a.rawString().isEmpty() ? 0 : 1) : (b.rawString().isEmpty() ? 0 : -1);
            return c;
        }
        if (!other.isNumericType())
            throwScriptError(ScriptErrors::TypeMismatch);
        // a number is less than any string
        return as ? 1 : -1;
    }
    if (!a.isNumericType() || !b.isNumericType())
        throwScriptError(ScriptErrors::TypeMismatch);
    if (a.isIntegral() && b.isIntegral()) {
        const std::int64_t x = a.rawInt(), y = b.rawInt();
        return x < y ? -1 : x > y ? 1 : 0;
    }
    if (a.type() == Variant::Currency && b.type() == Variant::Currency) {
        const std::int64_t x = a.rawInt(), y = b.rawInt();
        return x < y ? -1 : x > y ? 1 : 0;
    }
    const double x = a.toDouble(), y = b.toDouble();
    if (a.type() == Variant::Single || b.type() == Variant::Single) {
        if ((a.type() == Variant::Single || a.type() == Variant::Double) && (b.type() == Variant::Single || b.type() == Variant::Double)) {
            // Single against Double compares at single precision
            const float fx = float(x), fy = float(y);
            if (a.type() != b.type())
                return fx < fy ? -1 : fx > fy ? 1 : 0;
        }
    }
    return x < y ? -1 : x > y ? 1 : 0;
}

bool equals(const Variant &a, const Variant &b)
{
    return compare(a, b) == 0;
}

Variant binary(VbBinOp op, const Variant &av, const Variant &bv)
{
    if (op == VbBinOp::Is) {
        const Variant &a = av.deref(), &b = bv.deref();
        if (!a.isObject() || !b.isObject())
            throwScriptError(ScriptErrors::ObjectRequired);
        return Variant::fromBool(a.rawObject() == b.rawObject());
    }
    // fast path: whole numbers
    const Variant &ra = av.deref(), &rb = bv.deref();
    if ((ra.type() == Variant::Integer || ra.type() == Variant::Long)
        && (rb.type() == Variant::Integer || rb.type() == Variant::Long)) {
        const std::int64_t x = ra.rawInt(), y = rb.rawInt();
        const int rank = (ra.type() == Variant::Long || rb.type() == Variant::Long) ? RLong : RInteger;
        switch (op) {
        case VbBinOp::Add: return fitInteger(x + y, rank);
        case VbBinOp::Sub: return fitInteger(x - y, rank);
        case VbBinOp::Mul: return fitInteger(x * y, rank);
        case VbBinOp::Eq: return Variant::fromBool(x == y);
        case VbBinOp::Ne: return Variant::fromBool(x != y);
        case VbBinOp::Lt: return Variant::fromBool(x < y);
        case VbBinOp::Gt: return Variant::fromBool(x > y);
        case VbBinOp::Le: return Variant::fromBool(x <= y);
        case VbBinOp::Ge: return Variant::fromBool(x >= y);
        default: break;
        }
    }
    const Variant a = ra.isObject() ? ra.valueOf() : ra;
    const Variant b = rb.isObject() ? rb.valueOf() : rb;
    if (a.isArray() || b.isArray())
        throwScriptError(ScriptErrors::TypeMismatch);
    switch (op) {
    case VbBinOp::Concat: {
        if (a.isNull() && b.isNull())
            return Variant::null();
        const QString x = a.isNull() ? QString() : a.toString();
        const QString y = b.isNull() ? QString() : b.toString();
        return Variant::fromString(concat(x, y));
    }
    case VbBinOp::Add:
        if (a.isNull() || b.isNull())
            return Variant::null();
        if (isStringLike(a) && isStringLike(b))
            return Variant::fromString(concat(a.rawString(), b.rawString()));
        if (isStringLike(a) && b.isEmpty())
            return a;
        if (isStringLike(b) && a.isEmpty())
            return b;
        return arith(op, a, b);
    case VbBinOp::Sub:
    case VbBinOp::Mul:
        if (a.isNull() || b.isNull())
            return Variant::null();
        return arith(op, a, b);
    case VbBinOp::Div: {
        if (a.isNull() || b.isNull())
            return Variant::null();
        const double x = a.toDouble(), y = b.toDouble();
        if (y == 0) {
            if (x == 0)
                throwScriptError(ScriptErrors::Overflow);
            throwScriptError(ScriptErrors::DivisionByZero);
        }
        const double r = x / y;
        if (!std::isfinite(r))
            throwScriptError(ScriptErrors::Overflow);
        if (a.type() == Variant::Single && b.type() == Variant::Single)
            return Variant::fromSingle(float(r));
        return Variant::fromDouble(r);
    }
    case VbBinOp::IntDiv:
    case VbBinOp::Mod: {
        if (a.isNull() || b.isNull())
            return Variant::null();
        const std::int64_t x = intOf(a), y = intOf(b);
        if (y == 0)
            throwScriptError(ScriptErrors::DivisionByZero);
        const int rank = std::max(a.type() == Variant::Byte ? int(RByte) : (a.isIntegral() || a.isEmpty()) && a.type() != Variant::Long ? int(RInteger) : int(RLong),
                                  b.type() == Variant::Byte ? int(RByte) : (b.isIntegral() || b.isEmpty()) && b.type() != Variant::Long ? int(RInteger) : int(RLong));
        const std::int64_t r = op == VbBinOp::IntDiv ? x / y : x % y;
        return fitInteger(r, rank);
    }
    case VbBinOp::Pow: {
        if (a.isNull() || b.isNull())
            return Variant::null();
        const double x = a.toDouble(), y = b.toDouble();
        if (x == 0 && y < 0)
            throwScriptError(ScriptErrors::InvalidCall);
        if (x < 0 && y != std::floor(y))
            throwScriptError(ScriptErrors::InvalidCall);
        const double r = std::pow(x, y);
        if (!std::isfinite(r))
            throwScriptError(ScriptErrors::Overflow);
        return Variant::fromDouble(r);
    }
    case VbBinOp::Eq: case VbBinOp::Ne: case VbBinOp::Lt: case VbBinOp::Gt: case VbBinOp::Le: case VbBinOp::Ge: {
        const int c = compare(a, b);
        if (c == 2)
            return Variant::null();
        bool r = false;
        switch (op) {
        case VbBinOp::Eq: r = c == 0; break;
        case VbBinOp::Ne: r = c != 0; break;
        case VbBinOp::Lt: r = c < 0; break;
        case VbBinOp::Gt: r = c > 0; break;
        case VbBinOp::Le: r = c <= 0; break;
        default: r = c >= 0; break;
        }
        return Variant::fromBool(r);
    }
    case VbBinOp::And: case VbBinOp::Or: case VbBinOp::Xor: case VbBinOp::Eqv: case VbBinOp::Imp:
        return logical(op, a, b);
    default:
        break;
    }
    throwScriptError(ScriptErrors::TypeMismatch);
}

Variant negate(const Variant &av)
{
    const Variant a = av.deref().isObject() ? av.deref().valueOf() : av.deref();
    switch (a.type()) {
    case Variant::Null: return a;
    case Variant::Empty: return Variant::fromInteger(0);
    case Variant::Boolean: case Variant::Integer: case Variant::Byte: return fitInteger(-a.rawInt(), RInteger);
    case Variant::Long: return fitInteger(-a.rawInt(), RLong);
    case Variant::Single: return Variant::fromSingle(float(-a.rawDouble()));
    case Variant::Double: return Variant::fromDouble(-a.rawDouble());
    case Variant::Date: return fitDate(-a.rawDouble());
    case Variant::Currency:
        if (a.rawInt() == std::numeric_limits<std::int64_t>::min())
            throwScriptError(ScriptErrors::Overflow);
        return Variant::fromCurrencyRaw(-a.rawInt());
    case Variant::String: return Variant::fromDouble(-a.toDouble());
    default: throwScriptError(ScriptErrors::TypeMismatch);
    }
}

Variant logicalNot(const Variant &av)
{
    const Variant a = av.deref().isObject() ? av.deref().valueOf() : av.deref();
    switch (a.type()) {
    case Variant::Null: return a;
    case Variant::Boolean: return Variant::fromBool(!a.rawInt());
    case Variant::Empty: return Variant::fromInteger(-1);
    case Variant::Byte: return Variant::fromByte(int(~a.rawInt() & 0xFF));
    case Variant::Integer: return Variant::fromInteger(int(~a.rawInt()));
    case Variant::String: {
        // a number, else a Boolean's text, else a date's text
        double d;
        if (Variant::parseNumber(a.rawString(), d))
            return Variant::fromLong(~a.toLong());
        bool b;
        if (Variant::parseBool(a.rawString(), b))
            return Variant::fromBool(!b);
        if (Variant::parseDateText(a.rawString(), d))
            return Variant::fromLong(~Variant::fromDate(d).toLong());
        throwScriptError(ScriptErrors::TypeMismatch);
    }
    default: return Variant::fromLong(~a.toLong());
    }
}

} // namespace VariantOps
