' Numeric literals: decimal integers take the smallest of Integer, Long
' and Double that holds them; hexadecimal and octal ones are Integer up
' to 16 bits, Long up to 32, with the top bit as the sign.
WScript.Echo 1, 32767, 32768, 2147483647, 2147483648
WScript.Echo TypeName(1), TypeName(32767), TypeName(32768), TypeName(2147483647), TypeName(2147483648)
WScript.Echo &HFF, &H7FFF, &H8000, &HFFFF, &H10000
WScript.Echo TypeName(&HFF), TypeName(&HFFFF), TypeName(&H10000)
WScript.Echo &H7FFFFFFF, &H80000000, &HFFFFFFFF
WScript.Echo TypeName(&HFFFFFFFF), &hff, &Ha
WScript.Echo &O17, &O777, TypeName(&O17)
WScript.Echo 1.5, .5, 1.0, 1e3, 1.5E+3, 25E-1
WScript.Echo TypeName(1.0), TypeName(1e3), TypeName(.5)
WScript.Echo 0.1 + 0.2, 1 / 3, 2 / 3
WScript.Echo CStr(1E20), CStr(1.5E-7), CStr(123456789012345678)
WScript.Echo 007, TypeName(007)
