-- Table churn: building, filling and dropping many small tables and hash entries.
local total = 0
for round = 1, 20 do
  local t = {}
  for i = 1, 20000 do t[i] = {x = i, y = i * 2} end
  local h = {}
  for i = 1, 20000 do h["k" .. math.mod(i, 5000)] = t[i].y end
  for k, v in pairs(h) do total = total + v end
end
print(total)
