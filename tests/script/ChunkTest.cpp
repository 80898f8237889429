// Precompiled chunks: dump, load and dump again give the same bytes and the same results; a
// big-endian chunk (made by byte-swapping a dumped one) loads and runs; every prefix of a
// chunk fails cleanly; header mutations give their exact messages; crafted code is refused.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/script/ScriptHelpers.h"
#include "tvlib/script/Opcodes.h"

namespace tvs {
namespace {

int Collect(lua_State*, const void* p, size_t size, void* ud) {
  static_cast<std::string*>(ud)->append(static_cast<const char*>(p), size);
  return 0;
}

std::string Dump(lua_State* L) {
  std::string bytes;
  EXPECT_EQ(lua_dump(L, Collect, &bytes), 1);
  return bytes;
}

const char* const kProgram =
    "local t = {&2 &4; 10, 20, 30}\n"
    "local function sum(...) local s = 0 for i = 1, arg.n do s = s + arg[i] end return s end\n"
    "local w = L\"wide\\x263A\" .. 1\n"
    "local n = 0 for i = 1, 5 do if i == 2 then continue end n = n + (i << 1) end\n"
    "out(sum(1, 2, 3), t[2], tostring(w), n, 0xFF ^ 0x0F, nil)\n";

// Re-encodes a little-endian chunk with every scalar byte-reversed and byte order 0.
class Swapper {
 public:
  explicit Swapper(const std::string& in) : mIn(in) {}
  std::string Run() {
    mOut = mIn.substr(0, 22);
    mOut[5] = 0;
    mPos = 14;
    Scalar(8);  // test number
    mOut.resize(22);
    mOut.replace(14, 8, Reversed(mIn.substr(14, 8)));
    mPos = 22;
    Function();
    return mOut;
  }

 private:
  static std::string Reversed(std::string s) { return std::string(s.rbegin(), s.rend()); }
  uint32_t Peek32() const {
    uint32_t x;
    memcpy(&x, mIn.data() + mPos, 4);
    return x;
  }
  void Scalar(size_t n) {
    mOut += Reversed(mIn.substr(mPos, n));
    mPos += n;
  }
  void Bytes(size_t n) {
    mOut += mIn.substr(mPos, n);
    mPos += n;
  }
  uint32_t Count() {
    const uint32_t n = Peek32();
    Scalar(4);
    return n;
  }
  void String() { Bytes(Count()); }
  void Function() {
    String();
    Scalar(4);
    Bytes(4);
    for (uint32_t n = Count(); n > 0; n--) Scalar(4);
    for (uint32_t n = Count(); n > 0; n--) {
      String();
      Scalar(4);
      Scalar(4);
    }
    for (uint32_t n = Count(); n > 0; n--) String();
    for (uint32_t n = Count(); n > 0; n--) {
      const char type = mIn[mPos];
      Bytes(1);
      if (type == 3)
        Scalar(8);
      else if (type == 4)
        String();
      else if (type == 9)
        for (uint32_t u = Count(); u > 0; u--) Scalar(2);
    }
    for (uint32_t n = Count(); n > 0; n--) Function();
    for (uint32_t n = Count(); n > 0; n--) Scalar(4);
  }

