' Dictionary: 100,000 Add, 100,000 Exists and Item, Keys, 50,000 Remove.
Dim d, i, n, k, key, s
Set d = CreateObject("Scripting.Dictionary")
For i = 1 To 100000
  d.Add "k" & i, i
Next
n = 0
For i = 1 To 100000
  key = "k" & i
  If d.Exists(key) Then n = n + d.Item(key)
Next
s = 0
For Each key In d.Keys
  s = s + Len(key)
Next
For i = 1 To 100000 Step 2
  d.Remove "k" & i
Next
WScript.Echo n, s, d.Count
