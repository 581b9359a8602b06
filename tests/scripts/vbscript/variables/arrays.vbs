' Fixed and dynamic arrays: bounds, ReDim with and without Preserve,
' arrays of several dimensions and Erase.
Dim fixed(3)
fixed(0) = "zero" : fixed(3) = "three"
WScript.Echo LBound(fixed), UBound(fixed), fixed(0), fixed(3), IsEmpty(fixed(1))

Dim dyn()
ReDim dyn(2)
dyn(0) = "a" : dyn(1) = "b" : dyn(2) = "c"
ReDim Preserve dyn(4)
WScript.Echo UBound(dyn), dyn(0), dyn(2), IsEmpty(dyn(4))
ReDim Preserve dyn(1)
WScript.Echo UBound(dyn), dyn(1)
ReDim dyn(3)
WScript.Echo UBound(dyn), IsEmpty(dyn(0))

Dim grid(2, 3)
For r = 0 To 2
  For c = 0 To 3
    grid(r, c) = r * 10 + c
  Next
Next
WScript.Echo UBound(grid), UBound(grid, 1), UBound(grid, 2), LBound(grid, 2)
WScript.Echo grid(0, 0), grid(1, 2), grid(2, 3)
total = 0
For Each cell In grid
  total = total + cell
Next
WScript.Echo total

ReDim cube(1, 1, 1)
cube(1, 1, 1) = "corner"
WScript.Echo UBound(cube, 3), cube(1, 1, 1)

ReDim table(1, 2)
table(1, 2) = "kept"
ReDim Preserve table(1, 5)
WScript.Echo UBound(table, 2), table(1, 2)

Erase fixed
WScript.Echo UBound(fixed), IsEmpty(fixed(0)), IsEmpty(fixed(3))

v = Array(10, 20, 30)
WScript.Echo TypeName(v), IsArray(v), IsArray(1), UBound(v), v(1)
v(1) = "changed"
WScript.Echo Join(v, ",")
empty_one = Array()
WScript.Echo UBound(empty_one), LBound(empty_one)
nested = Array(Array(1, 2), Array(3, 4))
WScript.Echo nested(1)(0), UBound(nested(0))
