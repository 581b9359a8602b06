' If on one line and on several, with ElseIf and Else; Select Case with
' lists, ranges, Is comparisons and Case Else.
x = 5
If x > 3 Then WScript.Echo "big" Else WScript.Echo "small"
If x > 9 Then WScript.Echo "huge" Else WScript.Echo "not huge"
If x = 5 Then WScript.Echo "five"
If x = 4 Then WScript.Echo "never"

For Each n In Array(-1, 0, 7, 50)
  If n < 0 Then
    WScript.Echo n, "negative"
  ElseIf n = 0 Then
    WScript.Echo n, "zero"
  ElseIf n < 10 Then
    WScript.Echo n, "small"
  Else
    WScript.Echo n, "large"
  End If
Next

If x > 1 Then
  If x > 4 Then
    WScript.Echo "nested"
  End If
End If

For Each n In Array(1, 3, 5, 8, 12, 100, -4)
  Select Case n
    Case 1, 2, 3
      r = "one to three"
    Case 4 To 6
      r = "four to six"
    Case 8, 10 To 11
      r = "eight or ten to eleven"
    Case Is > 50
      r = "over fifty"
    Case Is < 0
      r = "negative"
    Case Else
      r = "other"
  End Select
  WScript.Echo n, r
Next

For Each s In Array("apple", "Banana", "cherry")
  Select Case s
    Case "apple": WScript.Echo s, "is an apple"
    Case "banana": WScript.Echo s, "matched lower case"
    Case Else: WScript.Echo s, "no case"
  End Select
Next

Select Case True
  Case x < 0: WScript.Echo "select true: negative"
  Case x < 10: WScript.Echo "select true: below ten"
  Case Else: WScript.Echo "select true: else"
End Select

Select Case 2
  Case 1 + 1, 99
    WScript.Echo "first matching case only"
  Case 2
    WScript.Echo "second"
End Select
