function fib(n) { return n < 2 ? n : fib(n - 1) + fib(n - 2); }
WScript.Echo(fib(20));
var d = new Date(2024, 0, 31, 13, 5, 9);
WScript.Echo(d.getFullYear(), d.getMonth() + 1, d.getDate(), d.getDay());
var dict = new ActiveXObject("Scripting.Dictionary");
dict.Add("when", d);
var back = dict.Item("when");
WScript.Echo(back.getFullYear(), back.getHours(), back.getMinutes());
var arr = [3, 1, 2].sort();
WScript.Echo(arr.join(""), typeof arr, Array.isArray(arr));
var re = /(\w+)@(\w+)\.com/;
var m = "mail bob@example.com now".match(re);
WScript.Echo(m[1], m[2]);
function thrower() { throw new Error("custom failure"); }
try { thrower(); } catch (e) { WScript.Echo(e.message); }
WScript.Echo(parseInt("42px", 10) + 1, (0.1 + 0.2).toFixed(2), String(1 / 3).length > 5);
thrower();
