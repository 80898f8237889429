-- A double-ended queue and a priority queue built on tables.
local Deque = {}
Deque.__index = Deque
function Deque.new() return setmetatable({first = 0, last = -1, items = {}}, Deque) end
function Deque:pushleft(v) self.first = self.first - 1 self.items[self.first] = v end
function Deque:pushright(v) self.last = self.last + 1 self.items[self.last] = v end
function Deque:popleft()
  if self.first > self.last then return nil end
  local v = self.items[self.first]
  self.items[self.first] = nil
  self.first = self.first + 1
  return v
end
function Deque:size() return self.last - self.first + 1 end
local d = Deque.new()
for i = 1, 5 do d:pushright(i) end
d:pushleft(0)
print(d:size(), d:popleft(), d:popleft(), d:size())
local heap = {}
local function push(v)
  table.insert(heap, v)
  local i = table.getn(heap)
  while i > 1 and heap[math.floor(i / 2)] > heap[i] do
    local p = math.floor(i / 2)
    heap[p], heap[i] = heap[i], heap[p]
    i = p
  end
end
local function pop()
  local top = heap[1]
  local n = table.getn(heap)
  heap[1] = heap[n]
  table.remove(heap)
  n = n - 1
  local i = 1
  while true do
    local l, r, m = 2 * i, 2 * i + 1, i
    if l <= n and heap[l] < heap[m] then m = l end
    if r <= n and heap[r] < heap[m] then m = r end
    if m == i then break end
    heap[m], heap[i] = heap[i], heap[m]
    i = m
  end
  return top
end
for _, v in ipairs({5, 3, 8, 1, 9, 2, 7}) do push(v) end
local sorted = {}
for i = 1, 7 do sorted[i] = pop() end
print(table.concat(sorted, " "))
