Set re = New RegExp
re.Pattern = "(\d+)-(\d+)"
re.Global = True
Set ms = re.Execute("10-20 and 30-40")
WScript.Echo ms.Count, ms(0).Value, ms(0).FirstIndex, ms(1).SubMatches(1), ms.Item(1).Length
WScript.Echo re.Replace("10-20 and 30-40", "$2:$1"), re.Test("abc"), re.Replace("1-2", "[$&]")
re.IgnoreCase = True : re.Pattern = "^a.c$"
WScript.Echo re.Test("ABC"), re.IgnoreCase, re.Pattern
For Each m In ms : WScript.Echo m.Value, m.FirstIndex : Next
Set r2 = CreateObject("VBScript.RegExp")
r2.Pattern = "o"
WScript.Echo r2.Replace("foo boo", "0"), TypeName(r2)
r2.Global = True
WScript.Echo r2.Replace("foo boo", "0")
r2.Pattern = "^\s*(\w+)\s*=\s*(.*)$" : r2.Global = False
Set m = r2.Execute("  key = some value")(0)
WScript.Echo m.SubMatches(0) & "|" & m.SubMatches(1)
r2.Pattern = "line" : r2.Global = True : r2.MultiLine = True
WScript.Echo r2.Execute("line1" & vbLf & "line2").Count
On Error Resume Next
r2.Pattern = "(" : x = r2.Test("a") : WScript.Echo Err.Number
