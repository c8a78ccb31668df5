WScript.Echo "[" & Mid("abc", 4) & "]", "[" & Mid("abc", 3, 0) & "]", "[" & Left("", 3) & "]", "[" & Right("ab", 0) & "]"
x = 1 + _
    2
WScript.Echo x
Rem a comment line
WScript.Echo "a" ' trailing comment
s = Split("1,2,3,4", ",", 1) : WScript.Echo UBound(s), s(0)
s = Split("1,2,3,4", ",", 3) : WScript.Echo s(2)
For v = 1 To 2 Step 0.5 : t = t & v & " " : Next : WScript.Echo Trim(t), v
For v = 3 To 1 Step -1.5 : u = u & v & " " : Next : WScript.Echo Trim(u), v
Class DefProp
  Private items
  Private Sub Class_Initialize : Set items = CreateObject("Scripting.Dictionary") : End Sub
  Public Default Property Get Item(k) : Item = items(k) : End Property
  Public Property Let Item(k, v) : items(k) = v : End Property
End Class
Set dp = New DefProp
dp("a") = 1
dp.Item("b") = 2
WScript.Echo dp("a") + dp.Item("b"), dp("a") & ""
Function Risky(n)
  Risky = 10 / n
End Function
Sub Caller
  On Error Resume Next
  r = Risky(0)
  WScript.Echo "caller", Err.Number, IsEmpty(r)
End Sub
Caller
For i = 1 To 3
  Do
    Exit For
  Loop
Next
WScript.Echo "i=" & i
WScript.Echo Empty + 1, Len(Empty), TypeName(Empty & ""), Round(2.5) + Round(-0.5)
Dim m(2) : m(1) = Array(10, 20)
WScript.Echo m(1)(1), UBound(m(1))
WScript.Echo CStr(1 / 3 * 3), CStr(100000 * 100000), 1E+300 * 10 > 0 Or True
