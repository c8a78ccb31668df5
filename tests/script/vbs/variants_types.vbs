WScript.Echo TypeName(Empty), TypeName(Null), TypeName(1), TypeName(100000), TypeName(1.5), TypeName("s"), TypeName(True), TypeName(Nothing)
WScript.Echo VarType(1), VarType(100000), VarType("a"), VarType(Empty), VarType(Null), VarType(CByte(1)), VarType(CCur(1)), VarType(#1/1/2000#)
WScript.Echo TypeName(32767 + 1), TypeName(2147483647 + 1), TypeName(CByte(200) + CByte(100)), TypeName(1 + 1.5)
WScript.Echo TypeName(CSng(1.5)), CSng(1.1), CDbl("1.5"), CInt(2.5), CInt(3.5), CLng(-2.5), CInt("12")
WScript.Echo CBool(0), CBool(-1), CBool("true"), CStr(True), True + 0, CStr(False)
WScript.Echo CStr(1E+20), CStr(1.5E-7), CStr(123456789012345), CStr(1234567890123456), 1/4, 0.1 + 0.2
WScript.Echo Hex(255), Oct(8), &HFF, &H10&, &HFFFF, Hex(-1), Hex(65536)
WScript.Echo IsNumeric("12"), IsNumeric(" 1e3 "), IsNumeric("abc"), IsNumeric(""), IsNumeric(Empty), IsEmpty(undeclared), IsNull(Null)
WScript.Echo CCur(1.23456), TypeName(CCur(1) * 2), CDbl(CCur(2.5))
WScript.Echo TypeName(Array()), VarType(Array()), IsObject(Nothing), IsArray("x")
WScript.Echo 1.0, 100.50, -0.5, 1E+15, 1E+14, 0.0001, 0.00001
