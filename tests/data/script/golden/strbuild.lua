-- String building: concatenation in loops, table.concat, string.rep, format of many values.
local parts = {}
for i = 1, 20 do parts[i] = string.format("%02d", i) end
local joined = table.concat(parts, ":")
print(string.len(joined), string.sub(joined, 1, 14))
local s = ""
for i = 1, 50 do s = s .. string.char(65 + math.mod(i, 26)) end
print(s)
local long = string.rep("abc", 1000)
print(string.len(long), string.sub(long, -6))
local csv = "name,age,city\nAnn,30,Oslo\nBob,25,Rome"
local rows = 0
for line in string.gfind(csv, "[^\n]+") do
  rows = rows + 1
  local fields = {}
  for f in string.gfind(line, "[^,]+") do table.insert(fields, f) end
  print(rows, table.getn(fields), fields[1])
end
print(string.gsub(string.rep("ab", 5), "ab", "x."))
