' Global variables are seen inside procedures; a local Dim hides the
' global of the same name; names first assigned in a procedure stay local.
Dim g, shadow
g = "global"
shadow = "outer"

Sub Look()
  Dim shadow
  shadow = "inner"
  WScript.Echo g, shadow
  g = "changed by Look"
  madeHere = "local"
End Sub

Look
WScript.Echo g, shadow, IsEmpty(madeHere)

Function Counter()
  Dim n
  n = n + 1
  Counter = n
End Function
WScript.Echo Counter(), Counter(), Counter()
