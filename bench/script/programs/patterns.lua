-- Pattern matching: find with captures, gsub with strings and functions, gfind.
local text = string.rep("alpha=1, beta=22; gamma=333 (delta) epsilon=4444\n", 200)
local count = 0
for round = 1, 150 do
  for k, v in string.gfind(text, "(%a+)=(%d+)") do count = count + string.len(k) + v end
  local r, n = string.gsub(text, "%s+", " ")
  count = count + n
  local r2, n2 = string.gsub(text, "(%a+)", function(w) return string.upper(w) end)
  count = count + n2
  local pos = 1
  while true do
    local s, e = string.find(text, "%b()", pos)
    if not s then break end
    count = count + 1
    pos = e + 1
  end
end
print(count)
