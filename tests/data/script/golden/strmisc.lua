-- Byte and character round trips, comparison of strings, escapes in literals.
local s = "Az09 ~"
local codes = {}
for i = 1, string.len(s) do codes[i] = string.byte(s, i) end
print(table.concat(codes, ","))
print(string.char(unpack(codes)) == s)
print("tab:\t|", "quote:\"|", 'single:\'|', "backslash:\\|", "bell:" .. string.byte("\a"))
print("\65\066\0671", string.len("\0\0"), string.byte("\255"))
print(string.rep("-", 20))
print(("x"):rep(3) .. ("y"):upper(), ("%d items"):format(3))
local t = {}
for w in string.gfind("b a c a", "%a") do t[table.getn(t) + 1] = w end
table.sort(t)
print(table.concat(t))
print(string.find("abc", "b", 1, true), string.find("abc", "c", -1), string.find("abc", "a", 10))
print(tostring(nil) .. tostring(false) .. tostring(12))
