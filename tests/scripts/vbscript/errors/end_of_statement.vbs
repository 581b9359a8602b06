' Two expressions side by side: the second one is where the statement
' should have ended.
WScript.Echo "never runs"
x = 1 2
