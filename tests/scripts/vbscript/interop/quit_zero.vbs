' Quit without a code ends the script successfully.
WScript.Echo "one"
WScript.Quit
WScript.Echo "two"
