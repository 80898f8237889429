-- Globals, _G, setfenv/getfenv on functions, rawset on globals.
x = 10
print(x, _G.x, _G["x"])
_G.y = 20
print(y)
local function readx() return x end
local env = setmetatable({x = 99}, {__index = _G})
setfenv(readx, env)
print(readx(), x, getfenv(readx) == env, getfenv(print) == _G)
local count = 0
for k, v in pairs(_G) do if k == "x" or k == "y" then count = count + 1 end end
print(count)
rawset(_G, "z", 5)
print(z, rawget(_G, "z"))
local code = loadstring("return x + 1")
print(code == nil or type(code))
local f = loadstring("local a, b = 3, 4 return a * b")
print(f())
print(loadstring("syntax error here") == nil)
