var a = 5, b = 7;
WScript.Echo(a + b, "x" + a, 1 / 4, Math.pow(2, 10));
function add(x, y) { return x + y; }
WScript.Echo(add(2, 3), typeof add, [1, 2, 3].join("-"));
var s = "";
for (var i = 0; i < 5; i++) s += i;
WScript.Echo(s, s.length, "abc".toUpperCase());
var o = { name: "n", value: 3 };
WScript.Echo(o.name, o.value * 2, JSON.stringify(o));
try { null.x; } catch (e) { WScript.Echo("caught", e instanceof TypeError); }
WScript.Echo(true, null === null, undefined === void 0);
