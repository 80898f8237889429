local a, b
local x = a > b
local y = a ~= b
local z = a <= b
if a >= b and not z then x = 1 end
