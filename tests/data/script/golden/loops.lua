-- Loops: numeric for with steps, while, repeat, break, nested loops, generic for with pairs/ipairs.
local out = {}
for i = 10, 1, -3 do table.insert(out, i) end
print(table.concat(out, " "))
for i = 1, 0 do print("never") end
for i = 1.0, 2.0, 0.5 do table.insert(out, i) end
print(table.concat(out, " "))
local n, steps = 27, 0
while n ~= 1 do
  if math.mod(n, 2) == 0 then n = n / 2 else n = 3 * n + 1 end
  steps = steps + 1
end
print(steps)
local i = 0
repeat i = i + 1 until i >= 5
print(i)
for a = 1, 10 do
  if a * a > 30 then print("break at", a) break end
end
local found
for x = 1, 5 do
  for y = 1, 5 do
    if x * y == 12 then found = x .. "*" .. y break end
  end
  if found then break end
end
print(found)
local t = {"a", "b", "c"}
for k, v in ipairs(t) do print(k, v) end
local m = {x = 1, y = 2, z = 3}
local ks = {}
for k, v in pairs(m) do table.insert(ks, k .. "=" .. v) end
table.sort(ks)
print(table.concat(ks, ","))
local total = 0
for k, v in pairs({10, 20, 30}) do total = total + k * v end
print(total)
