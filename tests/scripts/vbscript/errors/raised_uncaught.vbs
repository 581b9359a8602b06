' An error the script raises and nobody handles carries its own source
' and description to the runner.
WScript.Echo "raising"
Err.Raise 1000, "MyComponent", "Something went wrong"
