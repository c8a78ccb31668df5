Sub Inc(x) : x = x + 1 : End Sub
Sub IncV(ByVal x) : x = x + 1 : End Sub
n = 1 : Inc n : WScript.Echo n
Inc (n) : WScript.Echo n
Call Inc(n) : WScript.Echo n
IncV n : WScript.Echo n
Dim arr(1) : arr(0) = 5
Inc arr(0) : WScript.Echo arr(0)
Class P : Public v : End Class
Set p = New P : p.v = 1
Inc p.v : WScript.Echo p.v
Function Fact(n)
  If n <= 1 Then
    Fact = 1
  Else
    Fact = n * Fact(n - 1)
  End If
End Function
WScript.Echo Fact(10)
Function Early(x)
  Early = "start"
  If x Then Exit Function
  Early = "end"
End Function
WScript.Echo Early(True), Early(False)
Sub Swap(a, b)
  Dim t : t = a : a = b : b = t
End Sub
Dim q(2) : q(0) = "x" : q(2) = "z"
Swap q(0), q(2) : WScript.Echo q(0), q(2)
Function NoValue() : End Function
WScript.Echo IsEmpty(NoValue())
Sub Outer
  Dim local : local = "outer"
  Inner local
  WScript.Echo local
End Sub
Sub Inner(ByRef s) : s = s & "+inner" : End Sub
Outer
Function Twice(ByVal s) : s = s & s : Twice = s : End Function
z = "ab" : WScript.Echo Twice(z), z
Function Implicit
  undeclaredLocal = 3
  Implicit = undeclaredLocal * 2
End Function
WScript.Echo Implicit, IsEmpty(undeclaredLocal)
