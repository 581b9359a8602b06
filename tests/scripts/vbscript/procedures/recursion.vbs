' Procedures that call themselves, each call with its own variables.
Function Fact(n)
  If n <= 1 Then
    Fact = 1
  Else
    Fact = n * Fact(n - 1)
  End If
End Function

Function Fib(n)
  If n < 2 Then
    Fib = n
  Else
    Fib = Fib(n - 1) + Fib(n - 2)
  End If
End Function

Function Gcd(a, b)
  If b = 0 Then
    Gcd = a
  Else
    Gcd = Gcd(b, a Mod b)
  End If
End Function

Sub Countdown(n)
  Dim here
  here = n
  If n > 0 Then Countdown n - 1
  out = out & here & " "
End Sub

WScript.Echo Fact(1), Fact(5), Fact(10), TypeName(Fact(10))
WScript.Echo Fib(1), Fib(10), Fib(20)
WScript.Echo Gcd(48, 18), Gcd(17, 5)
out = ""
Countdown 4
WScript.Echo out

Function Depth(n)
  If n = 0 Then
    Depth = 0
  Else
    Depth = 1 + Depth(n - 1)
  End If
End Function
WScript.Echo Depth(500)
