-- pcall, error with levels and values, xpcall with a handler, assert.
local function q(s) return (string.gsub(tostring(s), "`", "'")) end
print(pcall(error, "plain", 0))
print(pcall(function() error("with position") end))
local ok, e = pcall(function() error({code = 42}) end)
print(ok, e.code)
print(q(({pcall(function() local x = nil; return x.field end)})[2]))
local ok2, msg = pcall(function() return 1 + {} end)
print(ok2, q(msg))
print(xpcall(function() error("deep") end, function(m) return "handled " .. m end))
print(pcall(assert, false, "assert message"))
print(pcall(assert, nil))
print((pcall(assert, 1, 2)))
print(pcall(error))
local function lvl() error("at caller", 2) end
print(pcall(function() lvl() end))
print(q(({pcall(string.rep)})[2]))
