// The value rules underneath both engines: number and date text, conversions
// with their rounding and overflow, operator result types and comparisons.
#include "DateUtil.h"
#include "ScriptArray.h"
#include "Variant.h"
#include "VariantOps.h"

#include <QDate>

#include <gtest/gtest.h>

namespace {

int errorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const ScriptException &e) {
        return e.number;
    }
    return 0;
}

} // namespace

TEST(Variant, FormatsNumbersAsCStr)
{
    const struct { double v; int digits; const char *text; } cases[] = {
        {0, 15, "0"}, {1, 15, "1"}, {-0.5, 15, "-0.5"}, {0.1 + 0.2, 15, "0.3"}, {1.0 / 3, 15, "0.333333333333333"},
        {1e15, 15, "1E+15"}, {1e14, 15, "100000000000000"}, {1.5e-7, 15, "0.00000015"}, {0.0001, 15, "0.0001"},
        {0.1 / 3, 15, "3.33333333333333E-02"}, {1e-15, 15, "0.000000000000001"},
        {123456789012345678.0, 15, "1.23456789012346E+17"}, {double(float(1.1)), 7, "1.1"}, {-1e-300, 15, "-1E-300"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Variant::formatDouble(c.v, c.digits), QString::fromLatin1(c.text)) << c.v;
    EXPECT_EQ(Variant::formatCurrency(12345), QStringLiteral("1.2345"));
    EXPECT_EQ(Variant::formatCurrency(-10000), QStringLiteral("-1"));
    EXPECT_EQ(Variant::formatCurrency(15000), QStringLiteral("1.5"));
}

TEST(Variant, ParsesNumericText)
{
    const struct { const char *text; bool ok; double v; } cases[] = {
        {" 12 ", true, 12}, {"-3.5", true, -3.5}, {"+5", true, 5}, {"1e3", true, 1000}, {"1,000", true, 1000},
        {"&H10", true, 16}, {"&HFFFF", true, -1}, {"&H10000", true, 65536}, {"&O17", true, 15}, {".5", true, 0.5},
        {"", false, 0}, {"abc", false, 0}, {"1.2.3", false, 0}, {"-", false, 0}, {"12abc", false, 0}, {"1e", false, 0},
        {"1e999", false, 0},
    };
    for (const auto &c : cases) {
        double v = 0;
        EXPECT_EQ(Variant::parseNumber(QString::fromLatin1(c.text), v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.v) << c.text;
        }
    }
}

TEST(Variant, ParsesDates)
{
    auto day = [](int y, int m, int d) { return double(QDate(1899, 12, 30).daysTo(QDate(y, m, d))); };
    const struct { QString text; bool ok; double v; } cases[] = {
        {QStringLiteral("2024-03-05"), true, day(2024, 3, 5)},
        {QStringLiteral("2024/3/5"), true, day(2024, 3, 5)},
        {QStringLiteral("1/2/2024"), true, day(2024, 1, 2)},
        {QStringLiteral("2024年3月5日"), true, day(2024, 3, 5)},
        {QStringLiteral("12:00:00"), true, 0.5},
        {QStringLiteral("6:00 PM"), true, 0.75},
        {QStringLiteral("2024-02-30"), false, 0},
        {QStringLiteral("25:00"), false, 0},
        {QStringLiteral("hello"), false, 0},
        {QString(), false, 0},
    };
    for (const auto &c : cases) {
        double v = 0;
        EXPECT_EQ(Variant::parseDate(c.text, v), c.ok) << c.text.toStdString();
        if (c.ok) {
            EXPECT_NEAR(v, c.v, 1e-9) << c.text.toStdString();
        }
    }
    EXPECT_EQ(Variant::formatDate(day(2024, 1, 5) + 0.5), QStringLiteral("2024/1/5 12:00:00"));
    EXPECT_EQ(Variant::formatDate(day(2024, 1, 5)), QStringLiteral("2024/1/5"));
    EXPECT_EQ(Variant::formatDate(0.25), QStringLiteral("6:00:00"));
    // before the epoch the fraction still counts forward from midnight
    EXPECT_EQ(Variant::formatDate(-1.25), QStringLiteral("1899/12/29 6:00:00"));
    EXPECT_EQ(DateUtil::fromSeconds(DateUtil::toSeconds(-1.25)), -1.25);
}

TEST(Variant, ConversionsRoundAndOverflow)
{
    EXPECT_EQ(Variant::fromDouble(2.5).toInteger(), 2);
    EXPECT_EQ(Variant::fromDouble(3.5).toInteger(), 4);
    EXPECT_EQ(Variant::fromDouble(-2.5).toLong(), -2);
    EXPECT_EQ(Variant::fromString(QStringLiteral(" 7 ")).toLong(), 7);
    EXPECT_EQ(errorOf([] { Variant::fromDouble(40000).toInteger(); }), 6);
    EXPECT_EQ(errorOf([] { Variant::fromDouble(3e9).toLong(); }), 6);
    EXPECT_EQ(errorOf([] { Variant::fromString(QStringLiteral("x")).toDouble(); }), 13);
    EXPECT_EQ(errorOf([] { Variant::null().toString(); }), 94);
    EXPECT_EQ(errorOf([] { Variant::fromString(QStringLiteral("maybe")).toBool(); }), 13);
    EXPECT_TRUE(Variant::fromString(QStringLiteral("True")).toBool());
    EXPECT_EQ(Variant().toString(), QString());
    EXPECT_EQ(Variant::fromBool(true).toString(), QStringLiteral("True"));
    EXPECT_EQ(Variant::fromDouble(1.5).toCurrencyRaw(), 15000);
    EXPECT_EQ(errorOf([] { Variant::nothing().valueOf(); }), 91);
}

TEST(VariantOps, ResultTypes)
{
    using VariantOps::binary;
    const struct { Variant a; VbBinOp op; Variant b; Variant::Type type; double value; } cases[] = {
        {Variant::fromInteger(32767), VbBinOp::Add, Variant::fromInteger(1), Variant::Long, 32768},
        {Variant::fromLong(2147483647), VbBinOp::Add, Variant::fromInteger(1), Variant::Double, 2147483648.0},
        {Variant::fromByte(200), VbBinOp::Add, Variant::fromByte(100), Variant::Integer, 300},
        {Variant::fromByte(2), VbBinOp::Add, Variant::fromByte(3), Variant::Byte, 5},
        {Variant(), VbBinOp::Add, Variant(), Variant::Integer, 0},
        {Variant::fromBool(true), VbBinOp::Add, Variant::fromBool(true), Variant::Integer, -2},
        {Variant::fromString(QStringLiteral("1")), VbBinOp::Add, Variant::fromInteger(2), Variant::Double, 3},
        {Variant::fromInteger(7), VbBinOp::Div, Variant::fromInteger(2), Variant::Double, 3.5},
        {Variant::fromDouble(7.5), VbBinOp::IntDiv, Variant::fromInteger(2), Variant::Long, 4},
        {Variant::fromInteger(-7), VbBinOp::Mod, Variant::fromInteger(3), Variant::Integer, -1},
        {Variant::fromCurrencyRaw(10000), VbBinOp::Mul, Variant::fromInteger(3), Variant::Currency, 3},
        {Variant::fromCurrencyRaw(10000), VbBinOp::Add, Variant::fromDouble(0.5), Variant::Double, 1.5},
        {Variant::fromDate(1), VbBinOp::Add, Variant::fromInteger(1), Variant::Date, 2},
        {Variant::fromDate(3), VbBinOp::Sub, Variant::fromDate(1), Variant::Double, 2},
        {Variant::fromInteger(6), VbBinOp::And, Variant::fromInteger(3), Variant::Integer, 2},
        {Variant::fromBool(true), VbBinOp::Or, Variant::fromBool(false), Variant::Boolean, -1},
        {Variant::fromInteger(2), VbBinOp::Pow, Variant::fromInteger(10), Variant::Double, 1024},
    };
    for (const auto &c : cases) {
        const Variant r = binary(c.op, c.a, c.b);
        EXPECT_EQ(r.type(), c.type) << int(c.op) << " " << c.value;
        EXPECT_EQ(r.toDouble(), c.value) << int(c.op);
    }
    EXPECT_TRUE(binary(VbBinOp::Add, Variant::null(), Variant::fromInteger(1)).isNull());
    EXPECT_EQ(binary(VbBinOp::Concat, Variant::null(), Variant::fromString(QStringLiteral("a"))).toString(), QStringLiteral("a"));
    EXPECT_EQ(binary(VbBinOp::And, Variant::null(), Variant::fromBool(false)).type(), Variant::Boolean);
    EXPECT_TRUE(binary(VbBinOp::Or, Variant::null(), Variant::fromBool(false)).isNull());
    EXPECT_EQ(errorOf([] { binary(VbBinOp::Div, Variant::fromInteger(1), Variant::fromInteger(0)); }), 11);
    EXPECT_EQ(errorOf([] { binary(VbBinOp::Div, Variant::fromInteger(0), Variant::fromInteger(0)); }), 6);
    EXPECT_EQ(errorOf([] { binary(VbBinOp::Mod, Variant::fromInteger(1), Variant::fromInteger(0)); }), 11);
    EXPECT_EQ(errorOf([] { binary(VbBinOp::Add, Variant::fromString(QStringLiteral("a")), Variant::fromInteger(1)); }), 13);
    EXPECT_EQ(VariantOps::negate(Variant::fromInteger(-32768)).type(), Variant::Long);
}

TEST(VariantOps, Comparisons)
{
    using VariantOps::compare;
    EXPECT_EQ(compare(Variant(), Variant::fromInteger(0)), 0);
    EXPECT_EQ(compare(Variant(), Variant::fromString(QString())), 0);
    EXPECT_EQ(compare(Variant::null(), Variant::fromInteger(0)), 2);
    EXPECT_EQ(compare(Variant::fromInteger(10), Variant::fromString(QStringLiteral("9"))), -1); // numbers sort before text
    EXPECT_EQ(compare(Variant::fromString(QStringLiteral("B")), Variant::fromString(QStringLiteral("a"))), -1);
    EXPECT_EQ(compare(Variant::fromString(QStringLiteral("B")), Variant::fromString(QStringLiteral("a")), true), 1);
    EXPECT_EQ(compare(Variant::fromDouble(0.5), Variant::fromInteger(1)), -1);
    EXPECT_EQ(compare(Variant::fromBool(true), Variant::fromInteger(-1)), 0);
}

TEST(ScriptArrayTest, BoundsAndRedim)
{
    ScriptArray a({ScriptArray::Bound{0, 3}, ScriptArray::Bound{0, 2}});
    EXPECT_EQ(a.size(), 6);
    const Variant idx[2] = {Variant::fromInteger(2), Variant::fromInteger(1)};
    EXPECT_EQ(a.flatIndex(idx, 2), 5);
    const Variant bad[2] = {Variant::fromInteger(3), Variant::fromInteger(0)};
    EXPECT_EQ(errorOf([&] { a.flatIndex(bad, 2); }), 9);
    EXPECT_EQ(errorOf([&] { a.flatIndex(idx, 1); }), 9);
    a.at(5) = Variant::fromInteger(42);
    a.redim({ScriptArray::Bound{0, 3}, ScriptArray::Bound{0, 4}}, true);
    EXPECT_EQ(a.at(5).toLong(), 42);
    EXPECT_EQ(errorOf([&] { a.redim({ScriptArray::Bound{0, 5}, ScriptArray::Bound{0, 4}}, true); }), 9);
    EXPECT_EQ(errorOf([] { ScriptArray({ScriptArray::Bound{0, 100000}, ScriptArray::Bound{0, 100000}}); }), 7);
    a.locks = 1;
    EXPECT_EQ(errorOf([&] { a.redim({ScriptArray::Bound{0, 1}}, false); }), 10);
    a.locks = 0;
}
