' With names an object once for the statements inside; With blocks nest.
Class Point
  Public X, Y
  Public Function Describe()
    Describe = "(" & X & ", " & Y & ")"
  End Function
End Class

Set p = New Point
With p
  .X = 3
  .Y = 4
  WScript.Echo .Describe(), .X * .Y
End With
WScript.Echo p.Describe()

Set q = New Point
With p
  .X = 1
  With q
    .X = 10
    .Y = 20
  End With
  .Y = 2
End With
WScript.Echo p.Describe(), q.Describe()

With WScript.StdOut
  .Write "written "
  .WriteLine "through With"
End With
