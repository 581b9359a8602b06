' VBScript has no labels: On Error GoTo takes only 0. Compile errors stop
' the script before any of it runs.
WScript.Echo "never runs"
On Error GoTo Handler
