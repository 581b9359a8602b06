// The command-line arguments: count, length, default member and Item,
// and the enumerator.
var args = WScript.Arguments;
WScript.Echo("count", args.Count(), "length", args.length);
for (var i = 0; i < args.length; i++) WScript.Echo(i, "[" + args(i) + "]", "[" + args.Item(i) + "]");
var e = new Enumerator(args);
var all = [];
for (; !e.atEnd(); e.moveNext()) all.push(e.item());
WScript.Echo(all.join("|"));
