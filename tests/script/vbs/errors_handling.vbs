On Error Resume Next
Err.Raise 5
WScript.Echo Err.Number, Err.Description
Err.Clear
WScript.Echo Err.Number, "[" & Err.Description & "]"
Err.Raise 1000, "mysrc", "custom"
WScript.Echo Err.Number, Err.Source, Err.Description
Err.Clear
Sub Fails
  x = 1 / 0
  WScript.Echo "not here"
End Sub
Fails
WScript.Echo "back", Err.Number
Sub Inner
  On Error Resume Next
  y = CInt("abc")
  WScript.Echo "inner", Err.Number
End Sub
Err.Clear
Inner
WScript.Echo "outer continues"
Err.Clear
Dim a(1)
a(5) = 1
WScript.Echo Err.Number, Err.Description
Err.Clear
Set o = Nothing
o.Foo
WScript.Echo Err.Number
Err.Clear
z = 5 : z.Foo
WScript.Echo Err.Number
Err.Clear
q = CInt(40000)
WScript.Echo Err.Number, Err.Description
Err.Clear
w = Mid("abc", 0)
WScript.Echo Err.Number
On Error GoTo 0
WScript.Echo Err.Number
Err.Raise 13
WScript.Echo "never"
