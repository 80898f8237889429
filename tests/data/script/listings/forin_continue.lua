for k, v in t do
  local w = v
  if k == 1 then continue end
  s = function() return w end
end
