Function R(n) : R = R(n + 1) : End Function
On Error Resume Next
x = R(1)
WScript.Echo Err.Number, Err.Description
