// The auxiliary library: argument checks, library registration, the text buffer (narrow or
// wide), `getn'/`setn' sizes and chunk loading from memory or through the file layer.
// Everything here is built on the script interface alone.
#pragma once

#include <cstddef>

#include "tvlib/script/Api.h"

struct luaL_reg {
  const char* name;
  lua_CFunction func;
};

// Registers the functions into the global table `libname' (created when absent; null: into
// the table on the top), each with the nup values below the table as upvalues.
void luaL_openlib(lua_State* L, const char* libname, const luaL_reg* l, int nup);
// Pushes field e of obj's metatable and returns 1; returns 0 (pushing nothing) when absent.
int luaL_getmetafield(lua_State* L, int obj, const char* e);
// Calls metamethod e with obj, leaving its result; returns 0 when there is none.
int luaL_callmeta(lua_State* L, int obj, const char* e);

// Raise "bad argument #narg to `name' (...)" errors.
int luaL_typerror(lua_State* L, int narg, const char* tname);
int luaL_argerror(lua_State* L, int narg, const char* extramsg);
inline void luaL_argcheck(lua_State* L, bool cond, int narg, const char* extramsg) {
  if (!cond) luaL_argerror(L, narg, extramsg);
}
const char* luaL_checklstring(lua_State* L, int narg, size_t* len);
const char* luaL_optlstring(lua_State* L, int narg, const char* def, size_t* len);
inline const char* luaL_checkstring(lua_State* L, int n) {
  return luaL_checklstring(L, n, nullptr);
}
inline const char* luaL_optstring(lua_State* L, int n, const char* d) {
  return luaL_optlstring(L, n, d, nullptr);
}
// The units of a wide-string argument (numbers are converted in place).
const char16_t* luaL_checkwlstring(lua_State* L, int narg, size_t* len);
lua_Number luaL_checknumber(lua_State* L, int narg);
lua_Number luaL_optnumber(lua_State* L, int narg, lua_Number def);
// Integer arguments, converted toward zero and clamped to int.
int luaL_checkint(lua_State* L, int narg);
int luaL_optint(lua_State* L, int narg, int def);
void luaL_checkstack(lua_State* L, int sz, const char* msg);
void luaL_checktype(lua_State* L, int narg, int t);
void luaL_checkany(lua_State* L, int narg);

// Pushes "chunk:line: " for the function `lvl' levels up (empty when it has no line).
void luaL_where(lua_State* L, int lvl);
// Raises the formatted message with the position of the calling script function.
int luaL_error(lua_State* L, const char* fmt, ...);

// The size of an array: its `n' field, else its size set by luaL_setn, else the count before
// the first nil.
int luaL_getn(lua_State* L, int t);
void luaL_setn(lua_State* L, int t, int n);

constexpr int LUAL_BUFFERSIZE = 512;
// A text being built: pieces are pushed on the stack as the buffer fills and joined at the
// end. In wide mode the bytes are 16-bit units, low byte first, and the result a wide string.
// Between luaL_buffinit and luaL_pushresult the caller must leave the stack above the pieces
// as it found it.
struct luaL_Buffer {
  char* p;   // the next free byte
  int lvl;   // pieces on the stack
  int wide;  // 1: the bytes are 16-bit units
  lua_State* L;
  char buffer[LUAL_BUFFERSIZE];
};
void luaL_buffinit(lua_State* L, luaL_Buffer* B);
void luaL_wbuffinit(lua_State* L, luaL_Buffer* B);
char* luaL_prepbuffer(luaL_Buffer* B);
void luaL_addlstring(luaL_Buffer* B, const char* s, size_t l);
void luaL_addstring(luaL_Buffer* B, const char* s);
void luaL_addwlstring(luaL_Buffer* B, const char16_t* s, size_t l);
// Adds the text value on the stack top, popping it.
void luaL_addvalue(luaL_Buffer* B);
void luaL_pushresult(luaL_Buffer* B);
inline void luaL_putchar(luaL_Buffer* B, char c) {
  if (B->p >= B->buffer + LUAL_BUFFERSIZE) luaL_prepbuffer(B);
  *B->p++ = c;
}
inline void luaL_addsize(luaL_Buffer* B, size_t n) {
  B->p += n;
}

// Loading. luaL_loadfile reads a virtual file through the file layer below; a missing file
// gives status LUA_ERRFILE and "cannot read <name>: <reason>" on the stack.
int luaL_loadbuffer(lua_State* L, const char* buff, size_t size, const char* name);
int luaL_loadfile(lua_State* L, const char* filename);
// Load and run, leaving the results; an error message is left as is (status returned).
int lua_dobuffer(lua_State* L, const char* buff, size_t size, const char* name);
int lua_dostring(lua_State* L, const char* str);

// The files scripts load. The engine installs its file layer at start, a tool its own; until
// then no file can be read (LUA_ERRFILE). `open' returns null on failure (`error' then says why);
// mode 1 reads text, mode 0 binary.
struct luaL_FileLayer {
  void* (*open)(const char* name, int mode);
  int (*getc)(void* f);  // -1 at the end
  void (*ungetc)(void* f, int c);
  size_t (*read)(void* f, char* buf, size_t n);
  bool (*eof)(void* f);
  bool (*isbad)(void* f);
  void (*close)(void* f);
  const char* (*error)();  // the reason of the last failure
};
// Installs a file layer (null: none); returns the one it replaces.
const luaL_FileLayer* luaL_setfilelayer(const luaL_FileLayer* layer);
