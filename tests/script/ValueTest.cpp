// Values, strings and tables: the number scanners of narrow and wide text, interning of
// wide strings apart from narrow ones, table keys, and the table errors.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tests/script/ScriptHelpers.h"
#include "tvlib/script/Object.h"
#include "tvlib/script/StringTable.h"

namespace tvs {
namespace {

TEST(Value, NarrowNumberScanner) {
  struct {
    const char* text;
    bool ok;
    double value;
  } cases[] = {
      {"12", true, 12},    {" 1.5e3 ", true, 1500}, {"-.5", true, -0.5}, {"+3.", true, 3},
      {"1e", false, 0},    {"0x10", false, 0},      {"inf", false, 0},   {"nan", false, 0},
      {"", false, 0},      {" ", false, 0},         {"1 2", false, 0},   {"1e400", true, HUGE_VAL},
      {"1e-400", true, 0},
  };
  for (const auto& c : cases) {
    Number n = -99;
    EXPECT_EQ(StrToNumber(c.text, strlen(c.text), &n), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(n, c.value) << c.text;
    }
  }
}

TEST(Value, WideNumberScan) {
  struct {
    std::u16string text;
    bool ok;
    double value;
  } cases[] = {
      {u"0x10 ", true, 16}, {u"0x1.8p1", true, 3}, {u"0x1p4", false, 0},  // 'p' only after '.'
      {u"12abc", false, 0}, {u"+", true, 0},       {u"-2.5e1", true, -25},
      {u"1e-1", true, 0.1}, {u"", false, 0},       {u"7\u00a0", false, 0},
  };
  for (const auto& c : cases) {
    Number n = -99;
    const bool ok = WStrToNumber(c.text.data(), c.text.size(), &n);
    EXPECT_EQ(ok, c.ok) << static_cast<int>(c.text.size());
    if (ok && c.ok) {
      EXPECT_EQ(n, c.value);
    }
  }
}

TEST(Value, WideStringsAreInternedApartFromNarrowOnes) {
  test::ScriptState s;
  lua_State* L = s.L();
  TStr* w1 = NewWStr(L, u"ab", 2);
  TStr* w2 = NewWStr(L, u"ab", 2);
  TStr* n = NewStr(L, "a\0b\0", 4);
  EXPECT_EQ(w1, w2);
  EXPECT_NE(static_cast<void*>(w1), static_cast<void*>(n));
  TStr* empty = NewWStr(L, u"", 0);
  EXPECT_EQ(empty->hash, 0u);
  EXPECT_EQ(empty->len, 0u);
  EXPECT_EQ(empty->WData()[0], 0);
}

TEST(Value, TableKeys) {
  const test::Case cases[] = {
      {"local t = {} t['x'] = 1 t[L\"x\"] = 2 out(t.x, t[L\"x\"])", "1\t2\n"},
      {"local t = {} t[L\"k\"] = 1 local k = L\"\" .. L\"k\" out(t[k])", "1\n"},
      {"local t = {} t.gone = nil out(t.gone)", "nil\n"},
      {"local t = {} for i = 1, 100 do t[i] = i end for i = 1, 100, 2 do t[i] = nil end "
       "local s = 0 for i = 1, 100 do s = s + (t[i] or 0) end out(s, t[100], t[-0])",
       "2550\t100\tnil\n"},
      {"local t = {} t[1.5] = 'a' t[-1] = 'b' t[2^31] = 'c' t[true] = 'd' out(t[1.5], t[-1], "
       "t[2^31], t[true])",
       "a\tb\tc\td\n"},
      // number keys far outside the integer range
      {"local t = {} t[1e12] = 'x' t[-1e13] = 'y' out(t[1e12], t[-1e13], t[1/0])", "x\ty\tnil\n"},
  };
  test::ExpectOutputs(cases);
}

TEST(Value, StoringNilUnderAMissingKeyAddsNoKey) {
  test::ScriptState s;
  lua_State* L = s.L();
  lua_newtable(L);
  lua_pushstring(L, "gone");
  lua_pushnil(L);
  lua_settable(L, -3);
  lua_pushnil(L);
  EXPECT_EQ(lua_next(L, -2), 0);
}

TEST(Value, TableErrors) {
  test::ScriptState s;
  EXPECT_EQ(s.Run("local t = {} t[0/0] = 1").error, "test:1: table index is NaN");
  EXPECT_EQ(s.Run("local t = {} t[nil] = 1").error, "test:1: table index is nil");
}

}  // namespace
}  // namespace tvs
