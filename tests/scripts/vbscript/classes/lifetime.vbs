' Class_Terminate runs when the last reference goes: when a variable is
' set to Nothing or to another object, when a procedure's local goes away,
' and when an object held only by another object's field is released
' with its holder.
Class Tracker
  Public Name
  Public Child
  Private Sub Class_Terminate()
    WScript.Echo "terminate " & Name
  End Sub
End Class

Function Make(name)
  Dim t
  Set t = New Tracker
  t.Name = name
  Set Make = t
End Function

Set a = Make("a")
WScript.Echo "made a"
Set a = Make("b")
WScript.Echo "a now holds b"

Set parent = Make("parent")
Set parent.Child = Make("child")
WScript.Echo "parent has a child"
Set parent = Nothing
WScript.Echo "parent gone"

Set list = Make("in array")
arr = Array(list, 1)
Set list = Nothing
WScript.Echo "array still holds it"
arr = Empty
WScript.Echo "array cleared"

Make "temporary"
WScript.Echo "after the temporary"
Set a = Nothing
