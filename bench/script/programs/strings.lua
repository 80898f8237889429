-- String building: concatenation, table.concat, format and rep.
local n = 0
for round = 1, 120 do
  local parts = {}
  for i = 1, 5000 do parts[i] = string.format("%d:%s", i, string.rep("x", math.mod(i, 5))) end
  local s = table.concat(parts, ",")
  local t = ""
  for i = 1, 500 do t = t .. string.sub(s, i, i + 3) end
  n = n + string.len(s) + string.len(t)
end
print(n)
