var d = new ActiveXObject("Scripting.Dictionary");
d.Add("a", 1);
d.Add("b", 2);
WScript.Echo(d.Count, d.Exists("a"), d.Exists("z"), d.Item("b"));
d.Remove("a");
WScript.Echo(d.Count, d.Keys().length, typeof d.Keys);
