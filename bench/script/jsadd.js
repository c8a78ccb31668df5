// 10,000,000 integer additions.
function main() {
  var s = 0;
  for (var i = 1; i <= 10000000; i++)
    s = s + i;
  return s;
}
WScript.Echo(main());
