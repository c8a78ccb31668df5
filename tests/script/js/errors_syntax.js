WScript.Echo("never");
var = 3;
