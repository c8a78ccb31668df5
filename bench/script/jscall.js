// 1,000,000 calls of a small function.
function inc(x) {
  return x + 1;
}
function main() {
  var n = 0;
  for (var i = 1; i <= 1000000; i++)
    n = inc(n);
  return n;
}
WScript.Echo(main());
