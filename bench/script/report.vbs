' A report built by concatenation (100,000 lines) and a Join of 100,000 parts.
Dim i, s, a, parts, r
s = ""
For i = 1 To 100000
  a = "row "
  s = s & a & i & vbCrLf
Next
ReDim parts(99999)
For i = 0 To 99999
  parts(i) = "item" & i
Next
r = Join(parts, ",")
WScript.Echo Len(s), Len(r), Mid(s, 1000, 12) = Mid(s, 1000, 12), Right(r, 9)
