WScript.Echo Round(2.5), Round(3.5), Round(-2.5), Round(0.5), Round(1.5), Round(2.567, 2), Round(-1.45, 1)
WScript.Echo Int(-2.5), Fix(-2.5), Int(2.7), Fix(2.7), Abs(-3), Abs(-2.5), Sgn(-5), Sgn(0), Sgn(0.1)
WScript.Echo Sqr(16), Sqr(2), Exp(0), Log(1), 2 ^ 0.5, Atn(1) * 4
WScript.Echo TypeName(Int(2.5)), TypeName(Int(2)), TypeName(Round(2)), TypeName(Abs(-32768))
WScript.Echo CLng(2.5), CLng(3.5), CInt(-0.5), CByte(255.4)
Randomize 1
r = Rnd
WScript.Echo r >= 0 And r < 1, TypeName(r), Rnd(0) = r
On Error Resume Next
x = Sqr(-1) : WScript.Echo Err.Number : Err.Clear
x = Log(0) : WScript.Echo Err.Number : Err.Clear
x = CByte(256) : WScript.Echo Err.Number : Err.Clear
x = 0 / 0 : WScript.Echo Err.Number : Err.Clear
x = 5 \ 0 : WScript.Echo Err.Number : Err.Clear
x = 5 Mod 0 : WScript.Echo Err.Number : Err.Clear
