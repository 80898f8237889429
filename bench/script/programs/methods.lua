-- Method calls through metatables and inheritance.
local Point = {}
Point.__index = Point
function Point.new(x, y) return setmetatable({x = x, y = y}, Point) end
function Point:add(o) return Point.new(self.x + o.x, self.y + o.y) end
function Point:len2() return self.x * self.x + self.y * self.y end
local Point3 = setmetatable({}, {__index = Point})
Point3.__index = Point3
function Point3.new(x, y, z) local p = Point.new(x, y) p.z = z return setmetatable(p, Point3) end
function Point3:len2() return Point.len2(self) + self.z * self.z end
local acc = Point.new(0, 0)
local s = 0
for i = 1, 200000 do
  acc = acc:add(Point.new(1, 2))
  s = s + Point3.new(i, 1, 2):len2() - acc:len2()
end
print(s)
