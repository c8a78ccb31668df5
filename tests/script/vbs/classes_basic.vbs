Class Counter
  Private n
  Private Sub Class_Initialize : n = 0 : WScript.Echo "init" : End Sub
  Private Sub Class_Terminate : WScript.Echo "term" : End Sub
  Public Default Function Inc(by) : n = n + by : Inc = n : End Function
  Public Property Get Value : Value = n : End Property
  Public Property Let Value(v) : n = v : End Property
End Class
Set c = New Counter
WScript.Echo c(5), c.Inc(2), c.Value
c.Value = 100
WScript.Echo c.Value, TypeName(c)
Set c = Nothing
WScript.Echo "after"
Class Node
  Public Name
  Private m_child
  Public Property Set Child(o) : Set m_child = o : End Property
  Public Property Get Child : Set Child = m_child : End Property
  Public Function Describe : Describe = Me.Name & "(" & HasChild() & ")" : End Function
  Private Function HasChild : HasChild = IsObject(m_child) : End Function
End Class
Set a = New Node : a.Name = "a"
Set b = New Node : b.Name = "b"
Set a.Child = b
WScript.Echo a.Describe, a.Child.Name, b.Describe
On Error Resume Next
x = a.HasChild
WScript.Echo Err.Number
Err.Clear
a.Missing = 1
WScript.Echo Err.Number
On Error GoTo 0
Class Box
  Public Items(2)
  Public Sub Fill : Items(0) = "a" : Items(2) = "c" : End Sub
End Class
Set bx = New Box : bx.Fill
WScript.Echo bx.Items(0) & bx.Items(2), UBound(bx.Items)
Set s1 = New Box : Set s2 = s1
WScript.Echo s1 Is s2, s1 Is New Box
