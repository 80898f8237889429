// The interface additions and the auxiliary library: boxed pointers, per-type tables, the
// wide buffer, wide-string arguments, loading files through a file layer (and the disk one),
// 16-bit sources, and the per-type registry entries the base library sets.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "tests/script/ScriptHelpers.h"
#include "tools/scripttool/ScriptTool.h"

namespace tvs {
namespace {

TEST(AuxLib, BoxedPointersAndUserdata) {
  test::ScriptState s;
  lua_State* L = s.L();
  lua_pushboxedpointer(L, reinterpret_cast<void*>(0x1000));
  EXPECT_EQ(lua_touserdata(L, -1), reinterpret_cast<void*>(0x1000));
  EXPECT_EQ(lua_type(L, -1), LUA_TUSERDATA);
  void* block = lua_newuserdata(L, 6);
  EXPECT_EQ(lua_touserdata(L, -1), block);
  lua_gettypemetatable(L, LUA_TUSERDATA);
  lua_getmetatable(L, -2);
  EXPECT_TRUE(lua_rawequal(L, -1, -2));  // new userdata take the userdata type's table
  lua_settop(L, 0);
}

TEST(AuxLib, PerTypeTables) {
  test::ScriptState s;
  lua_State* L = s.L();
  lua_pushnumber(L, 1);
  EXPECT_EQ(lua_getmetatable(L, -1), 1);
  lua_gettypemetatable(L, LUA_TNUMBER);
  EXPECT_TRUE(lua_rawequal(L, -1, -2));
  lua_pushnil(L);
  EXPECT_EQ(lua_getmetatable(L, -1), 0);
  lua_settop(L, 0);
  // A table replaces the per-type table; anything else is popped and ignored.
  lua_newtable(L);
  lua_pushstring(L, "answer");
  lua_pushnumber(L, 42);
  lua_settable(L, -3);
  lua_settypemetatable(L, LUA_TBOOLEAN);
  lua_pushnumber(L, 5);
  lua_settypemetatable(L, LUA_TBOOLEAN);
  EXPECT_EQ(lua_gettop(L), 0);
  const test::RunResult r = s.Run("out((true).answer)");
  EXPECT_EQ(r.output, "42\n") << r.error;
  // The registry names each per-type table; strings' is the string library.
  lua_pushstring(L, "_number");
  lua_rawget(L, LUA_REGISTRYINDEX);
  lua_gettypemetatable(L, LUA_TNUMBER);
  EXPECT_TRUE(lua_rawequal(L, -1, -2));
  lua_gettypemetatable(L, LUA_TSTRING);
  lua_pushstring(L, "string");
  lua_gettable(L, LUA_GLOBALSINDEX);
  EXPECT_TRUE(lua_rawequal(L, -1, -2));
  lua_pushstring(L, "_wstring");
  lua_rawget(L, LUA_REGISTRYINDEX);
  EXPECT_EQ(lua_type(L, -1), LUA_TTABLE);
  lua_settop(L, 0);
}

TEST(AuxLib, StrlenAndWideConversions) {
  test::ScriptState s;
  lua_State* L = s.L();
  lua_pushwstring(L, u"abc");
  EXPECT_EQ(lua_strlen(L, -1), 3u);
  EXPECT_EQ(lua_tostring(L, -1), nullptr);
  lua_newtable(L);
  EXPECT_EQ(lua_towstring(L, -1), nullptr);
  lua_pushnumber(L, 12.5);
  EXPECT_EQ(std::u16string(lua_towstring(L, -1)), u"12.5");
  EXPECT_EQ(lua_type(L, -1), LUA_TWSTRING);
  EXPECT_EQ(lua_wstrlen(u"12.5"), 4u);
  lua_pushwstring(L, nullptr);
  EXPECT_TRUE(lua_isnil(L, -1));
  lua_settop(L, 0);
}

int WideArg(lua_State* L) {
  size_t n;
  const char16_t* w = luaL_checkwlstring(L, 1, &n);
  lua_pushnumber(L, static_cast<lua_Number>(n));
  lua_pushnumber(L, w[0]);
  return 2;
}

TEST(AuxLib, WideArgumentsAndBuffer) {
  test::ScriptState s;
  lua_State* L = s.L();
  lua_register(L, "widearg", WideArg);
  const test::RunResult r = s.Run("out(widearg(L\"\\x263Ax\"), widearg(7)) widearg('x')");
  EXPECT_EQ(r.output, "2\t1\t55\n");
  EXPECT_EQ(r.error, "test:1: bad argument #1 to `widearg' (wstring expected, got string)");
  // A wide buffer over several pieces: units straddle the piece boundary.
  luaL_Buffer b;
  luaL_wbuffinit(L, &b);
  std::u16string expected;
  for (int i = 0; i < 700; i++) {
    const char16_t u = static_cast<char16_t>(0x2600 + i);
    luaL_addwlstring(&b, &u, 1);
    expected += u;
  }
  luaL_addlstring(&b, "A\0", 2);  // bytes go in as they are: one unit 'A'
  expected += u'A';
  luaL_pushresult(&b);
  ASSERT_EQ(lua_type(L, -1), LUA_TWSTRING);
  EXPECT_EQ(std::u16string(lua_towstring(L, -1), lua_strlen(L, -1)), expected);
  luaL_wbuffinit(L, &b);
  luaL_pushresult(&b);
  EXPECT_EQ(lua_type(L, -1), LUA_TWSTRING);
  EXPECT_EQ(lua_strlen(L, -1), 0u);
  // A narrow buffer taking long values through the stack.
  luaL_buffinit(L, &b);
  for (int i = 0; i < 50; i++) {
    lua_pushstring(L, std::string(100, static_cast<char>('a' + i % 26)).c_str());
    luaL_addvalue(&b);
  }
  luaL_pushresult(&b);
  EXPECT_EQ(lua_strlen(L, -1), 5000u);
  EXPECT_EQ(lua_tostring(L, -1)[4999], 'x');
  lua_settop(L, 0);
}

TEST(AuxLib, SixteenBitSourceAfterByteOrderMark) {
  test::ScriptState s;
  lua_State* L = s.L();
  const std::u16string text = u"\xFEFFreturn 'ok', L\"\x263A\"";
  const std::string bytes(reinterpret_cast<const char*>(text.data()), text.size() * 2);
  ASSERT_EQ(luaL_loadbuffer(L, bytes.data(), bytes.size(), "=wide"), 0) << lua_tostring(L, -1);
  lua_call(L, 0, 2);
  EXPECT_STREQ(lua_tostring(L, -2), "ok");
  EXPECT_EQ(lua_towstring(L, -1)[0], u'\x263A');
  lua_settop(L, 0);
  EXPECT_EQ(lua_dostring(L, "--\nx = 1"), 0);
  EXPECT_EQ(lua_dostring(L, "x = "), LUA_ERRSYNTAX);
}

// A file layer over named texts in memory, standing in for the engine's.
std::map<std::string, std::string> gFiles;
struct MemFile {
  std::string data;
  size_t pos = 0;
  int back = -1;
};
void* MemOpen(const char* name, int) {
  auto it = gFiles.find(name);
  return it == gFiles.end() ? nullptr : new MemFile{it->second};
}
int MemGetc(void* f) {
  auto* m = static_cast<MemFile*>(f);
  return m->pos < m->data.size() ? static_cast<unsigned char>(m->data[m->pos++]) : -1;
}
void MemUngetc(void* f, int) {
  static_cast<MemFile*>(f)->pos--;
}
size_t MemRead(void* f, char* buf, size_t n) {
  auto* m = static_cast<MemFile*>(f);
  const size_t k = std::min(n, m->data.size() - m->pos);
  std::copy_n(m->data.data() + m->pos, k, buf);
  m->pos += k;
  return k;
}
bool MemEof(void* f) {
  return static_cast<MemFile*>(f)->pos >= static_cast<MemFile*>(f)->data.size();
}
bool MemIsBad(void*) {
  return false;
}
void MemClose(void* f) {
  delete static_cast<MemFile*>(f);
}
const char* MemError() {
  return "no such file";
}
const luaL_FileLayer kMemLayer = {MemOpen, MemGetc,  MemUngetc, MemRead,
                                  MemEof,  MemIsBad, MemClose,  MemError};

TEST(AuxLib, LoadFileThroughFileLayer) {
  gFiles = {{"lib.lua", "return 'from lib'"},
            {"mod.lua", "loaded_as = _REQUIREDNAME return {v = 5}"}};
  const luaL_FileLayer* old = luaL_setfilelayer(&kMemLayer);
  test::ScriptState s;
  lua_State* L = s.L();
  EXPECT_EQ(luaL_loadfile(L, "missing.lua"), LUA_ERRFILE);
  EXPECT_STREQ(lua_tostring(L, -1), "cannot read missing.lua: no such file");
  lua_settop(L, 0);
  // A precompiled chunk is recognised by its first byte.
  ASSERT_EQ(luaL_loadbuffer(L, "return 1 + 2", 12, "=c"), 0);
  std::string chunk;
  lua_dump(
      L,
      [](lua_State*, const void* p, size_t n, void* ud) {
        static_cast<std::string*>(ud)->append(static_cast<const char*>(p), n);
        return 1;
      },
      &chunk);
  gFiles["compiled.luc"] = chunk;
  const std::u16string wide = u"\xFEFFreturn 'wide'";
  gFiles["wide.lua"] = std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
  lua_settop(L, 0);
  const test::RunResult r = s.Run(
      "out(dofile('lib.lua'), loadfile('compiled.luc')(), dofile('wide.lua'), loadfile('nope'))\n"
      "local m = require('mod') out(m.v, require('mod') == m, loaded_as, _LOADED.mod == m, "
      "_REQUIREDNAME)");
  EXPECT_EQ(r.output,
            "from lib\t3\twide\tnil\tcannot read nope: no such file\n5\ttrue\tmod\ttrue\tnil\n")
      << r.error;
  EXPECT_EQ(gFiles.size(), 4u);
  luaL_setfilelayer(old);
}

TEST(AuxLib, RandomDrawsFromTheInstalledSource) {
  test::ScriptState s;
  // The engine's sequence: the first value after seed 1 is 41 of 32767.
  EXPECT_EQ(s.Run("math.randomseed(1) out(math.random(32767))").output, "42\n");
  const luaL_RandomSource* old = luaL_setrandomsource(nullptr);
  EXPECT_EQ(s.Run("math.random()").error, "test:1: no random source");
  EXPECT_EQ(s.Run("math.randomseed(3)").error, "test:1: no random source");
  luaL_setrandomsource(old);
}

TEST(AuxLib, LoadFileNeedsAFileLayer) {
  test::ScriptState s;
  lua_State* L = s.L();
  const luaL_FileLayer* old = luaL_setfilelayer(nullptr);
  EXPECT_EQ(luaL_loadfile(L, "anything.lua"), LUA_ERRFILE);
  EXPECT_STREQ(lua_tostring(L, -1), "cannot read anything.lua: no file layer");
  luaL_setfilelayer(old);
  lua_settop(L, 0);
}

TEST(AuxLib, LoadFileFromDiskThroughTheToolsLayer) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / "tvscript_auxlib_test.lua";
  std::ofstream(path) << "return 40 + 2";
  test::ScriptState s;
  lua_State* L = s.L();
  UseDiskFilesForScripts();
  ASSERT_EQ(luaL_loadfile(L, path.c_str()), 0);
  lua_call(L, 0, 1);
  EXPECT_EQ(lua_tonumber(L, -1), 42);
  std::filesystem::remove(path);
  EXPECT_EQ(luaL_loadfile(L, path.c_str()), LUA_ERRFILE);
  luaL_setfilelayer(nullptr);
  lua_settop(L, 0);
}

// peek(): the name and value of its caller's first local, then sets that local to 99.
int PeekLocal(lua_State* L) {
  lua_Debug ar;
  if (!lua_getstack(L, 1, &ar)) return 0;
  const char* name = lua_getlocal(L, &ar, 1);
  lua_pushstring(L, name ? name : "none");
  lua_insert(L, -2);
  lua_pushnumber(L, 99);
  lua_setlocal(L, &ar, 1);
  return 2;
}

int CountUpvalues(lua_State* L) {
  lua_pushnumber(L, lua_pushupvalues(L));
  return lua_gettop(L);
}

int FailsWithUd(lua_State* L) {
  return luaL_error(L, "ud is %s", static_cast<const char*>(lua_touserdata(L, 1)));
}

TEST(AuxLib, DebugAccessAndProtectedNativeCalls) {
  test::ScriptState s;
  lua_State* L = s.L();
  lua_register(L, "peek", PeekLocal);
  const test::RunResult r = s.Run("local answer = 42 out(peek()) out(answer)");
  EXPECT_EQ(r.output, "answer\t42\n99\n") << r.error;
  const std::string maker = "local a, b = 1, 2 return function() return a + b end";
  ASSERT_EQ(luaL_loadbuffer(L, maker.data(), maker.size(), "=u"), 0);
  lua_call(L, 0, 1);
  EXPECT_STREQ(lua_getupvalue(L, -1, 2), "b");
  EXPECT_EQ(lua_tonumber(L, -1), 2);
  lua_pop(L, 1);
  lua_pushnumber(L, 40);
  EXPECT_STREQ(lua_setupvalue(L, -2, 1), "a");
  EXPECT_EQ(lua_getupvalue(L, -1, 3), nullptr);
  lua_call(L, 0, 1);
  EXPECT_EQ(lua_tonumber(L, -1), 42);
  lua_pushstring(L, "x");
  lua_pushstring(L, "y");
  lua_pushcclosure(L, CountUpvalues, 2);
  lua_call(L, 0, LUA_MULTRET);
  EXPECT_STREQ(lua_tostring(L, -1), "2");
  lua_settop(L, 0);
  char text[] = "here";
  EXPECT_EQ(lua_cpcall(L, FailsWithUd, text), LUA_ERRRUN);
  EXPECT_STREQ(lua_tostring(L, -1), "ud is here");
  lua_settop(L, 0);
}

}  // namespace
}  // namespace tvs
