// A syntax error stops the script before any of it runs.
WScript.Echo("never");
var x = ;
