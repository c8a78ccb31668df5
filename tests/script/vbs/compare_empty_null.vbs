Dim e
WScript.Echo e = 0, e = "", IsNull(e = Null), IsNull(Null = Null), e < 1, IsNull(Null <> 1)
WScript.Echo "abc" < "abd", "B" < "a", "10" < "9", 10 < 9, "" < "a"
WScript.Echo StrComp("a", "A"), StrComp("a", "A", 1), StrComp("b", "a"), StrComp("a", "a"), IsNull(StrComp(Null, "a"))
If Null Then WScript.Echo "null is true" Else WScript.Echo "null is false"
If e Then WScript.Echo "empty is true" Else WScript.Echo "empty is false"
x = 5
WScript.Echo x = "5", CStr(x) = "5", x = CInt("5")
Set o = Nothing
WScript.Echo o Is Nothing, IsObject(o), TypeName(o)
