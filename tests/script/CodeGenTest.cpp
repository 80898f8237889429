// Golden instruction listings (tests/data/script/listings: each NAME.lua has its NAME.lst),
// constant operands beyond the RK range, and the parser's syntax errors.
// Set TV_UPDATE_GOLDEN=1 to rewrite the listings after a reviewed change.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/script/ScriptHelpers.h"
#include "tvlib/script/Opcodes.h"

namespace tvs {
namespace {

namespace fs = std::filesystem;

TEST(CodeGen, GoldenListings) {
  const fs::path dir = fs::path(TV_TEST_DATA) / "script" / "listings";
  const bool update = std::getenv("TV_UPDATE_GOLDEN") != nullptr;
  int compared = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().extension() != ".lua") continue;
    const std::string listing = test::ListSource(test::ReadGoldenFile(entry.path()));
    fs::path golden = entry.path();
    golden.replace_extension(".lst");
    if (update) std::ofstream(golden, std::ios::binary) << listing;
    EXPECT_EQ(listing, test::ReadGoldenFile(golden)) << entry.path();
    compared++;
  }
  EXPECT_GE(compared, 9);
}

// Constants past index 261 cannot be RK operands: they are loaded into a register first.
TEST(CodeGen, ConstantBeyondRkRangeGoesThroughRegister) {
  std::string source = "local t = {";
  for (int i = 0; i < 300; i++) source += std::to_string(i + 1000) + ",";
  source += "}\nlocal a\nlocal b = a + 1299\nlocal c = a + 1000\n";
  test::ScriptState s;
  ASSERT_EQ(s.Load(source), 0);
  const TProto* p = s.TopProto();
  // The last three instructions before RETURN: LOADK of constant 299, ADD from registers,
  // and ADD with the constant 1000 (index 0) as an RK operand.
  const Instruction* code = p->code + p->sizecode - 4;
  EXPECT_EQ(GetOp(code[0]), OP_LOADK);
  EXPECT_EQ(GetBx(code[0]), 299);
  EXPECT_EQ(GetOp(code[1]), OP_ADD);
  EXPECT_LT(GetC(code[1]), kRkConstBase);
  EXPECT_EQ(GetOp(code[2]), OP_ADD);
  EXPECT_EQ(GetC(code[2]), kRkConstBase + 0);
}

TEST(Parser, SyntaxErrors) {
  const test::ErrorCase cases[] = {
      {"while 1 do break 1.5 end", "test:1: loop block number must be integer near `end'"},
      {"while 1 do break 0 end", "test:1: loop block number out of range near `end'"},
      {"while 1 do continue 101 end", "test:1: loop block number out of range near `end'"},
      {"while 1 do while 1 do break 3 end end", "test:1: no loop to break near `end'"},
      {"continue", "test:1: no loop to continue near `<eof>'"},
      {"while 1 do continue x = 1 end", "test:1: `end' expected near `x'"},
      {"while 1 do do break 2 end end", "test:1: no loop to break near `end'"},
      {"while 1 do local f = function() break end end", "test:1: no loop to break near `end'"},
      {"t = {&x}", "test:1: size expected following & (line 1) near `x'"},
      {"t = {&4 &-1}", "test:1: size expected following & (line 1) near `-'"},
      {"t = {&4, 1}", "test:1: unexpected symbol near `,'"},
      {"t = {&16777216}", "test:1: table overflow near `16777216'"},
      {"local continue = 1", "test:1: <name> expected near `continue'"},
      {"x = ", "test:1: unexpected symbol near `<eof>'"},
      {"for i = 1 do end", "test:1: `,' expected near `do'"},
      {"f(\n1)\n(g)()", "test:3: ambiguous syntax (function call x new statement) near `('"},
      {"if x then", "test:1: `end' expected near `<eof>'"},
      {"if x then\n\nelse", "test:3: `end' expected (to close `if' at line 1) near `<eof>'"},
      {"return 1 x", "test:1: <eof> expected near `x'"},
      {"x = 1 2", "test:1: unexpected symbol near `2'"},
  };
  for (const test::ErrorCase& c : cases) {
    test::ScriptState s;
    ASSERT_NE(s.Load(c.source), 0) << c.source;
    EXPECT_STREQ(lua_tostring(s.L(), -1), c.message) << c.source;
  }
}

TEST(Parser, Limits) {
  std::string locals;
  for (int i = 0; i < 201; i++) locals += "local v" + std::to_string(i) + "\n";
  std::string nested = "x = ";
  for (int i = 0; i < 250; i++) nested += "(";
  struct {
    std::string source;
    const char* message;
  } cases[] = {
      {locals, "test:202: too many local variables (limit=200) near `<eof>'"},
      {nested, "test:1: too many syntax levels near `('"},
  };
  for (const auto& c : cases) {
    test::ScriptState s;
    ASSERT_NE(s.Load(c.source), 0);
    EXPECT_STREQ(lua_tostring(s.L(), -1), c.message);
  }
}

}  // namespace
}  // namespace tvs
