// Values, operators and functions of JScript, printed through WScript.Echo.
function square(n) { return n * n; }
function fib(n) { return n < 2 ? n : fib(n - 1) + fib(n - 2); }

WScript.Echo("sum", 1 + 2, "concat", "1" + 2, "minus", "5" - 2);
WScript.Echo(square(12), fib(20));
WScript.Echo(7 / 2, 7 % 3, -7 % 3, Math.floor(-3.5), Math.round(2.5));
WScript.Echo(String(0.1 + 0.2), String(1 / 3));
WScript.Echo(typeof 1, typeof "s", typeof null, typeof undefined, typeof square);
WScript.Echo(String(true && false), String(!0), String(null == undefined), String(null === undefined));
var a = [3, 1, 2];
a.sort();
WScript.Echo(a.join(","), a.length, String(a.concat([4, 5])));
WScript.Echo("abc".toUpperCase(), "Hello".charAt(1), "a-b-c".split("-").length, "xyz".indexOf("z"));
var o = { name: "box", size: 3 };
var keys = [];
for (var k in o) keys.push(k + "=" + o[k]);
WScript.Echo(keys.join(" "));
WScript.Echo(parseInt("42px"), parseFloat("3.5e1"), String(isNaN("x")), (255).toString(16));
