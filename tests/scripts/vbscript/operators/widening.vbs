' Results take the narrowest type that holds them: Integer overflows into
' Long and Long into Double; Byte into Integer. TypeName shows it.
WScript.Echo TypeName(1 + 1), TypeName(32767 + 1), 32767 + 1
WScript.Echo TypeName(2147483647 + 1), 2147483647 + 1
WScript.Echo TypeName(100 * 100), TypeName(200 * 200), 200 * 200
WScript.Echo TypeName(-32767 - 1), TypeName(-32767 - 2), -32767 - 2
i = 32767
i = i + 1
WScript.Echo TypeName(i), i
WScript.Echo TypeName(CInt(1) + CLng(1)), TypeName(1 + 1.5), TypeName(CSng(1.5) + 1), TypeName(CCur(1) + 1)
WScript.Echo TypeName(CByte(1) + CByte(2)), TypeName(CByte(200) + CByte(100)), CByte(200) + CByte(100)
WScript.Echo TypeName(CByte(1) + 1)
WScript.Echo TypeName(10 / 2), TypeName(10 \ 3), TypeName(100000 \ 2), TypeName(5 Mod 2), TypeName(2 ^ 2)
WScript.Echo TypeName("a" & 1), TypeName(1 & 2)
