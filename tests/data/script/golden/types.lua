-- type(), truthiness, equality across types, rawequal, tostring of simple values.
print(type(nil), type(true), type(1), type("s"), type({}), type(print), type(type), type(coroutine.create(function() end)))
print(not nil, not false, not 0, not "", nil == false, 1 == "1", "abc" == "abc")
print(rawequal(1, 1), rawequal({}, {}), rawequal("a", "a"))
local t = {}
print(t == t, rawequal(t, t), {} == {})
print(tostring(nil), tostring(false), tostring(-0.0 + 0), tostring(100), tostring(1e100))
print(1 and 2, nil and 2, false or "x", nil or false, 1 or error("unreached"))
print(math.max(1, 2) == 2 and "yes" or "no")
