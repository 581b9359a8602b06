' Dim, Const, the values of variables never assigned, Empty and Null, and
' assignment copying arrays.
Dim a, b, c(2)
a = 5
WScript.Echo a, TypeName(b), IsEmpty(b), VarType(b), "[" & b & "]"
WScript.Echo TypeName(c), UBound(c), IsEmpty(c(0))
Const PI = 3.14159, NAME = "circle"
Const BIG = 100000
WScript.Echo PI, NAME, TypeName(PI), TypeName(NAME), TypeName(BIG)
WScript.Echo PI * 2
b = Null
WScript.Echo IsNull(b), TypeName(b), VarType(b)
b = Empty
WScript.Echo IsEmpty(b), TypeName(b)
undeclared = "made on first use"
WScript.Echo undeclared
first = Array(1, 2, 3)
second = first
second(0) = 99
WScript.Echo first(0), second(0)
Dim with_underscore, x1, LongerNameForAVariable
with_underscore = 1 : x1 = 2 : LongerNameForAVariable = 3
WScript.Echo with_underscore + x1 + LongerNameForAVariable
Dim s
s = "text"
s = 12
WScript.Echo TypeName(s), s
