-- The usual metamethods on tables.
local V = {}
V.__index = V
V.__add = function(a, b) return setmetatable({x = a.x + b.x, y = a.y + b.y}, V) end
V.__eq = function(a, b) return a.x == b.x and a.y == b.y end
V.__lt = function(a, b) return a.x < b.x end
V.__le = function(a, b) return a.x <= b.x end
V.__tostring = function(v) return "(" .. v.x .. "," .. v.y .. ")" end
V.__concat = function(a, b) return tostring(a) .. tostring(b) end
V.__call = function(self, k) return self.x * k end
V.__unm = function(a) return setmetatable({x = -a.x, y = -a.y}, V) end
function V.new(x, y) return setmetatable({x = x, y = y}, V) end
function V:len2() return self.x * self.x + self.y * self.y end
local a, b = V.new(1, 2), V.new(3, 4)
print(tostring(a + b), a == V.new(1, 2), a < b, b <= a, a .. b, a(10), tostring(-a), b:len2())
local defaults = setmetatable({}, {__index = function(t, k) return k .. "!" end})
print(defaults.foo, rawget(defaults, "foo"))
local log = {}
local proxy = setmetatable({}, {__newindex = function(t, k, v) table.insert(log, k) rawset(t, k, v) end})
proxy.a = 1 proxy.b = 2 proxy.a = 3
print(table.concat(log, ","), proxy.a)
local ro = setmetatable({}, {__index = {x = 1}, __metatable = "locked"})
print(ro.x, getmetatable(ro), pcall(setmetatable, ro, {}))
