-- The table library on arrays without holes, and table constructors.
local t = {10, 20, 30}
table.insert(t, 40)
table.insert(t, 1, 5)
print(table.concat(t, ","), table.getn(t))
print(table.remove(t), table.remove(t, 1), table.concat(t, ","))
print(table.concat({}, ","), table.concat({1, 2, 3}), table.concat({"a", "b", "c"}, ", ", 2, 3))
local names = {"pear", "apple", "fig", "banana", "cherry"}
table.sort(names)
print(table.concat(names, " "))
table.sort(names, function(a, b) return string.len(a) < string.len(b) or (string.len(a) == string.len(b) and a < b) end)
print(table.concat(names, " "))
local nums = {}
for i = 1, 100 do nums[i] = math.mod(i * 37, 101) end
table.sort(nums)
local sorted = true
for i = 2, 100 do if nums[i - 1] > nums[i] then sorted = false end end
print(sorted, nums[1], nums[100])
local sum = 0
table.foreachi({1, 2, 3}, function(i, v) sum = sum + i * v end)
print(sum, table.foreachi({1, 2, 3}, function(i, v) if v == 2 then return "found" end end))
local keys = {}
table.foreach({a = 1, b = 2, c = 3}, function(k, v) table.insert(keys, k .. v) end)
table.sort(keys)
print(table.concat(keys, " "))
local c = {1, 2, 3, x = "y", [10] = "ten", ["with space"] = true; "four"}
print(c[4], c.x, c[10], c["with space"])
print(unpack({1, 2, 3}))
print((pcall(table.concat, {1, {}, 3})))
print(pcall(table.sort, {3, "a", 1}))
