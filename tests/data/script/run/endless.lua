-- Runs forever unless bounded; catching the error does not save it, nor do coroutines.
local n = 0
while true do
  pcall(function() while true do n = n + 1 end end)
  coroutine.resume(coroutine.create(function() while true do n = n + 1 end end))
end
