Public pub1, pub2
Private priv
pub1 = 1 : priv = "p"
Dim x, y(1), z()
Const TOP = "top"
Sub Fill
  Const LOCALC = 5
  ReDim z(2)
  z(2) = LOCALC * 2
  y(1) = TOP
  pub2 = priv & pub1
End Sub
Call Fill
Fill()
WScript.Echo z(2), y(1), pub2, UBound(z)
Class Acc
  Private m_v
  Public Property Get V
    V = m_v
    If IsEmpty(m_v) Then Exit Property
    V = "v=" & m_v
  End Property
  Public Property Let V(n)
    If n < 0 Then Exit Property
    m_v = n
  End Property
End Class
Set a = New Acc
WScript.Echo IsEmpty(a.V)
a.V = -1 : WScript.Echo IsEmpty(a.V)
a.V = 3 : WScript.Echo a.V
Sub Early(n)
  If n > 0 Then Exit Sub
  WScript.Echo "reached", n
End Sub
Early 1 : Early 0
Dim i : i = 0
While i < 3 : i = i + 1 : Wend : WScript.Echo i
Randomize
r = Int(Rnd * 10) : WScript.Echo r >= 0 And r < 10
Erase z : WScript.Echo IsArray(z)
Set f = GetRef("Early") : f -5
