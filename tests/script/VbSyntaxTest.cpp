// What the VBScript parser accepts and how those forms run: procedures and
// constants inside blocks, Call on any expression, New in expressions, text
// that stands for a Boolean or a date, Call of a conversion function.
#include "VbRun.h"

#include <gtest/gtest.h>

TEST(VbParser, ProceduresInsideBlocks)
{
    EXPECT_EQ(runVb("InIf\n"
                    "If False Then\n"
                    "  Sub InIf\n"
                    "    WScript.Echo \"in if\"\n"
                    "  End Sub\n"
                    "End If\n"
                    "For i = 1 To 1\n"
                    "  Function InFor(x)\n"
                    "    InFor = x * 2\n"
                    "  End Function\n"
                    "Next\n"
                    "WScript.Echo InFor(4)"),
              "in if\n8\n");
    // not inside another procedure
    EXPECT_EQ(runVb("Sub Outer\n  If True Then\n    Sub Inner\n    End Sub\n  End If\nEnd Sub"), "Error 1024 (line 3)\n");
}

TEST(VbParser, ConstantsInsideBlocksHaveTheirValueEverywhere)
{
    EXPECT_EQ(runVb("WScript.Echo c1\n"
                    "If False Then\n"
                    "  Const c1 = 5\n"
                    "End If\n"
                    "Sub S\n"
                    "  WScript.Echo c2\n"
                    "  Const c2 = \"x\"\n"
                    "End Sub\n"
                    "S\n"
                    "If True Then Const c3 = 7\n"
                    "WScript.Echo c3\n"
                    "Do\n"
                    "  Const c4 = -1\n"
                    "  Exit Do\n"
                    "Loop\n"
                    "WScript.Echo c4 + c1"),
              "5\nx\n7\n4\n");
    EXPECT_EQ(runVb("Const c = 1\nc = 2"), "Error 501 (line 2)\n");
}

TEST(VbParser, CallOnAnyExpressionAndNewInExpressions)
{
    EXPECT_EQ(runVb("Class K\n"
                    "  Public V\n"
                    "  Public Function Self()\n"
                    "    Set Self = Me\n"
                    "  End Function\n"
                    "  Public Sub Hi(x)\n"
                    "    WScript.Echo \"hi \" & x\n"
                    "  End Sub\n"
                    "End Class\n"
                    "Set k1 = New K\n"
                    "Call k1.Self().Hi(1)\n"
                    "Call (New K).Hi(2)\n"
                    "Call k1.Self.Hi(3)\n"
                    "Set d = CreateObject(\"Scripting.Dictionary\")\n"
                    "Call d.Add(\"a\", k1)\n"
                    "Call d.Item(\"a\").Hi(4)\n"
                    "Call Len(\"abc\")\n"
                    "WScript.Echo TypeName(New K), (New K).V = Empty, New K Is Nothing, TypeName((New K).Self())\n"
                    "Set k2 = (New K)\n"
                    "k2.V = 5 : WScript.Echo k2.V"),
              "hi 1\nhi 2\nhi 3\nhi 4\nK True False K\n5\n");
}

TEST(VbConversions, TextThatStandsForABooleanOrADate)
{
    EXPECT_EQ(runVb("If \"#TRUE#\" Then WScript.Echo \"t1\"\n"
                    "If Not \"#FALSE#\" Then WScript.Echo \"t2\"\n"
                    "If \"#FALSE#\" Then WScript.Echo \"no\" Else WScript.Echo \"t3\"\n"
                    "If \"#2000-01-01#\" Then WScript.Echo \"t4\"\n"
                    "Do While \"True\"\n  WScript.Echo \"t5\"\n  Exit Do\nLoop\n"
                    "WScript.Echo Not \"True\", Not \"5\", CBool(\"#TRUE#\"), CBool(\"#FALSE#\"), TypeName(Not \"#TRUE#\")"),
              "t1\nt2\nt3\nt4\nt5\nFalse -6 True False Boolean\n");
    EXPECT_EQ(runVb("If \"abc\" Then WScript.Echo 1"), "Error 13 (line 1)\n");
}

TEST(VbConversions, CallOfAConversionFunctionFails)
{
    EXPECT_EQ(runVb("On Error Resume Next\n"
                    "Call CStr(5) : WScript.Echo Err.Number : Err.Clear\n"
                    "Call CInt(\"1\") : WScript.Echo Err.Number : Err.Clear\n"
                    "Call CDate(1) : WScript.Echo Err.Number : Err.Clear\n"
                    "Call Len(5) : WScript.Echo Err.Number\n"
                    "WScript.Echo CStr(5) & CInt(\"1\")"),
              "458\n458\n458\n0\n51\n");
}
