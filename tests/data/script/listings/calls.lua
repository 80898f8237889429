local o = {}
o:m(1, "s")
print(f(g()))
local s = "a" .. "b" .. L"w" .. 1
local t = {f()}
return L"w", L"w"
