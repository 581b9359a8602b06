' For with positive, negative and fractional steps, the loop variable
' after the loop, For Each, the Do forms, While...Wend and Exit.
s = ""
For i = 1 To 5 Step 2
  s = s & i & " "
Next
WScript.Echo s & "| after:", i

s = ""
For i = 10 To 1 Step -3
  s = s & i & " "
Next
WScript.Echo s & "| after:", i

s = ""
For i = 1 To 0
  s = s & "never"
Next
WScript.Echo "[" & s & "] after:", i

s = ""
For x = 0 To 1 Step 0.25
  s = s & x & " "
Next
WScript.Echo s

n = 3
count = 0
For i = 1 To n
  n = 10
  count = count + 1
Next
WScript.Echo "bounds fixed at the start:", count

s = ""
For Each v In Array("a", "b", "c")
  s = s & v
Next
WScript.Echo s

i = 0
Do While i < 3
  i = i + 1
Loop
WScript.Echo "do while", i

i = 0
Do Until i >= 4
  i = i + 1
Loop
WScript.Echo "do until", i

i = 10
Do
  i = i + 1
Loop While i < 5
WScript.Echo "loop while runs once", i

i = 0
Do
  i = i + 2
Loop Until i > 7
WScript.Echo "loop until", i

i = 0
Do
  i = i + 1
  If i = 6 Then Exit Do
Loop
WScript.Echo "exit do", i

i = 0
While i < 4
  i = i + 1
Wend
WScript.Echo "while wend", i

found = -1
For i = 0 To 100
  If i * i > 50 Then
    found = i
    Exit For
  End If
Next
WScript.Echo "exit for", found, i

s = ""
For i = 1 To 3
  For j = 1 To 3
    If j > i Then Exit For
    s = s & i & j & " "
  Next
Next
WScript.Echo s

total = 0
For i = 1 To 100
  total = total + i
Next
WScript.Echo total
