x = 5
If x > 3 Then WScript.Echo "big"
If x > 10 Then WScript.Echo "huge" Else WScript.Echo "not huge"
If x = 1 Then
  WScript.Echo "one"
ElseIf x = 5 Then
  WScript.Echo "five"
Else
  WScript.Echo "other"
End If
If x > 1 Then a = 1 : b = 2 Else a = 3
WScript.Echo a, b
For Each v In Array(1, 5, 10, 3, 0)
  Select Case v
    Case 1 : r = "one"
    Case 2 To 4, 6 : r = "small"
    Case Is >= 10 : r = "big"
    Case 5
      r = "five"
    Case Else : r = "other"
  End Select
  WScript.Echo r
Next
Select Case "b"
  Case "a", "b" : WScript.Echo "ab"
End Select
Select Case 7
  Case 1 : WScript.Echo "no"
End Select
WScript.Echo "done"
