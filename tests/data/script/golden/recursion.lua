-- Recursion: factorial, fibonacci, Ackermann, mutual recursion.
local function fact(n) if n <= 1 then return 1 end return n * fact(n - 1) end
local function fib(n) if n < 2 then return n end return fib(n - 1) + fib(n - 2) end
local function ack(m, n)
  if m == 0 then return n + 1 end
  if n == 0 then return ack(m - 1, 1) end
  return ack(m - 1, ack(m, n - 1))
end
local isodd
local function iseven(n) if n == 0 then return true end return isodd(n - 1) end
isodd = function(n) if n == 0 then return false end return iseven(n - 1) end
print(fact(10), fact(20), fib(20), ack(2, 3), iseven(10), isodd(7))
local function hanoi(n, a, b, c, moves)
  if n == 0 then return moves end
  moves = hanoi(n - 1, a, c, b, moves)
  moves = moves + 1
  return hanoi(n - 1, c, b, a, moves)
end
print(hanoi(10, "a", "b", "c", 0))
