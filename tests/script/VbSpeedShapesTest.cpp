// The forms the interpreter runs on its fast paths keep the language's
// results: Dictionary with its order, removal and renaming of keys, a chain
// of & appended to the variable it starts with, and members of classes.
#include "VbRun.h"

#include <gtest/gtest.h>

TEST(VbDictionary, OrderRemoveAndKey)
{
    EXPECT_EQ(runVb("Set d = CreateObject(\"Scripting.Dictionary\")\n"
                    "For i = 1 To 10 : d.Add \"k\" & i, i : Next\n"
                    "d.Remove \"k3\" : d.Remove \"k1\" : d.Remove \"k10\"\n"
                    "d.Key(\"k5\") = \"five\"\n"
                    "d.Add \"k1\", 100\n"
                    "WScript.Echo Join(d.Keys, \",\"), Join(d.Items, \",\"), d.Count\n"
                    "WScript.Echo d.Exists(\"k5\"), d.Exists(\"five\"), d(\"five\"), d.Item(\"k1\")\n"
                    "For Each k In d : s = s & k & \";\" : Next : WScript.Echo s"),
              "k2,k4,five,k6,k7,k8,k9,k1 2,4,5,6,7,8,9,100 8\nFalse True 5 100\nk2;k4;five;k6;k7;k8;k9;k1;\n");
    // many removals in between additions keep order and lookups
    EXPECT_EQ(runVb("Set d = CreateObject(\"Scripting.Dictionary\")\n"
                    "For i = 1 To 5000 : d.Add i, i * 2 : Next\n"
                    "For i = 1 To 4990 : d.Remove i : Next\n"
                    "For i = 1 To 3 : d.Add \"n\" & i, i : Next\n"
                    "WScript.Echo d.Count, Join(d.Keys, \",\"), d(4995), d.Exists(10), d.Exists(4991)"),
              "13 4991,4992,4993,4994,4995,4996,4997,4998,4999,5000,n1,n2,n3 9990 False True\n");
    // keys: text compare, numbers by value, strings apart from numbers
    EXPECT_EQ(runVb("On Error Resume Next\n"
                    "Set d = CreateObject(\"Scripting.Dictionary\")\n"
                    "d.CompareMode = vbTextCompare\n"
                    "d.Add \"Abc\", 1 : d.Add \"aBC\", 2 : WScript.Echo Err.Number : Err.Clear\n"
                    "d.Add 1, \"one\" : d.Add \"1\", \"text one\" : WScript.Echo d.Count, d(1), d(\"1\"), d(1.0), d(CByte(1))\n"
                    "d.Remove \"nothing here\" : WScript.Echo Err.Number : Err.Clear\n"
                    "d.Key(\"abc\") = 1 : WScript.Echo Err.Number : Err.Clear\n"
                    "x = d(\"new\") : WScript.Echo d.Count, d.Exists(\"NEW\")\n"
                    "d.RemoveAll : WScript.Echo d.Count, UBound(d.Keys)"),
              "457\n3 one text one one one\n32811\n457\n4 True\n0 -1\n");
    // objects are keys by identity; the mode can change once the dictionary is empty again
    EXPECT_EQ(runVb("On Error Resume Next\n"
                    "Set d = CreateObject(\"Scripting.Dictionary\")\n"
                    "Set a = CreateObject(\"Scripting.Dictionary\") : Set b = CreateObject(\"Scripting.Dictionary\")\n"
                    "d.Add a, \"a\" : d.Add b, \"b\" : Set d(\"x\") = a\n"
                    "WScript.Echo d(a), d(b), d(\"x\") Is a, d.Count\n"
                    "d.CompareMode = 1 : WScript.Echo Err.Number : Err.Clear\n"
                    "d.Remove a : d.Remove b : d.Remove \"x\"\n"
                    "d.CompareMode = 1 : d.Add \"K\", 1 : WScript.Echo Err.Number, d.Exists(\"k\"), d.Count"),
              "a b True 3\n5\n0 True 1\n");
}

TEST(VbConcat, ChainsAppendToTheirVariable)
{
    // a declared global, an undeclared one and a local
    EXPECT_EQ(runVb("Dim s\n"
                    "s = \"\"\n"
                    "For i = 1 To 3 : s = s & \"row \" & i & vbTab & Null & 1.5 & vbCrLf : Next\n"
                    "t = \"<\" : t = t & s & t\n"
                    "Function Local()\n  Dim u\n  u = \"a\"\n  u = u & \"b\" & u & Empty & True\n  Local = u\nEnd Function\n"
                    "WScript.Echo Replace(Replace(s, vbCrLf, \"|\"), vbTab, \"_\"), Len(t), Local()"),
              "row 1_1.5|row 2_1.5|row 3_1.5| 35 abaTrue\n");
    // a part that changes the variable sees it unchanged, as the plain form does
    const char *const parts =
        "Function F()\n  s = \"reset\"\n  F = \"f\"\nEnd Function\n"
        "Function L()\n  L = Len(s)\nEnd Function\n"
        "s = \"ab\"\ns = s & F() & \"-\"\nWScript.Echo s\n"
        "s = \"ab\"\ns = s & \"c\" & L()\nWScript.Echo s\n"
        "s = Empty\ns = s & 1 & 2\nWScript.Echo s, TypeName(s)\n"
        "s = Null\ns = s & Null & Null\nWScript.Echo TypeName(s)\n"
        "s = 5\ns = s & s & s\nWScript.Echo s";
    const char *const expected = "abf-\nabc2\n12 String\nNull\n555\n";
    EXPECT_EQ(runVb(parts), expected);
    EXPECT_EQ(runVb((std::string("Dim s\n") + parts).c_str()), expected);
    EXPECT_EQ(runVb("Const c = \"k\"\nc = c & \"x\""), "Error 501 (line 2)\n");
}

TEST(VbClasses, MembersThroughTheirSlots)
{
    EXPECT_EQ(runVb("Class A\n"
                    "  Public X\n"
                    "  Private P\n"
                    "  Public Property Get Y : Y = P * 2 : End Property\n"
                    "  Public Property Let Y(v) : P = v : End Property\n"
                    "  Public Function Sum(o) : Sum = X + o.X + P : End Function\n"
                    "End Class\n"
                    "Class B\n"
                    "  Public Y, X\n"
                    "End Class\n"
                    "On Error Resume Next\n"
                    "Set a1 = New A : Set b1 = New B\n"
                    "For Each o In Array(a1, b1, a1)\n"
                    "  o.X = 3 : o.Y = 4\n"
                    "  WScript.Echo TypeName(o), o.X, o.Y\n"
                    "Next\n"
                    "WScript.Echo a1.Sum(a1)\n"
                    "x = a1.P : WScript.Echo Err.Number : Err.Clear\n"
                    "x = b1.Z : WScript.Echo Err.Number"),
              "A 3 8\nB 3 4\nA 3 8\n10\n438\n438\n");
}
