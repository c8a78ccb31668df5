// Errors in VBScript: Err.Raise and the fields of Err, errors inside the
// conditions of statements under On Error Resume Next, names defined twice,
// the range of dates and arrays, and the argument checks of the built-in
// functions.
#include "VbRun.h"

#include <gtest/gtest.h>

namespace {

struct Case
{
    const char *code;
    const char *expected;
};

// Prints "<label> <Err.Number>" after each line of the body.
const char *const showErr =
    "On Error Resume Next\n"
    "Sub E(label)\n"
    "  WScript.Echo label & \" \" & Err.Number\n"
    "  Err.Clear\n"
    "End Sub\n";

std::string withShowErr(const char *body)
{
    return runVb((std::string(showErr) + body).c_str());
}

} // namespace

TEST(VbErrRaise, AllArgumentsAndWhatErrHolds)
{
    const char *const show =
        "On Error Resume Next\n"
        "Sub Show()\n"
        "  WScript.Echo Err.Number & \"|\" & Err.Source & \"|\" & Err.Description\n"
        "End Sub\n";
    const Case cases[] = {
        {"Err.Raise 1000, \"MySrc\", \"My text\", \"my.hlp\", 42\n"
         "WScript.Echo Err.Number & \"|\" & Err.Source & \"|\" & Err.Description & \"|\" & Err.HelpFile & \"|\" & Err.HelpContext",
         "1000|MySrc|My text|my.hlp|42\n"},
        {"Err.Raise 5 : Show", "5|Microsoft VBScript 运行时错误|无效的过程调用或参数\n"},
        {"Err.Raise 13, , \"custom\" : Show", "13|Microsoft VBScript 运行时错误|custom\n"},
        {"Err.Raise 1234, \"S\" : Show", "1234|S|未知的运行时错误\n"},
        // a Raise without them keeps the fields that were not cleared
        {"Err.Raise 5 : Err.Raise 6 : Show", "6|Microsoft VBScript 运行时错误|无效的过程调用或参数\n"},
        {"Err.Raise 1000, \"S1\", \"D1\", \"h.hlp\", 5 : Err.Raise 2000\n"
         "WScript.Echo Err.Number & \"|\" & Err.Source & \"|\" & Err.Description & \"|\" & Err.HelpFile & \"|\" & Err.HelpContext",
         "2000|S1|D1|h.hlp|5\n"},
        {"x = 1 / 0 : Err.Raise 1234 : Show", "1234|Microsoft VBScript 运行时错误|被零除\n"},
        {"Err.Description = \"kept\" : Err.Source = \"src\" : Err.Raise 9 : Show", "9|src|kept\n"},
        {"Err.Raise 9 : Err.Clear : Err.Raise 10 : Show", "10|Microsoft VBScript 运行时错误|该数组为定长的或临时被锁定\n"},
        // numbers outside the language's own range
        {"Err.Raise 65535 : Show", "65535|Microsoft VBScript 运行时错误|未知的运行时错误\n"},
        {"Err.Raise vbObjectError + 1 : Show", "-2147221503|Microsoft VBScript 运行时错误|未知的运行时错误\n"},
        {"Err.Raise 70000 : Show", "70000|Microsoft VBScript 运行时错误|未知的运行时错误\n"},
        {"Err.Raise -1 : Show", "-1|Microsoft VBScript 运行时错误|未知的运行时错误\n"},
        {"Err.Raise &H800A000B : Show", "11|Microsoft VBScript 运行时错误|被零除\n"},
        {"Err.Raise 1.6 : Show", "2|Microsoft VBScript 运行时错误|未知的运行时错误\n"},
        {"Err.Raise 0 : Show", "5|Microsoft VBScript 运行时错误|无效的过程调用或参数\n"},
        {"Err.Raise 2147483648 : Show", "6|Microsoft VBScript 运行时错误|溢出\n"},
        {"Err.Raise \"abc\" : Show", "13|Microsoft VBScript 运行时错误|类型不匹配\n"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(runVb((std::string(show) + c.code).c_str()), c.expected) << c.code;
    EXPECT_EQ(runVb("WScript.Echo 1\nErr.Raise &H800A0006\nWScript.Echo 2"), "1\nError 6 (line 2)\n");
    EXPECT_EQ(runVb("Err.Raise vbObjectError + 7, \"S\", \"D\""), "Error -2147221497 (line 1)\n");
}

TEST(VbErrorsInConditions, ResumeNextGoesIntoTheStatement)
{
    // the statement after a failing condition is the first one inside the
    // branch or loop body
    EXPECT_EQ(runVb("On Error Resume Next\nn = 0\nIf 1 / n > 0 Then\n WScript.Echo \"then \" & Err.Number\n"
                    "Else\n WScript.Echo \"else\"\nEnd If"),
              "then 11\n");
    EXPECT_EQ(runVb("On Error Resume Next\nn = 0\nIf False Then\n WScript.Echo 1\nElseIf 1 / n Then\n"
                    " WScript.Echo \"elseif \" & Err.Number\nElse\n WScript.Echo \"else\"\nEnd If"),
              "elseif 11\n");
    EXPECT_EQ(runVb("On Error Resume Next\nn = 0 : k = 0\nDo While 10 / n > 1\n k = k + 1\n n = 20\nLoop\n"
                    "WScript.Echo \"do \" & k & \" \" & Err.Number"),
              "do 1 11\n");
    EXPECT_EQ(runVb("On Error Resume Next\nn = 0 : k = 0\nDo Until 10 / n < 1\n k = k + 1\n n = 20\nLoop\n"
                    "WScript.Echo \"until \" & k"),
              "until 1\n");
    EXPECT_EQ(runVb("On Error Resume Next\nn = 0 : k = 0\nWhile 10 / n > 1\n k = k + 1\n n = 20\nWend\n"
                    "WScript.Echo \"while \" & k"),
              "while 1\n");
    EXPECT_EQ(runVb("On Error Resume Next\nn = 0\nSelect Case 1 / n\n Case 1\n  WScript.Echo \"case 1\"\n"
                    " Case 2\n  WScript.Echo \"case 2\"\n Case Else\n  WScript.Echo \"case else\"\nEnd Select\n"
                    "WScript.Echo \"after \" & Err.Number"),
              "case 1\nafter 11\n");
    EXPECT_EQ(runVb("On Error Resume Next\nn = 0\nSelect Case 2\n Case 1 / n\n  WScript.Echo \"case div\"\n"
                    " Case 2\n  WScript.Echo \"case 2\"\nEnd Select"),
              "case div\n");
    // without Resume Next the error stops the run at the condition's line
    EXPECT_EQ(runVb("n = 0\nDo While 1 / n\nLoop"), "Error 11 (line 2)\n");
}

TEST(VbNames, DefinedTwiceIsACompileError)
{
    const Case cases[] = {
        {"WScript.Echo 1\nDim x\nSub x\nEnd Sub", "Error 1041 (line 3)\n"},
        {"WScript.Echo 1\nSub x\nEnd Sub\nDim x", "Error 1041 (line 4)\n"},
        {"WScript.Echo 1\nSub f\nEnd Sub\nFunction f\nEnd Function", "Error 1041 (line 4)\n"},
        {"WScript.Echo 1\nClass K\nEnd Class\nSub K\nEnd Sub", "Error 1041 (line 4)\n"},
        {"WScript.Echo 1\nFunction K\nEnd Function\nClass K\nEnd Class", "Error 1041 (line 4)\n"},
        {"WScript.Echo 1\nConst c = 1\nDim c", "Error 1041 (line 3)\n"},
        {"WScript.Echo 1\nDim v\nConst v = 2", "Error 1041 (line 3)\n"},
        {"WScript.Echo 1\nConst c = 1\nSub c\nEnd Sub", "Error 1041 (line 3)\n"},
        {"Sub g(a)\n  Dim a\nEnd Sub", "Error 1041 (line 2)\n"},
        {"Sub g\n  Const a = 1\n  Dim a\nEnd Sub", "Error 1041 (line 3)\n"},
        // the same name in different scopes is fine
        {"Dim a\nSub g\n  Dim a\n  a = 2\nEnd Sub\na = 1 : g : WScript.Echo a", "1\n"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(runVb(c.code), c.expected) << c.code;
}

TEST(VbRanges, DatesAndArraysAtTheirEdges)
{
    EXPECT_EQ(withShowErr("x = #12/31/9999# + 1 : E \"max+1\"\n"
                          "x = #1/1/100# - 1 : E \"min-1\"\n"
                          "x = CDate(2958466) : E \"cdate max+1\"\n"
                          "x = CDate(-657435) : E \"cdate min-1\"\n"
                          "x = DateAdd(\"d\", 1, #12/31/9999#) : E \"dateadd d\"\n"
                          "x = DateAdd(\"s\", 1, #12/31/9999 23:59:59#) : E \"dateadd s\"\n"
                          "x = DateAdd(\"yyyy\", -1, #1/1/100#) : E \"dateadd yyyy\"\n"
                          "x = DateSerial(9999, 12, 32) : E \"dateserial 32\"\n"
                          "x = DateSerial(10000, 1, 1) : E \"dateserial 10000\"\n"
                          "x = DateSerial(100, 1, 0) : E \"dateserial 0\"\n"
                          "WScript.Echo CDate(-657434), CDate(2958465.5), #12/31/9999# - 1, DateAdd(\"d\", -1, #1/2/100#)\n"
                          "ReDim a(-1) : WScript.Echo UBound(a) : E \"redim -1\"\n"
                          "ReDim a(-2) : E \"redim -2\"\n"
                          "ReDim a(2147483648) : E \"redim 2^31\"\n"
                          "ReDim a(1E10) : E \"redim 1E10\"\n"
                          "ReDim a(-5, 2) : E \"redim -5,2\"\n"
                          "Dim b(3) : ReDim b(4) : E \"redim fixed\"\n"
                          "ReDim d(2, 3) : ReDim Preserve d(3, 3) : E \"preserve first\"\n"),
              "max+1 6\nmin-1 6\ncdate max+1 6\ncdate min-1 6\ndateadd d 5\ndateadd s 5\ndateadd yyyy 5\n"
              "dateserial 32 5\ndateserial 10000 5\ndateserial 0 5\n"
              "100/1/1 9999/12/31 12:00:00 9999/12/30 100/1/1\n"
              "-1\nredim -1 0\nredim -2 9\nredim 2^31 6\nredim 1E10 6\nredim -5,2 9\nredim fixed 10\n"
              "preserve first 9\n");
}

TEST(VbBuiltins, NullTypeAndRangeChecks)
{
    // Null raises 94 where the argument must be a number or a text
    EXPECT_EQ(withShowErr("x = Replace(Null, \"a\", \"b\") : E \"Replace\"\n"
                          "x = Replace(\"abc\", Null, \"b\") : E \"Replace find\"\n"
                          "x = Replace(\"abc\", \"a\", Null) : E \"Replace with\"\n"
                          "x = Split(Null) : E \"Split\"\n"
                          "x = Sqr(Null) : E \"Sqr\"\n"
                          "x = Exp(Null) : E \"Exp\"\n"
                          "x = Log(Null) : E \"Log\"\n"
                          "x = Sin(Null) : E \"Sin\"\n"
                          "x = Atn(Null) : E \"Atn\"\n"
                          "x = Sgn(Null) : E \"Sgn\"\n"
                          "x = CStr(Null) : E \"CStr\"\n"
                          "x = CInt(Null) : E \"CInt\"\n"
                          "x = CDate(Null) : E \"CDate\"\n"
                          "x = Asc(Null) : E \"Asc\"\n"
                          "x = Chr(Null) : E \"Chr\"\n"
                          "x = Space(Null) : E \"Space\"\n"
                          "x = StrReverse(Null) : E \"StrReverse\"\n"
                          "x = MonthName(Null) : E \"MonthName\"\n"
                          "x = DateSerial(Null, 1, 1) : E \"DateSerial\"\n"
                          "x = InStr(Null, \"a\", \"b\") : E \"InStr start\"\n"
                          "x = Left(\"a\", Null) : E \"Left length\"\n"),
              "Replace 94\nReplace find 94\nReplace with 94\nSplit 94\nSqr 94\nExp 94\nLog 94\nSin 94\nAtn 94\n"
              "Sgn 94\nCStr 94\nCInt 94\nCDate 94\nAsc 94\nChr 94\nSpace 94\nStrReverse 94\nMonthName 94\n"
              "DateSerial 94\nInStr start 94\nLeft length 94\n");
    // others pass it through
    EXPECT_EQ(runVb("WScript.Echo IsNull(Len(Null)), IsNull(Left(Null, 1)), IsNull(Right(Null, 1)), "
                    "IsNull(Mid(Null, 1)), IsNull(LCase(Null)), IsNull(UCase(Null)), IsNull(Trim(Null)), "
                    "IsNull(InStr(\"a\", Null)), IsNull(InStrRev(Null, \"a\")), IsNull(StrComp(Null, \"a\")), "
                    "IsNull(String(Null, \"a\")), IsNull(String(2, Null)), IsNull(Hex(Null)), IsNull(Oct(Null)), "
                    "IsNull(Abs(Null)), IsNull(Int(Null)), IsNull(Fix(Null)), IsNull(Round(Null)), "
                    "IsNull(Year(Null)), IsNull(Weekday(Null)), IsNull(Hour(Null))"),
              "True True True True True True True True True True True True True True True True True True True True "
              "True\n");
    EXPECT_EQ(withShowErr("x = Len(Array(1)) : E \"Len array\"\n"
                          "x = UBound(\"abc\") : E \"UBound\"\n"
                          "x = Left(\"abc\", \"x\") : E \"Left x\"\n"
                          "x = Year(\"abc\") : E \"Year\"\n"
                          "x = Sqr(\"abc\") : E \"Sqr\"\n"
                          "x = CInt(\"abc\") : E \"CInt\"\n"
                          "x = LCase(Array(1)) : E \"LCase\"\n"
                          "x = Join(\"a\") : E \"Join\"\n"
                          "x = Abs(\"x\") : E \"Abs\"\n"
                          "x = Left(\"abc\", -1) : E \"Left -1\"\n"
                          "x = Mid(\"abc\", 0) : E \"Mid 0\"\n"
                          "x = Mid(\"abc\", 1, -1) : E \"Mid len\"\n"
                          "x = Space(-1) : E \"Space\"\n"
                          "x = String(-1, \"a\") : E \"String\"\n"
                          "x = String(3, \"\") : E \"String empty\"\n"
                          "x = Asc(\"\") : E \"Asc\"\n"
                          "x = Sqr(-1) : E \"Sqr -1\"\n"
                          "x = Log(0) : E \"Log 0\"\n"
                          "x = InStr(0, \"a\", \"b\") : E \"InStr 0\"\n"
                          "x = InStrRev(\"a\", \"b\", 0) : E \"InStrRev 0\"\n"
                          "x = MonthName(13) : E \"MonthName\"\n"
                          "x = WeekdayName(8) : E \"WeekdayName\"\n"
                          "x = Round(1.5, -1) : E \"Round\"\n"
                          "x = Split(\"a\", \",\", -2) : E \"Split\"\n"
                          "x = Replace(\"a\", \"a\", \"b\", 0) : E \"Replace start\"\n"
                          "x = Replace(\"a\", \"a\", \"b\", 1, -2) : E \"Replace count\"\n"
                          "x = Exp(1000) : E \"Exp\"\n"
                          "x = CInt(32768) : E \"CInt\"\n"
                          "x = CByte(-1) : E \"CByte\"\n"
                          "x = Array(1, 2, 3, 4, 5, 6, 7, 8, 9, 10) : WScript.Echo UBound(x) : E \"Array\"\n"),
              "Len array 13\nUBound 13\nLeft x 13\nYear 13\nSqr 13\nCInt 13\nLCase 13\nJoin 13\nAbs 13\n"
              "Left -1 5\nMid 0 5\nMid len 5\nSpace 5\nString 5\nString empty 5\nAsc 5\nSqr -1 5\nLog 0 5\n"
              "InStr 0 5\nInStrRev 0 5\nMonthName 5\nWeekdayName 5\nRound 5\nSplit 5\nReplace start 5\n"
              "Replace count 5\nExp 6\nCInt 6\nCByte 6\n9\nArray 0\n");
}

TEST(VbBuiltins, ReplaceAndFriendsWithEveryOptionalArgument)
{
    EXPECT_EQ(runVb("WScript.Echo Replace(\"aXbXcX\", \"x\", \"-\", 1, -1, 1), Replace(\"aXbXcX\", \"X\", \"-\", 3), "
                    "Replace(\"aXbXcX\", \"X\", \"-\", 2, 1), Replace(\"aXbxcX\", \"x\", \"-\", 1, 2, vbTextCompare), "
                    "Replace(\"aaa\", \"a\", \"b\", , 2), Replace(\"abc\", \"B\", \"x\", , , 1), Replace(\"ABC\", \"b\", \"x\")"),
              "a-b-c- b-c- -bXcX a-b-cX bba axc ABC\n");
    EXPECT_EQ(runVb("WScript.Echo \"[\" & Replace(\"abc\", \"\", \"-\") & \"]\", \"[\" & Replace(\"\", \"a\", \"b\") & \"]\", "
                    "\"[\" & Replace(\"abc\", \"b\", \"\") & \"]\", \"[\" & Replace(\"abc\", \"a\", \"z\", 4) & \"]\", "
                    "\"[\" & Replace(\"abc\", \"a\", \"z\", 1, 0) & \"]\""),
              "[abc] [] [ac] [] [abc]\n");
    EXPECT_EQ(runVb("WScript.Echo InStr(\"abcABC\", \"B\"), InStr(3, \"abcABC\", \"b\", 1), InStrRev(\"abcabc\", \"b\"), "
                    "InStrRev(\"abcabc\", \"b\", 4), InStrRev(\"aBcAbc\", \"b\", -1, 1), StrComp(\"a\", \"A\", 1), "
                    "StrComp(\"a\", \"A\"), Join(Split(\"aXbxc\", \"x\", -1, 1), \"+\"), Join(Split(\"a,b,c\", \",\", 2), \"+\"), "
                    "Join(Filter(Array(\"ab\", \"cd\", \"AB\"), \"a\", True, 1)), Join(Filter(Array(\"ab\", \"cd\", \"AB\"), \"a\", False))"),
              "5 5 5 2 5 0 1 a+b+c a+b,c ab AB cd AB\n");
}
