' Property Set for object values, properties with an index, read-only
' properties, default members and objects kept in fields.
Class Box
  Public Label
End Class

Class Holder
  Private item_
  Private cells_(3)

  Public Property Set Item(value)
    Set item_ = value
  End Property

  Public Property Get Item()
    Set Item = item_
  End Property

  Public Property Get Cell(i)
    Cell = cells_(i)
  End Property

  Public Property Let Cell(i, value)
    cells_(i) = value
  End Property

  Public Property Get Size()
    Size = UBound(cells_) + 1
  End Property
End Class

Class Word
  Private text_
  Public Default Property Get Text()
    Text = text_
  End Property
  Public Property Let Text(value)
    text_ = value
  End Property
End Class

Class Table
  Public Default Function Lookup(key)
    Lookup = "value of " & key
  End Function
End Class

Set h = New Holder
Set b = New Box
b.Label = "boxed"
Set h.Item = b
WScript.Echo h.Item.Label, h.Item Is b
h.Item.Label = "changed through the holder"
WScript.Echo b.Label

h.Cell(0) = "zero"
h.Cell(3) = 3
WScript.Echo h.Cell(0), h.Cell(3), IsEmpty(h.Cell(1)), h.Size

Set w = New Word
w.Text = "hello"
WScript.Echo w.Text, w & " world"
x = w
WScript.Echo TypeName(x), x

Set t = New Table
WScript.Echo t("k"), t.Lookup("j")
