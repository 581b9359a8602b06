' The WScript object as an automation object: member names in any letter
' case, the Arguments collection through For Each, its default member and
' Item, and the output streams.
WScript.Echo "count:", WScript.Arguments.Count, WScript.Arguments.Length
For Each arg In WScript.Arguments
  WScript.Echo "[" & arg & "]"
Next
WScript.Echo WScript.Arguments(0), WScript.Arguments.Item(1)
Set args = WScript.Arguments
WScript.Echo args(2), args.Count()
For i = 0 To args.Count - 1
  WScript.Echo i, args(i)
Next
wscript.echo "lower case"
WSCRIPT.ECHO "upper case"
WScript.Echo wscript.ARGUMENTS.item(0)
WScript.Echo
WScript.Echo 1, "two", 3.5, True
WScript.Echo ("in parentheses")
WScript.StdOut.Write "no break, "
WScript.StdOut.WriteLine "then a break"
WScript.StdOut.WriteLine
WScript.Echo WScript.ScriptName, TypeName(WScript.ScriptName)
WScript.Echo Right(WScript.ScriptFullName, Len(WScript.ScriptName)) = WScript.ScriptName
WScript.Echo IsObject(WScript), IsObject(WScript.StdOut)
