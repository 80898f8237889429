-- Custom iterators: stateless and closure-based, with the generic for.
local function range(n, step)
  step = step or 1
  local i = 0
  return function()
    i = i + step
    if i <= n then return i end
  end
end
local out = {}
for v in range(10, 3) do table.insert(out, v) end
print(table.concat(out, ","))
local function iter(t, i)
  i = i + 1
  if t[i] then return i, t[i] end
end
local function myipairs(t) return iter, t, 0 end
for i, v in myipairs({"x", "y", "z"}) do print(i, v) end
local function chars(s)
  local i = 0
  return function()
    i = i + 1
    if i <= string.len(s) then return string.sub(s, i, i), i end
  end
end
local rev = {}
for c, i in chars("hello") do table.insert(rev, 1, c) end
print(table.concat(rev))
local t = {}
for k, v in pairs({a = 1, b = 2, c = 3}) do t[table.getn(t) + 1] = k end
table.sort(t)
print(table.concat(t, " "))
