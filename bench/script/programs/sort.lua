-- Sorting: table.sort with and without an order function, on numbers and strings.
local seed = 12345
local function rnd() seed = math.mod(seed * 16807, 2147483647) return seed end
local check = 0
for round = 1, 4 do
  local a, b = {}, {}
  for i = 1, 20000 do a[i] = rnd() b[i] = "s" .. math.mod(rnd(), 100000) end
  table.sort(a)
  table.sort(b, function(x, y) return x > y end)
  check = check + a[1] + a[20000] + string.len(b[1])
end
print(check)
