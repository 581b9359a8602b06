' String functions at and past their boundaries.
WScript.Echo Len("hello"), Len(""), Len(12345), IsNull(Len(Null))
WScript.Echo Left("hello", 2), "[" & Left("hello", 0) & "]", Left("hello", 10)
WScript.Echo Right("hello", 3), "[" & Right("hello", 0) & "]", Right("hi", 5)
WScript.Echo Mid("hello", 2, 3), Mid("hello", 2), "[" & Mid("hello", 10) & "]", Mid("hello", 5, 10), "[" & Mid("hello", 3, 0) & "]"
WScript.Echo InStr("hello", "l"), InStr(4, "hello", "l"), InStr("hello", "z"), InStr("hello", ""), InStr("", "a")
WScript.Echo InStr(1, "Hello", "h"), InStr(1, "Hello", "h", 1), InStr(1, "Hello", "h", vbTextCompare), InStr(10, "hello", "l")
WScript.Echo InStrRev("hello", "l"), InStrRev("hello", "l", 3), InStrRev("hello", "z")
WScript.Echo UCase("MiXed 1"), LCase("MiXed 1")
WScript.Echo "[" & Trim("  a b  ") & "]", "[" & LTrim("  a ") & "]", "[" & RTrim(" a  ") & "]"
WScript.Echo Replace("a-b-c", "-", "+"), Replace("aaa", "a", "b", 1, 2), Replace("abc", "B", "x", 1, -1, 1)
WScript.Echo Replace("abcabc", "a", "x", 2), Replace("abc", "z", "y"), "[" & Replace("aaa", "a", "") & "]"
WScript.Echo StrReverse("abc"), "[" & StrReverse("") & "]", "[" & Space(3) & "]", String(3, "x"), String(2, 65), String(2, "xyz")
WScript.Echo StrComp("a", "b"), StrComp("b", "a"), StrComp("a", "a"), StrComp("A", "a"), StrComp("A", "a", 1)
WScript.Echo Asc("A"), Asc("abc"), Chr(97), Chr(48)
WScript.Echo IsNull(UCase(Null)), IsNull(Left(Null, 1))
WScript.Echo "abc" & 1 & True
