' A call statement with two arguments in parentheses needs Call.
Sub Pair(a, b)
  WScript.Echo a, b
End Sub
WScript.Echo "never runs"
Pair(1, 2)
