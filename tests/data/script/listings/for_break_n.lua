for i = 1, 3 do
  local outer = i
  for j = 1, 3 do
    if j == 2 then continue 2 end
    if i == 3 then break 2 end
    h = function() return outer, j end
  end
end
