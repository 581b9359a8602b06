' Not, And, Or, Xor, Eqv and Imp work bit by bit on integers, and on
' Booleans as the integers -1 and 0; comparisons bind tighter than Not.
WScript.Echo Not 0, Not -1, Not 5, Not True, Not False
WScript.Echo 5 And 3, 5 Or 3, 5 Xor 3, 5 Eqv 3, 12 And -1
WScript.Echo True And 1, True Or 2, False Or 0
WScript.Echo True And False, True Or False, True Xor True, True Eqv True, True Imp False, False Imp False
WScript.Echo Not 1 = 2, True Or False And False, Not (True Or False)
WScript.Echo TypeName(5 And 3), TypeName(True And False), TypeName(Not 0)
