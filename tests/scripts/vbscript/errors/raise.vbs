' Err.Raise with the language's numbers, with numbers of one's own, and
' with vbObjectError; the source and description given or the defaults.
On Error Resume Next
Err.Raise 1000, "MySource", "My description"
WScript.Echo Err.Number, Err.Source, Err.Description
Err.Clear

Err.Raise 13
WScript.Echo Err.Number, Err.Description
Err.Clear

Err.Raise 5
WScript.Echo Err.Number, Err.Description
Err.Clear

Err.Raise vbObjectError + 1, "Lib", "custom object error"
WScript.Echo Err.Number, Err.Number - vbObjectError, Err.Source, Err.Description
Err.Clear

WScript.Echo vbObjectError, Hex(vbObjectError)

Function Checked(n)
  If n < 0 Then Err.Raise 50000, "Checked", "negative: " & n
  Checked = n * 2
End Function
r = Checked(4)
WScript.Echo r, Err.Number
r = Checked(-1)
WScript.Echo r, Err.Number, Err.Source, Err.Description
Err.Clear

On Error GoTo 0
WScript.Echo "handler off, no error:", Err.Number
