-- Classes with inheritance through __index, method calls with self.
local Animal = {}
Animal.__index = Animal
function Animal.new(name, sound)
  local self = setmetatable({}, Animal)
  self.name = name
  self.sound = sound
  return self
end
function Animal:speak() return self.name .. " says " .. self.sound end
function Animal:rename(n) self.name = n return self end
local Dog = setmetatable({}, {__index = Animal})
Dog.__index = Dog
function Dog.new(name)
  local self = Animal.new(name, "woof")
  return setmetatable(self, Dog)
end
function Dog:fetch() return self.name .. " fetches" end
local a = Animal.new("Cat", "meow")
local d = Dog.new("Rex")
print(a:speak(), d:speak(), d:fetch())
print(d:rename("Max"):speak(), getmetatable(d) == Dog, rawget(Dog, "speak") == nil)
local Stack = {}
Stack.__index = Stack
function Stack.new() return setmetatable({items = {}, size = 0}, Stack) end
function Stack:push(v) self.size = self.size + 1 self.items[self.size] = v end
function Stack:pop() local v = self.items[self.size] self.items[self.size] = nil self.size = self.size - 1 return v end
local s = Stack.new()
for i = 1, 5 do s:push(i * i) end
print(s:pop(), s:pop(), s.size)
