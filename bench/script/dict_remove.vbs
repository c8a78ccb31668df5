' Dictionary.Remove: N entries added, then all N removed, oldest first; ten
' rounds so that the run is long enough to time.
' run.sh runs it for N = 10,000 and N = 20,000 (it replaces the Const line).
Const N = 10000
Dim d, i, r
Set d = CreateObject("Scripting.Dictionary")
For r = 1 To 10
  For i = 1 To N
    d.Add i, i
  Next
  For i = 1 To N
    d.Remove i
  Next
Next
WScript.Echo d.Count
