' An index past the end of an array stops the script; the message names
' the index.
Dim a(2)
a(2) = "last"
WScript.Echo a(2)
WScript.Echo a(3)
