-- Closures: creation, upvalue access and calls through function values.
local function adder(n) return function(x) return x + n end end
local function compose(f, g) return function(x) return f(g(x)) end end
local sum = 0
for i = 1, 300000 do
  local f = compose(adder(i), adder(1))
  sum = sum + f(i)
end
local counters = {}
for i = 1, 100 do local c = 0 counters[i] = function() c = c + 1 return c end end
for r = 1, 5000 do for i = 1, 100 do sum = sum + counters[i]() end end
print(sum)
