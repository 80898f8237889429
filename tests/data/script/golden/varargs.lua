-- Functions with varargs through arg, multiple results, adjustments.
local function count(...) return arg.n end
local function sum(...)
  local s = 0
  for i = 1, arg.n do s = s + arg[i] end
  return s
end
local function multi() return 1, 2, 3 end
print(count(), count(nil, nil), count(1, 2, 3), sum(1, 2, 3, 4))
print(multi())
print(multi(), "end")
print((multi()))
local t = {multi(), multi()}
print(table.getn(t))
local a, b, c, d = multi()
print(a, b, c, d)
local function pass(...) return unpack(arg) end
print(pass(4, 5, 6))
local function first(x, ...) return x, arg.n end
print(first(7, 8, 9))
print(string.format("%d-%d", multi()))
