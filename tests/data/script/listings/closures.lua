local a = 1
local function f(x, ...)
  local b = a + x
  return function() a = b; return arg end
end
do
  local c = 2
  g = function() return c end
end
return f(1)
