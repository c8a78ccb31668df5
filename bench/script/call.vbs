Function Inc(x)
  Inc = x + 1
End Function
Dim i, n
n = 0
For i = 1 To 1000000
  n = Inc(n)
Next
WScript.Echo n
