// The auxiliary library's file layer over TFile.
#include "tvlib/script/TScriptFiles.h"

#include <cerrno>
#include <cstring>

#include "tvlib/core/TFile.h"
#include "tvlib/script/AuxLib.h"

namespace {

TFile* AsFile(void* f) {
  return static_cast<TFile*>(f);
}

void* Open(const char* name, int mode) {
  return FileOpen(name, mode);
}
int GetChar(void* f) {
  return FileGetChar(AsFile(f));
}
void UngetChar(void* f, int) {
  FileUngetChar(AsFile(f));
}
size_t Read(void* f, char* buf, size_t n) {
  const int got = FileRead(AsFile(f), buf, static_cast<int>(n));
  return got > 0 ? static_cast<size_t>(got) : 0;
}
bool Eof(void* f) {
  return FileEof(AsFile(f)) != 0;
}
bool IsBad(void* f) {
  return FileIsBad(AsFile(f));
}
void Close(void* f) {
  FileClose(AsFile(f));
}
const char* Error() {
  return std::strerror(errno);
}

constexpr luaL_FileLayer kEngineFiles = {Open, GetChar, UngetChar, Read, Eof, IsBad, Close, Error};

}  // namespace

void UseEngineFilesForScripts() {
  luaL_setfilelayer(&kEngineFiles);
}
