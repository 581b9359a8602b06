' The VB Counter desklet's procedures. The main object is reachable as
' kiv; the globals below keep their values from one statement to the
' next for the desklet's whole life.
Option Explicit

Dim clicks, ticks
clicks = 0
ticks = 0

' Two digits, with a leading zero below ten.
Function TwoDigits(n)
  TwoDigits = Right("0" & n, 2)
End Function

Sub ShowTime()
  Dim t
  t = Now
  kiv.Layers("time").Text = TwoDigits(Hour(t)) & ":" & TwoDigits(Minute(t)) & ":" & TwoDigits(Second(t))
End Sub

' The count in its layer and in the desklet's label.
Sub ShowCount()
  kiv.Layers("count").Text = "Clicks: " & clicks
  kiv.DeskletLabel = "VB Counter: " & clicks
End Sub

Sub Increment()
  clicks = clicks + 1
  ShowCount
End Sub

Sub Tick()
  ticks = ticks + 1
  ShowTime
  kiv.SetSubLabel "ticks " & ticks
End Sub
