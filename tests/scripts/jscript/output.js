// Echo joins its values with one blank; the streams write as told.
WScript.Echo();
WScript.Echo("one");
WScript.Echo("a", "b", "c");
WScript.Echo("", "");
WScript.Echo(1, 2.5, -3);
WScript.StdOut.Write("no line break;");
WScript.StdOut.WriteLine(" now one");
WScript.StdOut.WriteLine();
WScript.StdOut.WriteBlankLines(2);
WScript.StdOut.WriteLine("after blank lines");
WScript.Echo(WScript.ScriptName);
var full = WScript.ScriptFullName;
WScript.Echo(full.substr(full.length - WScript.ScriptName.length) == WScript.ScriptName ? "full name ends with the name" : full);
