' Arithmetic operators and their precedence: ^ first (before unary
' minus), then * and /, \, Mod, + and -, and & last.
WScript.Echo -2 ^ 2, (-2) ^ 2, 2 ^ 3 ^ 2, 2 ^ -1, 2 ^ 10
WScript.Echo 1 + 2 * 3, (1 + 2) * 3, 2 * 3 ^ 2, 10 - 2 - 3, 12 / 2 / 3
WScript.Echo 7 \ 2, -7 \ 2, 7 \ 2 * 2, 10 \ 3 Mod 2, 10 Mod 3 * 2
WScript.Echo 7 Mod 3, -7 Mod 3, 7 Mod -3, 7.5 \ 2, 6.5 \ 1, 10 Mod 3.5
WScript.Echo 7 / 2, 1 / 4, -1 / 8
WScript.Echo "a" & 1 + 2, 1 + 2 & 3, "5" - 2, "3" * "4"
WScript.Echo 1 & 2, "1" + "2", "1" + 2, 1 + "2"
WScript.Echo True + True, -True, Empty + 1, "[" & Empty & "]"
x = 5
WScript.Echo -x, - -x, +x, x - -1
