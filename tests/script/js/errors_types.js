var o = null;
try { o.x = 1; } catch (e) { WScript.Echo(e.name); }
try { var n; n(); } catch (e) { WScript.Echo(e.name); }
WScript.Echo("ok");
var u;
u.title;
