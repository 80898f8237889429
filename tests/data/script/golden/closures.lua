-- Closures, upvalues shared between functions, counters.
local function counter()
  local n = 0
  return function() n = n + 1 return n end, function() return n end
end
local inc, get = counter()
inc() inc()
print(get(), inc(), get())
local fs = {}
for i = 1, 3 do
  local j = i
  fs[i] = function() return j * 10 end
end
print(fs[1](), fs[2](), fs[3]())
local function compose(f, g) return function(x) return f(g(x)) end end
print(compose(function(x) return x + 1 end, function(x) return x * 2 end)(5))
local function memo(f)
  local cache = {}
  return function(n)
    if cache[n] == nil then cache[n] = f(n) end
    return cache[n]
  end
end
local slow = memo(function(n) return n * n end)
print(slow(4), slow(4), slow(5))
