-- Runs under tvlua after tvluac has precompiled it.
local greeting = L"hello \x263A"
local total = 0
for i = 1, 10 do
  if i & 1 == 1 then continue end
  total = total + i
end
print(greeting, total, arg[0] ~= nil)
