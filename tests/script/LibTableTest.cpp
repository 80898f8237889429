// The table library: insert/remove with positions and `n', concat ranges, sort with and
// without an order function, and the errors.
#include <gtest/gtest.h>

#include "tests/script/ScriptHelpers.h"

namespace tvs {
namespace {

TEST(LibTable, MainPaths) {
  test::ScriptState s;
  const test::RunResult r = s.Run(
      "local t = {} table.insert(t, 'a') table.insert(t, 1, 'b') table.insert(t, 4, 'd') out(t[1], "
      "t[2], t[3], t[4])\n"
      "out(table.remove({}), table.remove({1, 2, 3}, 1), table.getn(t))\n"
      "out(table.concat({1, 2, 3}, '-', 2), table.concat({'a', 'b'}, ', ', 1, 2), table.concat({}, "
      "'x'), table.concat({1}, '', 3))\n"
      "local big = {} for i = 1, 2000 do big[i] = 'x' end out(string.len(table.concat(big, "
      "'yy')))\n"
      "local n = {} for i = 1, 500 do n[i] = math.mod(i * 7919, 503) end table.sort(n)\n"
      "local ok = true for i = 2, 500 do ok = ok and n[i - 1] <= n[i] end out(ok)\n"
      "local d = {3, 1, 2} table.sort(d, function(a, b) return a > b end) out(d[1], d[2], d[3])\n"
      "local e = {} table.sort(e) local one = {5} table.sort(one) out(one[1])\n"
      "out(table.foreach({a = 1}, function(k, v) return k .. v end), table.foreachi({4, 5}, "
      "function(i, v) end))");
  EXPECT_EQ(r.output, "b\ta\tnil\td\nnil\t1\t4\n2-3\ta, b\t\t\n5998\ntrue\n3\t2\t1\n5\na1\n")
      << r.error;
}

TEST(LibTable, Errors) {
  const test::ErrorCase cases[] = {
      {"table.concat({1, {}})", "test:1: bad argument #1 to `concat' (table contains non-strings)"},
      {"table.sort({1, 'x', 2})", "attempt to compare string with number"},
      {"table.sort({1, 2, 3, 4, 5}, function(a, b) return true end)",
       "test:1: invalid order function for sorting"},
      {"table.insert(1, 2)", "test:1: bad argument #1 to `insert' (table expected, got number)"},
      {"table.foreach({}, 1)",
       "test:1: bad argument #2 to `foreach' (function expected, got number)"},
  };
  test::ExpectErrors(cases);
}

}  // namespace
}  // namespace tvs
