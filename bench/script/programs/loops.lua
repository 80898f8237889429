-- Numeric loops and arithmetic on locals.
local s = 0
for i = 1, 2500000 do
  local x = i * 0.5
  s = s + x - i / 4 + math.mod(i, 7)
end
print(s)
