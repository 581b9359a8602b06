' TypeName, VarType and the Is functions for every kind of value.
Dim e
Set n = Nothing
WScript.Echo TypeName(e), TypeName(Null), TypeName(1), TypeName(100000), TypeName(1.5), TypeName("s")
WScript.Echo TypeName(True), TypeName(CByte(1)), TypeName(CCur(1)), TypeName(CSng(1)), TypeName(#1/1/2020#)
WScript.Echo TypeName(Array()), TypeName(n), TypeName(Empty)
WScript.Echo VarType(e), VarType(Null), VarType(1), VarType(100000), VarType(CSng(1)), VarType(1.5), VarType(CCur(1))
WScript.Echo VarType(#1/1/2020#), VarType("s"), VarType(True), VarType(CByte(1)), VarType(Array(1)), VarType(n)
WScript.Echo vbEmpty, vbNull, vbInteger, vbLong, vbSingle, vbDouble, vbCurrency, vbDate, vbString, vbObject, vbBoolean, vbVariant, vbByte, vbArray
WScript.Echo IsNumeric("12"), IsNumeric("abc"), IsNumeric(""), IsNumeric(e), IsNumeric("1e3"), IsNumeric(3.5), IsNumeric(Null)
WScript.Echo IsEmpty(e), IsEmpty(""), IsEmpty(0), IsNull(Null), IsNull(e), IsNull("")
WScript.Echo IsObject(n), IsObject(1), IsArray(Array()), IsArray("a")
WScript.Echo vbTrue, vbFalse, vbBinaryCompare, vbTextCompare, vbSunday, vbSaturday
