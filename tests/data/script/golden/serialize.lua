-- A recursive serializer with sorted keys, string.format("%q") and nested tables.
local function serialize(v, indent)
  indent = indent or ""
  if type(v) == "table" then
    local keys = {}
    for k in pairs(v) do table.insert(keys, k) end
    table.sort(keys, function(a, b) return tostring(a) < tostring(b) end)
    local lines = {"{"}
    for _, k in ipairs(keys) do
      local key = type(k) == "string" and k or "[" .. tostring(k) .. "]"
      table.insert(lines, indent .. "  " .. key .. " = " .. serialize(v[k], indent .. "  ") .. ",")
    end
    table.insert(lines, indent .. "}")
    return table.concat(lines, "\n")
  elseif type(v) == "string" then
    return string.format("%q", v)
  else
    return tostring(v)
  end
end
print(serialize({name = "x\"y", list = {1, 2, {deep = true}}, n = 1.5, [3] = "three"}))
local back = loadstring("return " .. serialize({a = {b = {c = "d\n"}}}))()
print(back.a.b.c == "d\n")
