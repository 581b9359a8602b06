' Line continuation, several statements on a line with ":", comments with
' an apostrophe and with Rem, and names without regard to letter case.
x = 1 + _
    2
WScript.Echo x
WScript.Echo "a" & _
  "b" & _
  "c"
a = 1 : b = 2 : WScript.Echo a + b
' a whole-line comment
Rem another whole-line comment
x = 5 ' a trailing comment
WScript.Echo x
x = 6 : Rem Rem after a colon
WScript.Echo x
If x = 6 Then WScript.Echo "six" : WScript.Echo "still in Then"
If x = 7 Then WScript.Echo "seven" : WScript.Echo "not shown"
DIM Mixed : mixed = 3 : WSCRIPT.ECHO MIXED
if TRUE then wscript.echo "lower-case keywords"
y = Array(1, _
          2, _
          3)
WScript.Echo UBound(y)
WScript.Echo "end" ' the last line has no line break after it