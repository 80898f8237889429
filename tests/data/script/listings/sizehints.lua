local t = {&4}
local u = {&0 &16; 1, 2}
local v = {1, 2, 3; x = 1, ["y"] = 2}
local w = {&100000 &1000}
