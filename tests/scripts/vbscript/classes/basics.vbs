' Classes: fields, methods, Property Get/Let/Set, Class_Initialize when
' New creates an object, Class_Terminate when its last reference goes,
' Me, Is and Nothing.
Class Counter
  Private count_
  Public Name

  Private Sub Class_Initialize()
    count_ = 0
    Name = "unnamed"
    WScript.Echo "initialize"
  End Sub

  Private Sub Class_Terminate()
    WScript.Echo "terminate " & Name
  End Sub

  Public Property Get Count()
    Count = count_
  End Property

  Public Property Let Count(value)
    If value < 0 Then value = 0
    count_ = value
  End Property

  Public Sub Add(n)
    count_ = count_ + n
  End Sub

  Public Function Twice()
    Twice = count_ * 2
  End Function

  Public Function Self()
    Set Self = Me
  End Function

  Public Function Describe()
    Describe = Me.Name & "=" & Me.Count
  End Function
End Class

Set c = New Counter
c.Name = "first"
c.Add 5
WScript.Echo c.Count, c.Twice(), c.Twice
c.Count = 10
WScript.Echo c.Count, c.Describe()
c.Count = -3
WScript.Echo c.Count
WScript.Echo TypeName(c), IsObject(c), VarType(c)

Set d = c
d.Add 1
WScript.Echo c.Count, c Is d, c.Self() Is c
Set c = Nothing
WScript.Echo "c released, d still holds it"
Set d = Nothing
WScript.Echo "after the last reference"

Set e = New Counter
e.Name = "replaced"
Set e = New Counter
e.Name = "second"
Set e = Nothing

Sub UseLocal()
  Dim t
  Set t = New Counter
  t.Name = "local"
  WScript.Echo "leaving UseLocal"
End Sub
UseLocal
WScript.Echo "after UseLocal"

Dim o
Set o = Nothing
WScript.Echo o Is Nothing, TypeName(o), IsObject(o), IsObject(Nothing), TypeName(Nothing)
Set a1 = New Counter
Set a2 = New Counter
WScript.Echo a1 Is a2, a1 Is Nothing
a1.Name = "a1" : a2.Name = "a2"
Set a1 = Nothing : Set a2 = Nothing
