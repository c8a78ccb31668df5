WScript.Echo 2 + 3 * 4, (2 + 3) * 4, 2 ^ 3 ^ 2, -2 ^ 2, 10 / 4, 10 \ 4, 10 Mod 4, -10 Mod 3
WScript.Echo 7 \ 2 * 2, 5 Mod 3 * 2, "a" & 1 + 2, 1 + 2 & 3, 2 * 3 ^ 2
WScript.Echo "1" + 2, "1" + "2", "a" & Null, 1 = 1, 1 <> 1, 3 >= 3, 2 <= 1
WScript.Echo Not True, Not 0, True And False, 1 Or 2, 5 Xor 3, True Eqv True, False Imp True, 6 And 3
WScript.Echo 3 > 2 And 2 > 1, Not 1 = 2, 1 + 1 = 2 Or False
WScript.Echo 10.5 \ 3, 11.5 Mod 4, 7 Mod -3, -7 \ 2
WScript.Echo TypeName(Null + 1), IsNull(Null & Null), TypeName(Empty + Empty), Empty & "x"
WScript.Echo 2147483647 + 1, 32767 * 2, -32768 - 1
WScript.Echo #1/2/2000# - #1/1/2000#, TypeName(#1/1/2000# + 1), #1/1/2000# + 1
