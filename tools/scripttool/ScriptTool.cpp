// The script tools' shared load-and-report code and their disk file layer.
#include "tools/scripttool/ScriptTool.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "tvlib/script/TScriptRandom.h"

namespace {

void* DiskOpen(const char* name, int mode) {
  return std::fopen(name, mode == 0 ? "rb" : "r");
}
int DiskGetc(void* f) {
  return std::fgetc(static_cast<FILE*>(f));
}
void DiskUngetc(void* f, int c) {
  std::ungetc(c, static_cast<FILE*>(f));
}
size_t DiskRead(void* f, char* buf, size_t n) {
  return std::fread(buf, 1, n, static_cast<FILE*>(f));
}
bool DiskEof(void* f) {
  return std::feof(static_cast<FILE*>(f)) != 0;
}
bool DiskIsBad(void* f) {
  return std::ferror(static_cast<FILE*>(f)) != 0;
}
void DiskClose(void* f) {
  std::fclose(static_cast<FILE*>(f));
}
const char* DiskError() {
  return std::strerror(errno);
}

constexpr luaL_FileLayer kDiskLayer = {DiskOpen, DiskGetc,  DiskUngetc, DiskRead,
                                       DiskEof,  DiskIsBad, DiskClose,  DiskError};

}  // namespace

bool ReadScriptFile(const char* tool, const std::string& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "%s: cannot open %s\n", tool, path.c_str());
    return false;
  }
  text->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

lua_State* OpenScriptState(const char* tool) {
  lua_State* L = lua_open();
  if (L == nullptr) std::fprintf(stderr, "%s: not enough memory\n", tool);
  return L;
}

int LoadScript(lua_State* L, const std::string& text, const std::string& path) {
  const std::string chunkname = "@" + path;
  return luaL_loadbuffer(L, text.data(), text.size(), chunkname.c_str());
}

void ReportScriptError(const char* tool, lua_State* L) {
  const char* msg = lua_tostring(L, -1);
  std::fprintf(stderr, "%s: %s\n", tool, msg ? msg : "(error object is not a string)");
}

void UseDiskFilesForScripts() {
  luaL_setfilelayer(&kDiskLayer);
}

void UseToolServicesForScripts() {
  UseDiskFilesForScripts();
  UseEngineRandomForScripts();
}
