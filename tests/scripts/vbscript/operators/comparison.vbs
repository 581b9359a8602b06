' Comparisons: strings compare by character codes, numbers by value; Empty
' equals 0 and ""; any comparison with Null is Null, and so is arithmetic.
WScript.Echo 1 = 1, 1 <> 1, 1 < 2, 2 <= 2, 3 > 4, 4 >= 4
WScript.Echo 1 = 1.0, 0.5 < 1, -1 < 0
WScript.Echo "a" < "b", "abc" < "abd", "A" = "a", "Z" < "a", "" < "a", "10" < "9"
Dim e
WScript.Echo e = 0, e = "", e < 1, IsEmpty(e)
WScript.Echo IsNull(Null = Null), IsNull(Null <> 1), IsNull(1 < Null), IsNull(Null + 1), IsNull(Null * 0)
WScript.Echo "x" & Null & "y", IsNull(Null & Null)
WScript.Echo Null And False, Null Or True, IsNull(Null And True), IsNull(Null Or False), IsNull(Not Null)
WScript.Echo TypeName(1 = 1), TypeName(Null = 1)
