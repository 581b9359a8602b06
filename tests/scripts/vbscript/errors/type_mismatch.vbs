' Calling a function that does not exist is a type mismatch naming it.
WScript.Echo "before"
x = NoSuchFunction(1)
WScript.Echo "after"
