// tvlua: runs a script file (source or precompiled chunk) with the libraries built so far.
//   tvlua script [arguments...]
// The arguments are in the global table `arg' (arg[0] is the script). On a script error the
// message goes to standard error and the exit status is 1.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "tvlib/script/AuxLib.h"
#include "tvlib/script/Libs.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tvlua script [arguments...]\n");
    return 1;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "tvlua: cannot open %s\n", argv[1]);
    return 1;
  }
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  lua_State* L = lua_open();
  if (L == nullptr) {
    std::fprintf(stderr, "tvlua: not enough memory\n");
    return 1;
  }
  luaopen_all(L);
  lua_pushstring(L, "arg");
  lua_newtable(L);
  for (int i = 1; i < argc; i++) {
    lua_pushstring(L, argv[i]);
    lua_rawseti(L, -2, i - 1);
  }
  lua_settable(L, LUA_GLOBALSINDEX);
  const std::string chunkname = std::string("@") + argv[1];
  int status = luaL_loadbuffer(L, text.data(), text.size(), chunkname.c_str());
  if (status == 0) status = lua_pcall(L, 0, 0, 0);
  if (status != 0) {
    const char* msg = lua_tostring(L, -1);
    std::fprintf(stderr, "tvlua: %s\n", msg ? msg : "(error object is not a string)");
  }
  std::fflush(stdout);
  lua_close(L);
  return status == 0 ? 0 : 1;
}
