-- Every construct once: loops with continue and break N, hints, bitwise, wide literals.
local t = {&8 &4; 1, 2, x = 3, ["y"] = L"w\x263A"}
for i = 1, 10, 2 do
  for k, v in t do
    if k == 1 then continue 2 elseif k == 2 then break end
    t[k] = (v or 0) & 0xFF | 1 << 2 >> 1 ^ 3
  end
end
local function f(a, ...) return a .. arg.n, not a, -a end
repeat local x = f(1) until x ~= nil and #t == 0
while t.x < 10 do t.x = t.x + 1 if t.x == 5 then break 1 end end
return f(t:m [[long
string]], 'q\65\x41\n')
