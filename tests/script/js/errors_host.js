var d = new ActiveXObject("Scripting.Dictionary");
d.Add("k", 1);
try { d.Add("k", 2); } catch (e) { WScript.Echo("dup", e.message); }
try { new ActiveXObject("Scripting.FileSystemObject"); } catch (e) { WScript.Echo("create", e.message); }
d.Remove("missing");
