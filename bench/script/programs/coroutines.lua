-- Coroutines: a generator pipeline with many resumes and yields.
local function gen(n)
  return coroutine.wrap(function() for i = 1, n do coroutine.yield(i) end end)
end
local function filter(src)
  return coroutine.wrap(function() for v in src do if math.mod(v, 3) ~= 0 then coroutine.yield(v * 2) end end end)
end
local total = 0
for round = 1, 10 do
  for v in filter(gen(50000)) do total = total + v end
end
print(total)
