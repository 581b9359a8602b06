Option Explicit
' With Option Explicit every name must be declared: Dim, ReDim, Const,
' procedure parameters and For loop variables all declare.
Dim count, i
Const LIMIT = 3
count = 0
For i = 1 To LIMIT
  count = count + i
Next
WScript.Echo count

Sub Show(value)
  Dim local
  local = value * 2
  WScript.Echo local
End Sub
Show 21

Function Total(list)
  Dim item
  Total = 0
  For Each item In list
    Total = Total + item
  Next
End Function
WScript.Echo Total(Array(1, 2, 3, 4))

ReDim grown(2)
grown(2) = "ok"
WScript.Echo grown(2)
