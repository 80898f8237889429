-- Sorting algorithms written in the language against table.sort.
local function lcg(seed) return function() seed = math.mod(seed * 1103515245 + 12345, 2147483648) return seed end end
local rnd = lcg(42)
local data = {}
for i = 1, 200 do data[i] = math.mod(rnd(), 1000) end
local function copy(t) local c = {} for i = 1, table.getn(t) do c[i] = t[i] end return c end
local function insertion(t)
  for i = 2, table.getn(t) do
    local v, j = t[i], i - 1
    while j >= 1 and t[j] > v do t[j + 1] = t[j] j = j - 1 end
    t[j + 1] = v
  end
  return t
end
local function merge(t)
  local n = table.getn(t)
  if n <= 1 then return t end
  local mid = math.floor(n / 2)
  local a, b = {}, {}
  for i = 1, mid do a[i] = t[i] end
  for i = mid + 1, n do b[i - mid] = t[i] end
  a, b = merge(a), merge(b)
  local r, i, j = {}, 1, 1
  while i <= table.getn(a) or j <= table.getn(b) do
    if j > table.getn(b) or (i <= table.getn(a) and a[i] <= b[j]) then table.insert(r, a[i]) i = i + 1
    else table.insert(r, b[j]) j = j + 1 end
  end
  return r
end
local s1, s2, s3 = insertion(copy(data)), merge(copy(data)), copy(data)
table.sort(s3)
local same = true
for i = 1, 200 do if s1[i] ~= s2[i] or s2[i] ~= s3[i] then same = false end end
print(same, s3[1], s3[100], s3[200])
local desc = copy(data)
table.sort(desc, function(a, b) return a > b end)
print(desc[1], desc[200])
