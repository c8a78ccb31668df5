' Classes: 100,000 New, then 1,000,000 member reads, writes and method calls.
Class Counter
  Public Total, Steps
  Public Sub Add(n)
    Total = Total + n
    Steps = Steps + 1
  End Sub
  Public Function Mean()
    Mean = Total \ Steps
  End Function
End Class

Dim i, c, p, t
t = 0
For i = 1 To 100000
  Set p = New Counter
  p.Total = i
  p.Steps = 1
  t = t + p.Mean()
Next
Set c = New Counter
c.Total = 0
c.Steps = 0
For i = 1 To 200000
  c.Add i Mod 7
  t = t + c.Steps
  c.Total = c.Total - 1
  t = t + c.Mean()
Next
WScript.Echo t, c.Total, c.Steps
