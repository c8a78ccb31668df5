#pragma once

#include "ScriptObject.h"

#include <QString>

#include <cstdint>
#include <cstring>
#include <new>

class ScriptArray;

// The script value: one of the VBScript subtypes. Numbers, booleans and dates
// live inside the value (no heap); strings are implicitly shared QStrings;
// objects and arrays are reference counted.
class Variant
{
public:
    // VarType() codes.
    enum Type : std::uint16_t {
        Empty = 0,
        Null = 1,
        Integer = 2,
        Long = 3,
        Single = 4,
        Double = 5,
        Currency = 6,
        Date = 7,
        String = 8,
        Object = 9, // a null object is Nothing
        Error = 10,
        Boolean = 11,
        Byte = 17,
        Array = 0x200C, // vbArray + vbVariant
        Ref = 0x4000,   // internal: a ByRef argument pointing at the caller's variable
    };

    // An omitted optional argument (f 1, , 3) is an Error value with this code.
    static constexpr std::int64_t MissingArgument = -2147352572LL;

    Variant() : m_type(Empty) { m_u.i = 0; }
    Variant(const Variant &o)
    {
        if (!isHeap(o.m_type)) {
            m_type = o.m_type;
            m_u.i = o.m_u.i;
        } else {
            copyFrom(o);
        }
    }
    Variant(Variant &&o) noexcept : m_type(o.m_type) { moveFrom(o); }
    ~Variant() { if (isHeap(m_type)) release(); }
    Variant &operator=(const Variant &o)
    {
        if (this == &o)
            return *this;
        if (!isHeap(o.m_type) && !isHeap(m_type)) {
            m_type = o.m_type;
            m_u.i = o.m_u.i;
            return *this;
        }
        Variant tmp(o);
        return *this = std::move(tmp);
    }
    Variant &operator=(Variant &&o) noexcept
    {
        if (this == &o)
            return *this;
        // the old value is released last: its release may run script code
        // (Class_Terminate) that must find this variable already assigned
        const std::uint16_t oldType = m_type;
        U old;
        std::memcpy(static_cast<void *>(&old), &m_u, sizeof(U));
        m_type = o.m_type;
        std::memcpy(static_cast<void *>(&m_u), &o.m_u, sizeof(U));
        o.m_type = Empty;
        if (isHeap(oldType)) {
            Variant gone;
            gone.m_type = oldType;
            std::memcpy(static_cast<void *>(&gone.m_u), &old, sizeof(U));
        }
        return *this;
    }

    // In-place stores of numbers (the loop counter, results).
    void setInteger(int v) { setRaw(Integer, std::int16_t(v)); }
    void setLong(std::int32_t v) { setRaw(Long, v); }
    void setDouble(double d)
    {
        if (isHeap(m_type))
            *this = Variant();
        m_type = Double;
        m_u.d = d;
    }
    void swap(Variant &o) noexcept;

    static Variant null() { Variant v; v.m_type = Null; return v; }
    static Variant fromBool(bool b) { Variant v; v.m_type = Boolean; v.m_u.i = b ? -1 : 0; return v; }
    static Variant fromInteger(int i) { Variant v; v.m_type = Integer; v.m_u.i = std::int16_t(i); return v; }
    static Variant fromLong(std::int32_t i) { Variant v; v.m_type = Long; v.m_u.i = i; return v; }
    static Variant fromByte(int i) { Variant v; v.m_type = Byte; v.m_u.i = std::uint8_t(i); return v; }
    static Variant fromSingle(float f) { Variant v; v.m_type = Single; v.m_u.d = f; return v; }
    static Variant fromDouble(double d) { Variant v; v.m_type = Double; v.m_u.d = d; return v; }
    static Variant fromDate(double d) { Variant v; v.m_type = Date; v.m_u.d = d; return v; }
    // value scaled by 10000
    static Variant fromCurrencyRaw(std::int64_t c) { Variant v; v.m_type = Currency; v.m_u.i = c; return v; }
    static Variant fromError(std::int64_t code) { Variant v; v.m_type = Error; v.m_u.i = code; return v; }
    static Variant missing() { return fromError(MissingArgument); }
    static Variant fromString(const QString &s);
    static Variant fromString(QString &&s);
    static Variant fromObject(const ObjectRef &o);
    static Variant nothing() { return fromObject(ObjectRef()); }
    // Takes a reference on the array.
    static Variant fromArray(ScriptArray *a);
    static Variant makeRef(Variant *target) { Variant v; v.m_type = Ref; v.m_u.r = target; return v; }
    // Smallest of Integer / Long / Double that holds the whole number.
    static Variant fromNumber(std::int64_t n);

