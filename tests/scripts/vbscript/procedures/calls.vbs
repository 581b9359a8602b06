' Subs and Functions: a Function returns what was assigned to its name;
' arguments pass by reference unless ByVal; an argument in parentheses
' of its own, an expression or a constant passes a copy; Call.
Sub Inc(x)
  x = x + 1
End Sub

Sub IncByVal(ByVal x)
  x = x + 1
End Sub

Sub IncByRef(ByRef x)
  x = x + 1
End Sub

a = 1
Inc a
WScript.Echo "Inc a:", a
Inc (a)
WScript.Echo "Inc (a):", a
Call Inc(a)
WScript.Echo "Call Inc(a):", a
IncByVal a
WScript.Echo "IncByVal a:", a
IncByRef a
WScript.Echo "IncByRef a:", a
Inc a + 0
WScript.Echo "Inc a + 0:", a
Call Inc((a))
WScript.Echo "Call Inc((a)):", a

Function Twice(n)
  Twice = n * 2
End Function

Function Nothing_Assigned()
End Function

Function Early(n)
  Early = "small"
  If n < 10 Then Exit Function
  Early = "large"
End Function

WScript.Echo Twice(21), Twice(Twice(2)), IsEmpty(Nothing_Assigned())
WScript.Echo Early(3), Early(30)
Twice 5
Call Twice(5)

Sub Swap(p, q)
  Dim t
  t = p : p = q : q = t
End Sub
l = "left" : r = "right"
Swap l, r
WScript.Echo l, r

Sub Add3(p, q, s)
  WScript.Echo p + q + s
End Sub
Add3 1, 2, 3
Call Add3(4, 5, 6)

Function Build(count)
  Build = ""
  For i = 1 To count
    Build = Build & i
  Next
End Function
WScript.Echo Build(5)

Function MakeArray()
  MakeArray = Array("x", "y")
End Function
made = MakeArray()
WScript.Echo UBound(MakeArray()), made(1)

Sub Stop_Early(n)
  If n > 0 Then Exit Sub
  WScript.Echo "reached with", n
End Sub
Stop_Early 1
Stop_Early 0

Function NoArgs
  NoArgs = "no parentheses needed"
End Function
WScript.Echo NoArgs
WScript.Echo NoArgs()
