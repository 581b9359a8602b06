' Numeric functions.
WScript.Echo Abs(-3), Abs(2.5), Abs(0), Sgn(-5), Sgn(0), Sgn(0.1)
WScript.Echo Sqr(16), Sqr(2), Exp(0), Log(1), Log(Exp(2))
WScript.Echo Atn(1) * 4, Sin(0), Cos(0), Tan(0)
WScript.Echo 10 ^ 2, 2 ^ 0.5, 27 ^ (1 / 3)
WScript.Echo Int(7 / 2), 7 \ 2, 7 Mod 2
Randomize 1
r = Rnd()
WScript.Echo r >= 0 And r < 1
