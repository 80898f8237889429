-- Keeps everything it makes: bounded only by the memory limit.
local kept = {}
local i = 0
while true do
  i = i + 1
  kept[i] = string.rep("x", 1000) .. i
end
