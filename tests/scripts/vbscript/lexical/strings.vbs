' String literals: a doubled quote stands for one; an apostrophe inside a
' string is no comment; the vb constants give control characters.
WScript.Echo "He said ""hi"""
WScript.Echo """"
WScript.Echo Len(""""), Len(""), Len("it's")
WScript.Echo "it's ' not a comment"
WScript.Echo "[" & "" & "]"
WScript.Echo Len(vbCrLf), Asc(vbCr), Asc(vbLf), Asc(vbTab), Len(vbNullString)
WScript.Echo Chr(65) & Chr(66) & Chr(67)
WScript.Echo "a" & """" & "b"
WScript.Echo "x" = "x", "x" = "X", "" = vbNullString
WScript.Echo "tab[" & vbTab & "]"
