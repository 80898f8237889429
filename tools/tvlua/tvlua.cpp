// tvlua: runs a script file (source or precompiled chunk) with the libraries built so far.
//   tvlua [--instructions=N] [--memory=BYTES] script [arguments...]
// The arguments are in the global table `arg' (arg[0] is the script); scripts' dofile and
// loadfile read disk files. The options bound a script nobody vouches for (ScriptOptions.h). On
// a script error the message goes to standard error and the exit status is 1.
#include <cstdio>
#include <string>

#include "tools/scripttool/ScriptTool.h"
#include "tools/tvlua/ScriptOptions.h"
#include "tvlib/script/Libs.h"

int main(int argc, char** argv) {
  TScriptBudget budget;
  int first = 1;
  for (; first < argc && std::string(argv[first]).rfind("--", 0) == 0; first++) {
    if (!ParseScriptLimit(argv[first], &budget)) {
      std::fprintf(stderr, "tvlua: bad option %s\n", argv[first]);
      return 1;
    }
  }
  if (first >= argc) {
    std::fprintf(stderr,
                 "usage: tvlua [--instructions=N] [--memory=BYTES] script [arguments...]\n");
    return 1;
  }
  std::string text;
  if (!ReadScriptFile("tvlua", argv[first], &text)) return 1;
  TScriptLimits limits(budget);
  lua_State* L = limits.OpenState();
  if (L == nullptr) {
    std::fprintf(stderr, "tvlua: not enough memory\n");
    return 1;
  }
  UseToolServicesForScripts();
  luaopen_all(L);
  lua_pushstring(L, "arg");
  lua_newtable(L);
  for (int i = first; i < argc; i++) {
    lua_pushstring(L, argv[i]);
    lua_rawseti(L, -2, i - first);
  }
  lua_settable(L, LUA_GLOBALSINDEX);
  int status = LoadScript(L, text, argv[first]);
  if (status == 0) status = TScriptLimits::Call(L, 0, 0, 0);  // the whole script is one run
  if (status != 0) ReportScriptError("tvlua", L);
  std::fflush(stdout);
  lua_close(L);
  return status == 0 ? 0 : 1;
}
