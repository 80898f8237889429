-- Block scope, shadowing, do blocks, locals in nested functions.
local x = 1
do
  local x = 2
  print(x)
  do local x = x + 1 print(x) end
end
print(x)
local function outer()
  local v = "outer"
  local function inner() return v end
  v = "changed"
  return inner()
end
print(outer())
local a, b = 1, 2
a, b = b, a
print(a, b)
local t = {1, 2}
local i = 1
i, t[i] = i + 1, 20
print(i, t[1], t[2])
if x == 1 then local y = "then" print(y) elseif x == 2 then print("elseif") else print("else") end
print(y)
