local a, b = 6, 3
local c = a & b
local d = a | b
local e = 5 << 2
local f = a >> b
local g = a ^ b
local h = 1 + 2 & 3
local i = -a & b
