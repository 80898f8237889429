-- The string functions' main paths.
local s = "Hello, World"
print(string.len(s), string.upper(s), string.lower(s))
print(string.sub(s, 1, 5), string.sub(s, -5), string.sub(s, 8), string.sub(s, 0), string.sub(s, 5, 2))
print(string.rep("ab", 3), string.rep("x", 0), string.byte("ABC"), string.byte("ABC", 2), string.byte("ABC", -1))
print(string.char(76, 117, 97), string.char())
print(s:len(), s:sub(1, 1), ("%d"):format(5))
print(string.format("%5d|%-5d|%05.1f|%x|%X|%o|%e|%g|%c", 42, 42, 3.14159, 255, 255, 8, 12345.678, 0.0001, 65))
print(string.format("%s and %s", "this", 12), string.format("%10s|%-10s|", "r", "l"))
print(string.format("%q", 'a "quoted"\\ line\nnext'))
print(string.format("%.3s", "abcdef"), string.format("%%"), string.format("%5.2s|", "xyz"))
print(tostring(12), tostring(1.5), tonumber("  12  "), tonumber("1e2"), tonumber("abc"))
print(tonumber("ff", 16), tonumber("777", 8), tonumber("zz", 36), tonumber("102", 2), tonumber("11", 2))
print("a" < "b", "abc" < "abd", "Z" < "a", "" < "a", "a" .. "b" .. 1 .. 2)