    Type type() const { return Type(m_type); }
    bool isEmpty() const { return m_type == Empty; }
    bool isNull() const { return m_type == Null; }
    bool isString() const { return m_type == String; }
    bool isObject() const { return m_type == Object; }
    bool isNothing() const { return m_type == Object && !m_u.o; }
    bool isArray() const { return m_type == Array; }
    bool isRef() const { return m_type == Ref; }
    bool isMissing() const { return m_type == Error && m_u.i == MissingArgument; }
    bool isNumericType() const;  // Byte..Currency, Boolean, Date, Empty
    bool isIntegral() const { return m_type == Integer || m_type == Long || m_type == Byte || m_type == Boolean; }

    // The raw payloads (no conversion); valid only for the matching type.
    std::int64_t rawInt() const { return m_u.i; }
    double rawDouble() const { return m_u.d; }
    const QString &rawString() const { return *reinterpret_cast<const QString *>(m_u.s); }
    QString &rawString() { return *reinterpret_cast<QString *>(m_u.s); }
    ScriptObject *rawObject() const { return m_u.o; }
    ScriptArray *rawArray() const { return m_u.a; }
    Variant *refTarget() const { return m_u.r; }

    // Follows a Ref to the variable it points at.
    const Variant &deref() const { return m_type == Ref ? *m_u.r : *this; }
    Variant &deref() { return m_type == Ref ? *m_u.r : *this; }

    // Conversions with the language's rules; they throw ScriptException
    // (13 type mismatch, 94 invalid use of Null, 6 overflow). Objects are
    // first replaced by their default member.
    double toDouble() const;
    std::int32_t toLong() const;      // banker's rounding, 6 beyond 32 bits
    std::int16_t toInteger() const;   // banker's rounding, 6 beyond 16 bits
    bool toBool() const;
    QString toString() const;         // CStr
    double toDate() const;            // CDate
    std::int64_t toCurrencyRaw() const;
    ObjectRef toObject() const;       // 424 when not an object

    // The value an object stands for in an expression (its default member),
    // or the value itself. Throws 438 when the object has none.
    Variant valueOf() const;

    // Text for output when the value cannot be converted (Null -> "Null").
    QString displayText() const;

    // Copy for storage: arrays whose elements are passed ByRef are copied whole.
    void setArrayWritable(); // detach a shared array before a write

    // Number formatting as CStr does: 15 significant digits for Double, 7 for Single.
    static QString formatDouble(double d, int digits = 15);
    static QString formatCurrency(std::int64_t raw);
    static QString formatDate(double d);
    // Drops one reference of an array taken outside a Variant.
    static void dropArrayRef(ScriptArray *a);
    // Parses the numeric text CDbl accepts (blanks, sign, decimals, exponent,
    // &H / &O); false when it is no number.
    static bool parseNumber(const QString &text, double &out);
    // Parses a date/time text CDate accepts; false when it is none.
    static bool parseDate(const QString &text, double &out);
    // "True" / "False" (any case, and the Chinese words), or the
    // locale-independent "#TRUE#" / "#FALSE#"; false when it is neither.
    static bool parseBool(const QString &text, bool &out);
    // A date text, also between "#" as the locale-independent form writes it.
    static bool parseDateText(const QString &text, double &out);

private:
    // String, Object and Array own something; every other type is plain bits.
    static constexpr bool isHeap(std::uint16_t t)
    {
        return t < 32 ? ((1u << t) & ((1u << String) | (1u << Object))) != 0 : t == Array;
    }
    void setRaw(Type t, std::int64_t v)
    {
        if (isHeap(m_type))
            *this = Variant();
        m_type = t;
        m_u.i = v;
    }
    void copyFrom(const Variant &o);
    void moveFrom(Variant &o) noexcept
    {
        std::memcpy(static_cast<void *>(&m_u), &o.m_u, sizeof(m_u));
        o.m_type = Empty;
    }
    void release();

    std::uint16_t m_type;
    union U {
        std::int64_t i;
        double d;
        ScriptObject *o;
        ScriptArray *a;
        Variant *r;
        alignas(QString) unsigned char s[sizeof(QString)];
    } m_u;
};

// Error objects and some helpers used by everything that converts values.
namespace VariantNames {
QString typeName(const Variant &v); // TypeName()
int varType(const Variant &v);      // VarType()
} // namespace VariantNames
