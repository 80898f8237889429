-- Backtracking: the eight queens puzzle, counting all solutions several times.
local N = 8
local function ok(a, n, c)
  for i = 1, n - 1 do
    if a[i] == c or a[i] - i == c - n or a[i] + i == c + n then return false end
  end
  return true
end
local count = 0
local function solve(a, n)
  if n > N then count = count + 1 return end
  for c = 1, N do
    if ok(a, n, c) then a[n] = c solve(a, n + 1) end
  end
end
for r = 1, 40 do solve({}, 1) end
print(count)
