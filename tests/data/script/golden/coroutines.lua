-- Coroutines: generators, passing values both ways, status, wrap, errors inside.
local function gen(n)
  return coroutine.wrap(function()
    for i = 1, n do coroutine.yield(i) end
  end)
end
local s = 0
for v in gen(10) do s = s + v end
print(s)
local co = coroutine.create(function(a, b)
  print("start", a, b)
  local c = coroutine.yield(a + b)
  print("got", c)
  local d, e = coroutine.yield(c * 2)
  return d + e
end)
print(coroutine.status(co))
print(coroutine.resume(co, 1, 2))
print(coroutine.status(co))
print(coroutine.resume(co, 10))
print(coroutine.resume(co, 3, 4))
print(coroutine.status(co))
print(coroutine.resume(co))
local bad = coroutine.create(function() error("inside") end)
local ok, msg = coroutine.resume(bad)
print(ok, msg, coroutine.status(bad))
local function producer()
  return coroutine.create(function()
    for _, w in ipairs({"a", "b", "c"}) do coroutine.yield(w) end
  end)
end
local p = producer()
local out = {}
while true do
  local _, w = coroutine.resume(p)
  if w == nil then break end
  table.insert(out, w)
end
print(table.concat(out, "-"))
