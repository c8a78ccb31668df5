x = 5
WScript.Echo Eval("x * 2"), Eval("1 = 1")
Execute "y = x + 1"
WScript.Echo y
ExecuteGlobal "Function Sq(n) : Sq = n * n : End Function"
WScript.Echo Sq(4)
Set f = GetRef("Sq")
WScript.Echo f(5)
Function T(a) : T = Eval("a + 1") : End Function
WScript.Echo T(41)
Sub S(v)
  Execute "v = v & ""!"""
  WScript.Echo v
End Sub
S "hi"
Class Pt : Public X, Y : End Class
Set p = New Pt
With p
  .X = 1 : .Y = 2
  WScript.Echo .X + .Y
End With
Const PI = 3.5, NAME = "pi"
WScript.Echo UsesConst(), NAME
Function UsesConst : UsesConst = LATE * 2 : End Function
Const LATE = 21
WScript.Echo ScriptEngine, vbCrLf = Chr(13) & Chr(10), vbYesNo, RGB(1, 2, 3)
