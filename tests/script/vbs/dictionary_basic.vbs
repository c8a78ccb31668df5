Set d = CreateObject("Scripting.Dictionary")
d.Add "b", 2 : d.Add "a", 1 : d("c") = 3
WScript.Echo d.Count, d.Exists("a"), d.Exists("z"), d("b"), Join(d.Keys, ","), Join(d.Items, ","), TypeName(d)
d.Remove "a" : WScript.Echo Join(d.Keys, ",")
d.Key("b") = "bb" : WScript.Echo Join(d.Keys, ","), d("bb")
On Error Resume Next
d.Add "c", 9 : WScript.Echo Err.Number
Err.Clear : d.Remove "zz" : WScript.Echo Err.Number
On Error GoTo 0
x = d("new") : WScript.Echo d.Count, IsEmpty(x)
d.Item("c") = 30 : WScript.Echo d.Item("c")
For Each k In d : WScript.Echo k & "=" & d(k) : Next
d.RemoveAll : WScript.Echo d.Count
Set d2 = CreateObject("Scripting.Dictionary")
d2.CompareMode = vbTextCompare : d2.Add "Key", 1 : WScript.Echo d2.Exists("KEY")
d2(1) = "num" : d2("1") = "str" : WScript.Echo d2.Count, d2(1), d2("1")
Set d2("obj") = d : WScript.Echo TypeName(d2("obj"))
On Error Resume Next
Set fso = CreateObject("Scripting.FileSystemObject")
WScript.Echo Err.Number
