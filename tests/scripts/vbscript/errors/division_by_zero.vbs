' Division by zero stops the script; On Error GoTo 0 ends resuming.
On Error Resume Next
x = 1 / 0
WScript.Echo "resumed:", Err.Number
On Error GoTo 0
WScript.Echo "handler off"
x = 5 \ 0
WScript.Echo "never"
