' A member reached through a variable that holds no object.
Dim thing
WScript.Echo "thing is", TypeName(thing)
thing.Run
