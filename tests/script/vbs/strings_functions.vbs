WScript.Echo "[" & Mid("abc", 5) & "]", "[" & Mid("abc", 2, 10) & "]", Left("abc", 10), Right("abc", 2), Mid("abcdef", 3)
WScript.Echo InStr("hello", "l"), InStr(4, "hello", "l"), InStr("hello", "z"), InStr("Hello", "h"), InStr(1, "Hello", "h", 1), InStrRev("hello", "l"), InStr("abc", "")
WScript.Echo Replace("aaa", "a", "b", 2), Replace("abcabc", "b", "X", 1, 1), Replace("ABC", "b", "x", 1, -1, 1), Replace("abc", "", "x")
WScript.Echo StrReverse("abc"), LCase("ABC"), UCase("abc"), Len(""), Len(123), Space(3) & "|", String(3, "ab"), String(2, 65)
WScript.Echo Trim("  a  ") & "|", LTrim("  a") & "|", RTrim("a  ") & "|"
WScript.Echo Asc("A"), AscW("中"), ChrW(20013), Chr(97), Len("中文"), LenB("ab")
WScript.Echo Escape("a b+中"), Unescape("%41%u4E2D"), Unescape("100%")
WScript.Echo Join(Array("a", "b")), Join(Array(1, 2), ""), "a" & vbTab & "b" = "a" & Chr(9) & "b", Len(vbCrLf)
WScript.Echo IsNull(Left(Null, 1)), IsNull(Len(Null)), IsNull(UCase(Null)), IsNull(InStr(Null, "a"))
WScript.Echo StrComp("abc", "ABC", vbTextCompare), InStrRev("abcabc", "b", 4), InStrRev("abc", "c", 2)
s = "x"
For i = 1 To 5 : s = s & i : Next
WScript.Echo s, Len(s)
WScript.Echo FormatNumber(1234.567), FormatNumber(0.6, 0), FormatNumber(-1234.5, 1), FormatNumber(0.25, 2, 0), FormatPercent(0.256), FormatNumber(1234567, 0, , , 0)
