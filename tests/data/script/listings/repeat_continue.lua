local i = 0
repeat
  i = i + 1
  local x = i
  g = function() return x end
  if x < 3 then continue end
until x >= 5
