local t = nil
print("before")
local x = t.field
