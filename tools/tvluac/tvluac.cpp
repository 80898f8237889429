// tvluac: compiles a script to a precompiled chunk and/or lists its instructions.
//   tvluac [-l] [-p] [-o output] input
//     -l  list the compiled functions on standard output
//     -p  only check the script (write no chunk)
//     -o  the chunk's file (default "tvluac.out")
// The input may be source text or a chunk. Exit status 1 on any error, with the message on
// standard error.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "tools/scripttool/ScriptTool.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: tvluac [-l] [-p] [-o output] input\n");
  return 1;
}

int Write(lua_State*, const void* p, size_t size, void* ud) {
  static_cast<std::string*>(ud)->append(static_cast<const char*>(p), size);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  bool list = false, parseOnly = false;
  std::string output = "tvluac.out", input;
  for (int i = 1; i < argc; i++) {
    if (std::strcmp(argv[i], "-l") == 0)
      list = true;
    else if (std::strcmp(argv[i], "-p") == 0)
      parseOnly = true;
    else if (std::strcmp(argv[i], "-o") == 0 && i + 1 < argc)
      output = argv[++i];
    else if (argv[i][0] == '-' || !input.empty())
      return Usage();
    else
      input = argv[i];
  }
  if (input.empty()) return Usage();
  std::string text;
  if (!ReadScriptFile("tvluac", input, &text)) return 1;
  lua_State* L = OpenScriptState("tvluac");
  if (L == nullptr) return 1;
  if (LoadScript(L, text, input) != 0) {
    ReportScriptError("tvluac", L);
    lua_close(L);
    return 1;
  }
  if (list) {
    const std::string listing = lua_listfunction(L, -1, true);
    std::fwrite(listing.data(), 1, listing.size(), stdout);
  }
  int status = 0;
  if (!parseOnly) {
    std::string chunk;
    lua_dump(L, Write, &chunk);
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    if (!out.flush()) {
      std::fprintf(stderr, "tvluac: cannot write %s\n", output.c_str());
      status = 1;
    }
  }
  lua_close(L);
  return status;
}
