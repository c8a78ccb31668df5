// The values of VBScript: the subtypes of literals and of arithmetic results,
// numbers as text, operator precedence, the built-in constants and the
// random-number sequence.
#include "VbRun.h"

#include <gtest/gtest.h>

namespace {

struct Case
{
    const char *code;
    const char *expected;
};

void expectEvals(std::initializer_list<Case> cases)
{
    for (const Case &c : cases)
        EXPECT_EQ(evalVb(c.code), c.expected) << c.code;
}

} // namespace

TEST(VbNumbers, LiteralSubtypes)
{
    expectEvals({
        {"32767", "Integer 32767"}, {"32768", "Long 32768"}, {"-32768", "Long -32768"},
        {"2147483647", "Long 2147483647"}, {"2147483648", "Double 2147483648"}, {"1.0", "Double 1"},
        {"1E3", "Double 1000"}, {"&HFFFF", "Integer -1"}, {"&H8000", "Integer -32768"}, {"&H7FFF", "Integer 32767"},
        {"&H10000", "Long 65536"}, {"&HFFFFFFFF", "Long -1"}, {"&HFFFF&", "Long 65535"}, {"&O177777", "Integer -1"},
        {"&O200000", "Long 65536"},
    });
}

TEST(VbNumbers, ArithmeticAtTheBorders)
{
    expectEvals({
        {"32767 + 1", "Long 32768"}, {"CInt(-32768) - 1", "Long -32769"}, {"2147483647 + 1", "Double 2147483648"},
        {"CByte(255) + CByte(1)", "Integer 256"}, {"CByte(3) - CByte(5)", "Integer -2"}, {"200 * 200", "Long 40000"},
        {"46341 * 46341", "Double 2147488281"}, {"-CInt(-32768)", "Long 32768"}, {"True + True", "Integer -2"},
        {"Empty + Empty", "Integer 0"}, {"\"3\" + 4", "Double 7"}, {"7 \\ 2", "Integer 3"}, {"7.5 \\ 2", "Long 4"},
        {"CLng(7) \\ 2", "Long 3"}, {"10 / 2", "Double 5"}, {"2 ^ 2", "Double 4"}, {"CByte(7) Mod CByte(4)", "Byte 3"},
        // a Single with a Long is a Double; with a smaller whole number it stays a Single
        {"CSng(1.5) + CLng(2)", "Double 3.5"}, {"CLng(1) - CSng(0.5)", "Double 0.5"},
        {"CSng(1.5) * 2147483647", "Double 3221225470.5"}, {"CSng(1.5) + CInt(2)", "Single 3.5"},
        {"CSng(1.5) + CByte(2)", "Single 3.5"}, {"CSng(2) * True", "Single -2"},
    });
}

TEST(VbNumbers, FixedOrExponentForm)
{
    // fifteen significant digits (seven for a Single); the exponent form when
    // the fixed form would need a digit before 1E+15 or after 1E-15
    EXPECT_EQ(runVb("WScript.Echo 1E15, 1E14, 123456789012345, 1234567890123456, 999999999999999.9"),
              "1E+15 100000000000000 123456789012345 1.23456789012346E+15 1E+15\n");
    EXPECT_EQ(runVb("WScript.Echo 0.0001, 0.00001, 1E-15, 1.5E-15, 1E-16, 0.000123456789, 1.5E-7"),
              "0.0001 0.00001 0.000000000000001 1.5E-15 1E-16 0.000123456789 0.00000015\n");
    EXPECT_EQ(runVb("WScript.Echo 1/3, 2/3, 0.1/3, 100/7, CSng(0.01) + 0.01, 0.1 + 0.2"),
              "0.333333333333333 0.666666666666667 3.33333333333333E-02 14.2857142857143 1.99999997764826E-02 0.3\n");
    EXPECT_EQ(runVb("WScript.Echo CStr(-0.00001), \"x\" & 1E20 & \"|\" & 1E-20, CStr(-1.5E+300), 4.94065645841247E-324"),
              "-0.00001 x1E+20|1E-20 -1.5E+300 4.94065645841247E-324\n");
    EXPECT_EQ(runVb("WScript.Echo CSng(1E7), CSng(1234567), CSng(0.1), CSng(0.5) / CSng(3), CSng(1) / CSng(30)"),
              "1E+07 1234567 0.1 0.1666667 3.333334E-02\n");
}

