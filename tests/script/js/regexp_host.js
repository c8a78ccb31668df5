var re = new ActiveXObject("VBScript.RegExp");
re.Pattern = "(\\d+)";
re.Global = true;
var m = re.Execute("a1b22c333");
WScript.Echo(m.Count, m.Item(2).Value, re.Replace("a1b2", "#"));
WScript.Echo(re.Test("abc"), re.Pattern);
