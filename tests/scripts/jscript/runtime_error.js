// An uncaught run-time error ends the script with one line on stderr.
WScript.Echo("start");
var o = {};
undefinedFunction(o);
WScript.Echo("never");
