Dim a(2, 3)
WScript.Echo UBound(a), UBound(a, 2), LBound(a), LBound(a, 2)
a(1, 2) = "x" : WScript.Echo a(1, 2), IsEmpty(a(0, 0))
ReDim b(2) : b(0) = "x" : ReDim Preserve b(4) : WScript.Echo UBound(b), b(0)
ReDim b(1) : WScript.Echo UBound(b), IsEmpty(b(0))
c = Array(1, "two", 3.5) : WScript.Echo UBound(c), c(1), TypeName(c), IsArray(c)
d = c : d(0) = 99 : WScript.Echo c(0), d(0)
Dim e()
WScript.Echo IsArray(e)
On Error Resume Next
x = UBound(e) : WScript.Echo Err.Number : Err.Clear
ReDim m(1, 1) : ReDim Preserve m(2, 2) : WScript.Echo Err.Number : Err.Clear
Dim f(3) : ReDim f(5) : WScript.Echo Err.Number : Err.Clear
On Error GoTo 0
s = Split("a,b,,c", ",") : WScript.Echo UBound(s), "[" & s(2) & "]"
s = Split("a b c", " ", 2) : WScript.Echo UBound(s), s(1)
s = Split("") : WScript.Echo UBound(s)
s = Split("aXbxc", "x", -1, 1) : WScript.Echo Join(s, "|")
f2 = Filter(Array("apple", "banana", "cherry"), "an") : WScript.Echo Join(f2, ",")
f2 = Filter(Array("apple", "banana", "cherry"), "an", False) : WScript.Echo Join(f2, ",")
ReDim g(2) : g(0) = 1 : g(1) = 2 : g(2) = 3
Erase g : WScript.Echo IsArray(g)
Dim h(2) : h(0) = 7 : Erase h : WScript.Echo UBound(h), IsEmpty(h(0))
n = Array(Array(1, 2), Array(3, 4)) : WScript.Echo n(1)(0)
total = 0
For Each v In Array(1, 2, 3) : total = total + v : Next
WScript.Echo total, Join(Array()), UBound(Array())
ReDim Preserve undeclaredArr(2) : WScript.Echo UBound(undeclaredArr)
