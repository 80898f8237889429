// The script tests' shared state, runners and golden-file reader.
#include "tests/script/ScriptHelpers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tvlib/script/Collector.h"
#include "tvlib/script/Function.h"
#include "tvlib/script/Lister.h"
#include "tvlib/script/State.h"
#include "tvlib/script/TScriptRandom.h"

namespace tvs::test {

namespace {

// out(...): appends the text of its arguments, tab-separated, as one line to registry.output.
int Out(lua_State* L) {
  const int n = lua_gettop(L);
  std::string line;
  for (int i = 1; i <= n; i++) {
    lua_pushstring(L, "tostring");
    lua_gettable(L, LUA_GLOBALSINDEX);
    lua_pushvalue(L, i);
    lua_call(L, 1, 1);
    if (i > 1) line += '\t';
    const char* s = lua_tostring(L, -1);
    line += s ? s : "?";
    lua_pop(L, 1);
  }
  auto* output = static_cast<std::string*>(lua_touserdata(L, lua_upvalueindex(1)));
  *output += line + "\n";
  return 0;
}

// typeof(v): the type name of v.
int TypeOf(lua_State* L) {
  lua_pushstring(L, lua_typename(L, lua_type(L, 1)));
  return 1;
}

// setmeta(t, mt): sets the metatable of a table or userdata; returns t.
int SetMeta(lua_State* L) {
  lua_settop(L, 2);
  lua_setmetatable(L, 1);
  return 1;
}

}  // namespace

ScriptState::ScriptState() : mL(lua_open()) {
  // The suite runs a second time collecting at every check point (see CMakeLists.txt).
  if (std::getenv("TV_SCRIPT_GC_STRESS")) SetGcStress(mL, true);
  luaopen_all(mL);
  UseEngineRandomForScripts();
  lua_register(mL, "typeof", TypeOf);
  lua_register(mL, "setmeta", SetMeta);
}

ScriptState::~ScriptState() {
  lua_close(mL);
}

int ScriptState::Load(const std::string& source, const std::string& name) {
  return luaL_loadbuffer(mL, source.data(), source.size(), name.c_str());
}

const TProto* ScriptState::TopProto() const {
  return static_cast<const TLClosure*>(ClosureValue(mL->top - 1))->p;
}

RunResult ScriptState::Run(const std::string& source, const std::string& name) {
  RunResult result;
  lua_pushstring(mL, "out");
  lua_pushlightuserdata(mL, &result.output);
  lua_pushcclosure(mL, Out, 1);
  lua_settable(mL, LUA_GLOBALSINDEX);
  result.status = Load(source, name);
  if (result.status == 0) result.status = lua_pcall(mL, 0, 0, 0);
  if (result.status != 0) {
    const char* msg = lua_tostring(mL, -1);
    result.error = msg ? msg : "?";
    lua_pop(mL, 1);
  }
  // `out' must not outlive the result it writes into.
  lua_pushstring(mL, "out");
  lua_pushnil(mL);
  lua_settable(mL, LUA_GLOBALSINDEX);
  return result;
}

std::string ListSource(const std::string& source) {
  ScriptState s;
  if (s.Load(source) != 0) return lua_tostring(s.L(), -1);
  return ListFunction(s.TopProto(), true);
}

void ExpectOutputs(std::span<const Case> cases) {
  for (const Case& c : cases) {
    ScriptState s;
    const RunResult r = s.Run(c.source);
    EXPECT_EQ(r.status, 0) << c.source << "\n" << r.error;
    EXPECT_EQ(r.output, c.output) << c.source;
  }
}

void ExpectErrors(std::span<const ErrorCase> cases) {
  for (const ErrorCase& c : cases) {
    ScriptState s;
    const RunResult r = s.Run(c.source);
    EXPECT_NE(r.status, 0) << c.source;
    EXPECT_EQ(r.error, c.message) << c.source;
  }
}

std::string ReadGoldenFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

}  // namespace tvs::test