  const std::string& mIn;
  std::string mOut;
  size_t mPos = 0;
};

std::string Compile(const char* source) {
  test::ScriptState s;
  EXPECT_EQ(s.Load(source, "=prog"), 0);
  return Dump(s.L());
}

TEST(Chunk, DumpLoadDumpIsIdenticalAndRunsAlike) {
  const std::string first = Compile(kProgram);
  test::ScriptState s;
  ASSERT_EQ(s.Load(first, "=chunk"), 0) << lua_tostring(s.L(), -1);
  EXPECT_EQ(Dump(s.L()), first);
  const test::RunResult fromSource = test::ScriptState().Run(kProgram);
  const test::RunResult fromChunk = test::ScriptState().Run(first);
  EXPECT_EQ(fromSource.status, 0) << fromSource.error;
  EXPECT_EQ(fromChunk.status, 0) << fromChunk.error;
  EXPECT_EQ(fromChunk.output, fromSource.output);
  EXPECT_EQ(fromSource.output, "6\t20\twide:1\t26\t240\tnil\n");
}

TEST(Chunk, BigEndianChunkLoadsAndRuns) {
  const std::string little = Compile(kProgram);
  const std::string big = Swapper(little).Run();
  ASSERT_EQ(big.size(), little.size());
  ASSERT_NE(big, little);
  test::ScriptState s;
  ASSERT_EQ(s.Load(big, "=big"), 0) << lua_tostring(s.L(), -1);
  EXPECT_EQ(Dump(s.L()), little);  // the writer always writes little-endian
  EXPECT_EQ(test::ScriptState().Run(big).output, test::ScriptState().Run(little).output);
}

TEST(Chunk, EveryPrefixFailsCleanly) {
  const std::string chunk = Compile(kProgram);
  for (size_t n = 1; n < chunk.size(); n++) {
    test::ScriptState s;
    ASSERT_NE(s.Load(chunk.substr(0, n), "=cut"), 0) << n;
    EXPECT_STREQ(lua_tostring(s.L(), -1), "unexpected end of file in cut") << n;
  }
}

TEST(Chunk, HeaderMutations) {
  const std::string chunk = Compile("return 1");
  struct Mutation {
    size_t offset;
    char value;
    const char* message;
  } cases[] = {
      {1, 'X', "bad signature in m"},
      {4, 0x51, "m too new: read version 5.1; expected at most 5.0"},
      {4, 0x40, "m too old: read version 4.0; expected at least 5.0"},
      {6, 8, "virtual machine mismatch in m: size of int is 4 but read 8"},
      {7, 8, "virtual machine mismatch in m: size of size_t is 4 but read 8"},
      {8, 2, "virtual machine mismatch in m: size of Instruction is 4 but read 2"},
      {9, 7, "virtual machine mismatch in m: size of OP is 6 but read 7"},
      {10, 9, "virtual machine mismatch in m: size of A is 8 but read 9"},
      {11, 8, "virtual machine mismatch in m: size of B is 9 but read 8"},
      {12, 8, "virtual machine mismatch in m: size of C is 9 but read 8"},
      {13, 4, "virtual machine mismatch in m: size of number is 8 but read 4"},
      {21, 0x7f, "unknown number format in m"},
  };
  for (const Mutation& m : cases) {
    std::string bad = chunk;
    bad[m.offset] = m.value;
    test::ScriptState s;
    ASSERT_NE(s.Load(bad, "=m"), 0) << m.offset;
    EXPECT_STREQ(lua_tostring(s.L(), -1), m.message) << m.offset;
  }
}

// Byte offset of the main function's code count: a chunk of "return 1" has no locals,
// upvalue names or nested functions, one constant (the number 1) and three instructions.
size_t CodeOffset(const std::string& chunk) {
  return chunk.size() - 4 - 3 * 4;
}

// Header, the source name "=prog" (size and 6 bytes), the line defined, then the upvalue count.
constexpr size_t kNupsOffset = 22 + 4 + 6 + 4;

TEST(Chunk, BodyMutations) {
  const std::string chunk = Compile("return 1");
  const size_t code = CodeOffset(chunk);
  auto patch32 = [](std::string s, size_t at, uint32_t v) {
    memcpy(s.data() + at, &v, 4);
    return s;
  };
  const size_t constType = code - 9;  // type byte and 8-byte number before the counts
  struct {
    std::string bytes;
    const char* message;
  } cases[] = {
      {patch32(chunk, code, 0x7FFFFFFF), "unexpected end of file in m"},
      {patch32(chunk, code, 0xFFFFFFFF), "bad integer in m"},
      {[&] {
         std::string s = chunk;
         s[constType - 4] = 1;
         return s;
       }(),
       "bad constant type (1) in m"},
      // LOADK of a constant that does not exist
      {patch32(chunk, code + 4, CreateABx(OP_LOADK, 0, 7)), "bad code in m"},
      // a jump far outside the code
      {patch32(chunk, code + 4, CreateABx(OP_JMP, 0, 100 + kMaxArgSBx)), "bad code in m"},
      // a register outside the frame
      {patch32(chunk, code + 4, CreateABC(OP_MOVE, 200, 0, 0)), "bad code in m"},
      // a closure of a function that does not exist
      {patch32(chunk, code + 4, CreateABx(OP_CLOSURE, 0, 0)), "bad code in m"},
      // a table size beyond the limits
      {patch32(chunk, code + 4, CreateABC(OP_NEWTABLE, 0, 511, 0)), "bad code in m"},
      // a main function claiming an upvalue
      {[&] {
         std::string s = chunk;
         s[kNupsOffset] = 1;
         return s;
       }(),
       "bad code in m"},
      // no final RETURN
      {patch32(chunk, code + 12, CreateABC(OP_MOVE, 0, 0, 0)), "bad code in m"},
  };
  for (const auto& c : cases) {
    test::ScriptState s;
    ASSERT_NE(s.Load(c.bytes, "=m"), 0) << c.message;
    EXPECT_STREQ(lua_tostring(s.L(), -1), c.message);
  }
}

TEST(Chunk, WideStringConstantEncoding) {
  // A k-unit wide string is stored as k + 1 and 2k + 2 bytes, the empty one as 1 and 2 bytes.
  const std::string chunk = Compile("return L\"ab\", L\"\"");
  const std::string ab = std::string("\x09\x03\0\0\0a\0b\0\0\0", 11);
  const std::string empty = std::string("\x09\x01\0\0\0\0\0", 7);
  EXPECT_NE(chunk.find(ab), std::string::npos);
  EXPECT_NE(chunk.find(empty), std::string::npos);
}

}  // namespace
}  // namespace tvs
