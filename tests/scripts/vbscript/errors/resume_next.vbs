' On Error Resume Next: a failing statement is skipped and Err tells what
' happened; Err.Clear and another On Error statement reset it; an error in
' a called procedure without its own handler returns to the caller.
On Error Resume Next
WScript.Echo "start", Err.Number
x = 1 / 0
WScript.Echo Err.Number, Err.Description
WScript.Echo Err.Source
y = 2
WScript.Echo "still set after a good statement:", Err.Number
Err.Clear
WScript.Echo "cleared:", Err.Number, "[" & Err.Description & "]"

x = "abc" * 2
WScript.Echo Err.Number
Err.Clear

Dim small(2)
small(5) = 1
WScript.Echo Err.Number
Err.Clear

z = 10 \ 0
WScript.Echo Err.Number
Err.Clear
z = 10 Mod 0
WScript.Echo Err.Number
Err.Clear

Sub Fails()
  WScript.Echo "in Fails"
  q = 1 / 0
  WScript.Echo "not reached"
End Sub
Fails
WScript.Echo "back in the caller:", Err.Number
Err.Clear

n = CInt("not a number")
WScript.Echo Err.Number
On Error Resume Next
WScript.Echo "a new On Error resets:", Err.Number

WScript.Echo "a skipped assignment keeps the old value:", x
