-- Coroutines passing values through several levels, wrap inside wrap, and status changes.
local function walk(t)
  return coroutine.wrap(function()
    local function visit(node, depth)
      if type(node) == "table" then
        for i = 1, table.getn(node) do visit(node[i], depth + 1) end
      else
        coroutine.yield(node, depth)
      end
    end
    visit(t, 0)
  end)
end
for leaf, depth in walk({1, {2, {3, 4}}, 5}) do print(leaf, depth) end
local log = {}
local a = coroutine.create(function(x)
  table.insert(log, "a got " .. x)
  local b = coroutine.create(function(y)
    table.insert(log, "b got " .. y)
    local z = coroutine.yield(y * 2)
    table.insert(log, "b resumed with " .. z)
    return "b done"
  end)
  local _, v = coroutine.resume(b, x + 1)
  local w = coroutine.yield(v)
  local _, r = coroutine.resume(b, w)
  return r
end)
print(coroutine.resume(a, 10))
print(coroutine.resume(a, 7))
print(coroutine.status(a), table.concat(log, "; "))
