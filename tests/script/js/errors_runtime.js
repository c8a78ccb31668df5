WScript.Echo("start");
var x = 1;
undefinedFunction();
