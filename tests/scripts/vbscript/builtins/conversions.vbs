' Conversions: rounding half to even, strings read as numbers, Booleans,
' and the text numbers become.
WScript.Echo CInt(2.5), CInt(3.5), CInt(-2.5), CInt(2.6), CInt("12"), CInt(" 7 ")
WScript.Echo CLng("123"), CLng(1.5), CLng(-1.5), TypeName(CLng(1))
WScript.Echo CDbl("1.5"), CDbl("1e3"), CDbl(2), TypeName(CDbl(2))
WScript.Echo CStr(123), CStr(1.5), CStr(True), CStr(False), CStr(-0.25), TypeName(CStr(1))
WScript.Echo CBool(0), CBool(5), CBool(-1), CBool("True"), CBool("false"), CBool("1")
WScript.Echo CByte(255), CByte(1.5), TypeName(CByte(1)), CSng(0.5), TypeName(CSng(1))
WScript.Echo CCur(12.5), TypeName(CCur(1)), CCur("3.25")
WScript.Echo CInt("&H10"), CLng("&HFF"), CDbl("-3")
WScript.Echo Hex(255), Hex(-1), Hex(65536), Hex(0), Oct(8), Oct(64)
WScript.Echo Int(9.9), Fix(9.9), Int(-9.9), Fix(-9.9), Int(5), TypeName(Int(5.5))
WScript.Echo Round(2.5), Round(3.5), Round(-2.5), Round(0.5), Round(1.5), Round(2.567, 2), Round(2.5, 0)
WScript.Echo Val_Like("12abc")
Function Val_Like(s)
  Dim i
  Val_Like = ""
  For i = 1 To Len(s)
    If IsNumeric(Mid(s, i, 1)) Then Val_Like = Val_Like & Mid(s, i, 1)
  Next
End Function