TEST(VbOperators, PrecedenceAndAssociativity)
{
    const Case cases[] = {
        {"WScript.Echo -2 ^ 2, 2 ^ -2, 2 ^ 3 ^ 2, -2 ^ -2, -(2) ^ 2", "-4 0.25 64 -0.25 -4"},
        {"WScript.Echo 7 \\ 2 * 3, 10 \\ 3 Mod 2, 10 Mod 3 \\ 2, -7 \\ 2, -7 Mod 3, 7 Mod -3", "1 1 0 -3 -1 1"},
        {"WScript.Echo 1 + 2 & 3, \"a\" & 1 + 2, 2 * -3 + 4, 5 - -3, - 2 + 3, 2--2", "33 a3 -2 8 1 4"},
        {"WScript.Echo 1 < 2 < 3, 3 > 2 > 1, 1 = 1 = True, Not 1 = 2, Not 0 + 1", "True False True True -2"},
        {"WScript.Echo -3 Mod 2 ^ 2, -2 * 2 ^ 2, 8 / 2 / 2, 2 * 3 Mod 4, 17 Mod 5 * 2", "-3 -8 2 2 7"},
        {"WScript.Echo 1 + Not 0, True And Not False Or False, 3 Xor 5 Eqv 1, 1 Imp 0 Or 4", "0 True -8 -2"},
        {"WScript.Echo 5 \\ 2 \\ 2, -5 \\ 2, - 5 Mod 3, 3 * -2 ^ 2, -2 ^ 2 * 3, 1 + -2 ^ 2", "1 -2 -2 -12 -12 -3"},
        {"Set o = Nothing : WScript.Echo o Is Nothing = True, Not o Is Nothing, 5 - 3 = 2, -1 ^ 0.5 = 0",
         "True False True False"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(runVb(c.code), std::string(c.expected) + "\n") << c.code;
}

TEST(VbConstants, ValuesAndSubtypes)
{
    expectEvals({
        {"vbBlack", "Long 0"}, {"vbRed", "Long 255"}, {"vbGreen", "Long 65280"}, {"vbYellow", "Long 65535"},
        {"vbBlue", "Long 16711680"}, {"vbMagenta", "Long 16711935"}, {"vbCyan", "Long 16776960"},
        {"vbWhite", "Long 16777215"}, {"vbOKOnly", "Integer 0"}, {"vbOKCancel", "Integer 1"},
        {"vbAbortRetryIgnore", "Integer 2"}, {"vbYesNoCancel", "Integer 3"}, {"vbYesNo", "Integer 4"},
        {"vbRetryCancel", "Integer 5"}, {"vbCritical", "Integer 16"}, {"vbQuestion", "Integer 32"},
        {"vbExclamation", "Integer 48"}, {"vbInformation", "Integer 64"}, {"vbDefaultButton1", "Integer 0"},
        {"vbDefaultButton2", "Integer 256"}, {"vbDefaultButton3", "Integer 512"}, {"vbDefaultButton4", "Integer 768"},
        {"vbApplicationModal", "Integer 0"}, {"vbSystemModal", "Integer 4096"}, {"vbMsgBoxHelpButton", "Long 16384"},
        {"vbMsgBoxSetForeground", "Long 65536"}, {"vbMsgBoxRight", "Long 524288"},
        {"vbMsgBoxRtlReading", "Long 1048576"}, {"vbOK", "Integer 1"}, {"vbCancel", "Integer 2"},
        {"vbAbort", "Integer 3"}, {"vbRetry", "Integer 4"}, {"vbIgnore", "Integer 5"}, {"vbYes", "Integer 6"},
        {"vbNo", "Integer 7"}, {"vbBinaryCompare", "Integer 0"}, {"vbTextCompare", "Integer 1"},
        {"vbSunday", "Integer 1"}, {"vbSaturday", "Integer 7"}, {"vbUseSystem", "Integer 0"},
        {"vbUseSystemDayOfWeek", "Integer 0"}, {"vbFirstJan1", "Integer 1"}, {"vbFirstFourDays", "Integer 2"},
        {"vbFirstFullWeek", "Integer 3"}, {"vbGeneralDate", "Integer 0"}, {"vbLongDate", "Integer 1"},
        {"vbShortDate", "Integer 2"}, {"vbLongTime", "Integer 3"}, {"vbShortTime", "Integer 4"},
        {"vbObjectError", "Long -2147221504"}, {"vbUseDefault", "Integer -2"}, {"vbTrue", "Integer -1"},
        {"vbFalse", "Integer 0"}, {"vbEmpty", "Integer 0"}, {"vbNull", "Integer 1"}, {"vbInteger", "Integer 2"},
        {"vbLong", "Integer 3"}, {"vbSingle", "Integer 4"}, {"vbDouble", "Integer 5"}, {"vbCurrency", "Integer 6"},
        {"vbDate", "Integer 7"}, {"vbString", "Integer 8"}, {"vbObject", "Integer 9"}, {"vbError", "Integer 10"},
        {"vbBoolean", "Integer 11"}, {"vbVariant", "Integer 12"}, {"vbDataObject", "Integer 13"},
        {"vbDecimal", "Integer 14"}, {"vbByte", "Integer 17"}, {"vbArray", "Integer 8192"},
        {"vbCrLf = Chr(13) & Chr(10)", "Boolean True"}, {"vbNewLine = vbCrLf", "Boolean True"},
        {"Asc(vbCr) & Asc(vbLf) & Asc(vbTab) & Asc(vbFormFeed) & Asc(vbVerticalTab) & Asc(vbNullChar)",
         "String 1310912110"},
        {"TypeName(vbNullString) & Len(vbNullString)", "String String0"},
    });
}

TEST(VbRandom, TheReferenceSequence)
{
    // without Randomize every run starts from the same seed
    EXPECT_EQ(runVb("For i = 1 To 7 : WScript.Echo Rnd : Next"),
              "0.7055475\n0.533424\n0.5795186\n0.2895625\n0.301948\n0.7747401\n1.401764E-02\n");
    // a negative argument restarts from a seed made of that number; 0 repeats the last number
    EXPECT_EQ(runVb("WScript.Echo Rnd(-1), Rnd(-1), Rnd, Rnd(0), TypeName(Rnd(0))"),
              "0.224007 0.224007 3.584582E-02 3.584582E-02 Single\n");
    // Randomize mixes its number into the current seed
    EXPECT_EQ(runVb("Randomize 42 : WScript.Echo Rnd, Rnd, Rnd"), "0.3391077 0.6483685 0.1878102\n");
    EXPECT_EQ(runVb("Rnd -1 : Randomize 42 : a = Rnd : Rnd -1 : Randomize 42 : WScript.Echo a = Rnd, a"),
              "True 0.9078093\n");
}
