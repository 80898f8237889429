local n = 0
while n < 10 do
  n = n + 1
  if n == 2 then continue end
  if n == 8 then break end
  local k = n
  f = function() return k end
end
