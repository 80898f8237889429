-- Arithmetic and number printing (%.14g).
print(1 + 2, 7 - 10, 6 * 7, 1 / 3, -0.5 * 4)
print(1e15, 1e16, 123456789012345, 2 / 0 > 1e308, 0.1 + 0.2)
print(10 / 4, 3 - 3.5, 1e-5, 5e-324 > 0)
print(math.floor(-3.5), math.ceil(-3.5), math.abs(-2), math.max(3, 9, 1), math.min(3, 9, 1))
print(math.sqrt(2), math.sin(0), math.cos(0), math.exp(1), math.log(10), math.log10(1000))
print(math.floor(math.pi * 1000), math.deg(math.pi), math.rad(180))
print(math.frexp(8), math.ldexp(0.5, 4), math.atan2(1, 1) * 4)
print("10" + 5, "3" * "4", 10 .. 20)
