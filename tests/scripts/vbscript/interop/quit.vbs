' Quit ends the script at once with its exit code, even under On Error
' Resume Next and from inside a procedure.
WScript.Echo "before"
Sub Leave()
  On Error Resume Next
  WScript.Quit 1
  WScript.Echo "after Quit in the procedure"
End Sub
On Error Resume Next
Leave
WScript.Echo "after the call"
