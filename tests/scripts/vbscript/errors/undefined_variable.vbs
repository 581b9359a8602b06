Option Explicit
' With Option Explicit a name that was never declared stops the script
' when the statement using it runs, not before.
Dim declared
declared = 1
WScript.Echo "declared:", declared
If declared = 1 Then
  missing = 2
End If
