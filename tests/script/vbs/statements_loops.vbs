s = ""
For i = 10 To 1 Step -3 : s = s & i & " " : Next
WScript.Echo Trim(s), i
t = ""
For x = 0 To 1 Step 0.25 : t = t & x & ";" : Next
WScript.Echo t
For j = 1 To 0 : WScript.Echo "never" : Next
WScript.Echo j
r = ""
For i = 1 To 3
  For j = 1 To 3
    If j = 2 Then Exit For
    r = r & i & j & ","
  Next
Next
WScript.Echo r
n = 0
Do
  n = n + 1
  If n >= 5 Then Exit Do
Loop
WScript.Echo n
n = 0
Do While n < 3 : n = n + 1 : Loop
WScript.Echo n
Do Until n = 0 : n = n - 1 : Loop
WScript.Echo n
Do : n = n + 2 : Loop While n < 7
WScript.Echo n
Do : n = n - 1 : Loop Until n < 5
WScript.Echo n
w = 0
While w < 4
  w = w + 1
Wend
WScript.Echo w
k = 0
For i = 1 To 3
  Do
    k = k + 1
    If k Mod 2 = 0 Then Exit Do
  Loop
Next
WScript.Echo k
For i = 1 To 5
  If i = 2 Then i = 4
  WScript.Echo "i=" & i
Next
For Each v In Array(3, 1, 2) : WScript.Echo v * 10 : Next
c = 0
For i = 1 To 3 Step 1 : c = c + i : Next : WScript.Echo c
