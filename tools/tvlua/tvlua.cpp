// tvlua: runs a script file (source or precompiled chunk) with the libraries built so far.
//   tvlua script [arguments...]
// The arguments are in the global table `arg' (arg[0] is the script); scripts' dofile and
// loadfile read disk files. On a script error the message goes to standard error and the exit
// status is 1.
#include <cstdio>
#include <string>

#include "tools/scripttool/ScriptTool.h"
#include "tvlib/script/Libs.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tvlua script [arguments...]\n");
    return 1;
  }
  std::string text;
  if (!ReadScriptFile("tvlua", argv[1], &text)) return 1;
  lua_State* L = OpenScriptState("tvlua");
  if (L == nullptr) return 1;
  UseToolServicesForScripts();
  luaopen_all(L);
  lua_pushstring(L, "arg");
  lua_newtable(L);
  for (int i = 1; i < argc; i++) {
    lua_pushstring(L, argv[i]);
    lua_rawseti(L, -2, i - 1);
  }
  lua_settable(L, LUA_GLOBALSINDEX);
  int status = LoadScript(L, text, argv[1]);
  if (status == 0) status = lua_pcall(L, 0, 0, 0);
  if (status != 0) ReportScriptError("tvlua", L);
  std::fflush(stdout);
  lua_close(L);
  return status == 0 ? 0 : 1;
}
