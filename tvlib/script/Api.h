// The script interface: a stack of values shared with native code, in the names scripts'
// hosts know. This is the part the tools and tests use so far; values are addressed by stack
// index (1 is the first argument, -1 the top) or by pseudo-index. Self-contained: the state
// is opaque here, and the runtime's internals stay inside tvlib/script.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>

struct lua_State;
struct lua_Debug;
using lua_CFunction = int (*)(lua_State* L);
// Returns the next piece of input and its size, or null / size 0 at the end.
using lua_Chunkreader = const char* (*)(lua_State* L, void* ud, size_t* size);
// Receives a piece of a dumped chunk; the result is ignored.
using lua_Chunkwriter = int (*)(lua_State* L, const void* p, size_t size, void* ud);
using lua_Hook = void (*)(lua_State* L, lua_Debug* ar);
// Allocation hook: (user word, block or null, old size, new size, 0, 1 while the scratch buffer
// grows). Returns the new block, or null when the new size is 0 (block freed) or on failure.
using lua_Alloc = void* (*)(void* ud, void* block, size_t osize, size_t nsize, int reserved,
                            int scratch);

constexpr int LUA_REGISTRYINDEX = -10000;
constexpr int LUA_GLOBALSINDEX = -10001;
constexpr int lua_upvalueindex(int i) {
  return LUA_GLOBALSINDEX - i;
}
// Indices below this one read registry[LUA_REGISTRYREFBASE - index] (reading only).
constexpr int LUA_REGISTRYREFBASE = -40000;
// The first byte of every precompiled chunk (the escape character): a text that begins with
// it is a chunk, not source.
constexpr int LUA_SIGNATURE_BYTE = 0x1B;
constexpr int LUA_MULTRET = -1;
constexpr int LUA_MINSTACK = 20;

constexpr int LUA_ERRRUN = 1;
constexpr int LUA_ERRFILE = 2;
constexpr int LUA_ERRSYNTAX = 3;
constexpr int LUA_ERRMEM = 4;
constexpr int LUA_ERRERR = 5;

constexpr int LUA_TNONE = -1;
constexpr int LUA_TNIL = 0;
constexpr int LUA_TBOOLEAN = 1;
constexpr int LUA_TLIGHTUSERDATA = 2;
constexpr int LUA_TNUMBER = 3;
constexpr int LUA_TSTRING = 4;
constexpr int LUA_TTABLE = 5;
constexpr int LUA_TFUNCTION = 6;
constexpr int LUA_TUSERDATA = 7;
constexpr int LUA_TTHREAD = 8;
constexpr int LUA_TWSTRING = 9;

using lua_Number = double;

// State
lua_State* lua_open();
// A state whose every allocation goes through `alloc' (a memory budget, for instance).
lua_State* lua_newstate(lua_Alloc alloc, void* ud);
// The state's allocation hook, and its user word in *ud (when ud is not null).
lua_Alloc lua_getallocf(lua_State* L, void** ud);
void lua_close(lua_State* L);
lua_CFunction lua_atpanic(lua_State* L, lua_CFunction panicf);

// Stack
int lua_gettop(lua_State* L);
void lua_settop(lua_State* L, int idx);
void lua_pushvalue(lua_State* L, int idx);
void lua_remove(lua_State* L, int idx);
void lua_insert(lua_State* L, int idx);
void lua_replace(lua_State* L, int idx);
int lua_checkstack(lua_State* L, int size);
inline void lua_pop(lua_State* L, int n) {
  lua_settop(L, -n - 1);
}

// Access
int lua_type(lua_State* L, int idx);
const char* lua_typename(lua_State* L, int tp);
int lua_isnumber(lua_State* L, int idx);
int lua_isstring(lua_State* L, int idx);
int lua_iscfunction(lua_State* L, int idx);
lua_Number lua_tonumber(lua_State* L, int idx);
int lua_toboolean(lua_State* L, int idx);
const char* lua_tostring(lua_State* L, int idx);
const char16_t* lua_towstring(lua_State* L, int idx);
size_t lua_strlen(lua_State* L, int idx);
void* lua_touserdata(lua_State* L, int idx);
const void* lua_topointer(lua_State* L, int idx);
size_t lua_wstrlen(const char16_t* s);

// Pushing
void lua_pushnil(lua_State* L);
void lua_pushnumber(lua_State* L, lua_Number n);
void lua_pushlstring(lua_State* L, const char* s, size_t len);
void lua_pushstring(lua_State* L, const char* s);
void lua_pushwlstring(lua_State* L, const char16_t* s, size_t len);
void lua_pushwstring(lua_State* L, const char16_t* s);
const char* lua_pushvfstring(lua_State* L, const char* fmt, va_list argp);
const char* lua_pushfstring(lua_State* L, const char* fmt, ...);
void lua_pushcclosure(lua_State* L, lua_CFunction fn, int n);
inline void lua_pushcfunction(lua_State* L, lua_CFunction f) {
  lua_pushcclosure(L, f, 0);
}
void lua_pushboolean(lua_State* L, int b);
void lua_pushlightuserdata(lua_State* L, void* p);

// Tables
void lua_gettable(lua_State* L, int idx);
void lua_rawget(lua_State* L, int idx);
void lua_rawgeti(lua_State* L, int idx, int n);
void lua_newtable(lua_State* L);
void lua_settable(lua_State* L, int idx);
void lua_rawset(lua_State* L, int idx);
void lua_rawseti(lua_State* L, int idx, int n);
int lua_next(lua_State* L, int idx);
// Pushes the metatable of a table or userdata, or the per-type table of any other value;
// returns 0 (pushing nothing) when there is none.
int lua_getmetatable(lua_State* L, int idx);
// Pops a table (or nil: the default metatable) and makes it the metatable of the table or
// userdata at idx; returns 0 for other values.
int lua_setmetatable(lua_State* L, int objindex);
void* lua_newuserdata(lua_State* L, size_t size);
void lua_register(lua_State* L, const char* name, lua_CFunction f);

// Calls and chunks
void lua_call(lua_State* L, int nargs, int nresults);
int lua_pcall(lua_State* L, int nargs, int nresults, int errfunc);
int lua_load(lua_State* L, lua_Chunkreader reader, void* dt, const char* chunkname);
// Dumps the script function on the top (without upvalues); returns 0 for anything else.
int lua_dump(lua_State* L, lua_Chunkwriter writer, void* data);
// The instruction listing of the script function at idx (with its nested functions when
// `full'); empty for anything else.
std::string lua_listfunction(lua_State* L, int idx, bool full);
int lua_error(lua_State* L);
void lua_concat(lua_State* L, int n);
// Kilobytes in use, and the threshold of the next collection in kilobytes.
int lua_getgccount(lua_State* L);
int lua_getgcthreshold(lua_State* L);
void lua_setgcthreshold(lua_State* L, int newthreshold);

// Hooks
constexpr int LUA_HOOKCALL = 0;
constexpr int LUA_HOOKRET = 1;
constexpr int LUA_HOOKLINE = 2;
constexpr int LUA_HOOKCOUNT = 3;
constexpr int LUA_HOOKTAILRET = 4;
constexpr int LUA_MASKCALL = 1 << LUA_HOOKCALL;
constexpr int LUA_MASKRET = 1 << LUA_HOOKRET;
constexpr int LUA_MASKLINE = 1 << LUA_HOOKLINE;
constexpr int LUA_MASKCOUNT = 1 << LUA_HOOKCOUNT;
// Sets the hook (null or mask 0: none); the count hook fires every `count' instructions.
int lua_sethook(lua_State* L, lua_Hook func, int mask, int count);
lua_Hook lua_gethook(lua_State* L);
int lua_gethookmask(lua_State* L);
int lua_gethookcount(lua_State* L);

// Coroutines
lua_State* lua_newthread(lua_State* L);
lua_State* lua_tothread(lua_State* L, int idx);
// The state's main thread (the one lua_open gave), which lives until lua_close.
lua_State* lua_mainthread(lua_State* L);
// Moves n values from the top of one thread's stack to another's (same state).
void lua_xmove(lua_State* from, lua_State* to, int n);
int lua_resume(lua_State* L, int nargs);
int lua_yield(lua_State* L, int nresults);
// Whether the thread is suspended in a yield (and may be resumed).
int lua_isyielded(lua_State* L);
// Whether the native function running now may yield: it was called from a script function
// and no native call (lua_call, lua_pcall, a metamethod, a hook) is in progress on the state.
int lua_canyield(lua_State* L);

// Debug interface
constexpr int LUA_IDSIZE = 60;
struct lua_Debug {
  int event;
  const char* name;            // (n)
  const char* namewhat;        // (n) "global", "local", "field", "method" or ""
  const char* what;            // (S) "Lua", "C", "main", "tail"
  const char* source;          // (S)
  int currentline;             // (l)
  int nups;                    // (u) number of upvalues
  int linedefined;             // (S)
  char short_src[LUA_IDSIZE];  // (S)
  int i_ci;                    // private: the call record, 0 for a lost tail call
};
// Fills ar for the function `level' calls below the running one (0 = the running one);
// returns 0 when there is no such level.
int lua_getstack(lua_State* L, int level, lua_Debug* ar);
// Options: S source, l current line, u upvalues, n name, f push the function; a leading '>'
// takes the function from the stack top (popping it). Returns 0 for an unknown option.
int lua_getinfo(lua_State* L, const char* what, lua_Debug* ar);
// Local n (1-based) of a script frame: pushed (get) or set from the popped top (set); the
// name, or null when there is no such local (set still pops).
const char* lua_getlocal(lua_State* L, const lua_Debug* ar, int n);
const char* lua_setlocal(lua_State* L, const lua_Debug* ar, int n);
// Upvalue n of a function: pushed or set from the popped top; its name ("" for a native
// function's), or null when there is none (set still pops).
const char* lua_getupvalue(lua_State* L, int funcindex, int n);
const char* lua_setupvalue(lua_State* L, int funcindex, int n);

// Comparisons (lua_equal and lua_lessthan call metamethods); 0 when an index is not valid.
int lua_equal(lua_State* L, int index1, int index2);
int lua_rawequal(lua_State* L, int index1, int index2);
int lua_lessthan(lua_State* L, int index1, int index2);

int lua_isuserdata(lua_State* L, int idx);
lua_CFunction lua_tocfunction(lua_State* L, int idx);
inline int lua_isfunction(lua_State* L, int n) {
  return lua_type(L, n) == LUA_TFUNCTION;
}
inline int lua_istable(lua_State* L, int n) {
  return lua_type(L, n) == LUA_TTABLE;
}
inline int lua_islightuserdata(lua_State* L, int n) {
  return lua_type(L, n) == LUA_TLIGHTUSERDATA;
}
inline int lua_isnil(lua_State* L, int n) {
  return lua_type(L, n) == LUA_TNIL;
}
inline int lua_isboolean(lua_State* L, int n) {
  return lua_type(L, n) == LUA_TBOOLEAN;
}
inline int lua_isnone(lua_State* L, int n) {
  return lua_type(L, n) == LUA_TNONE;
}
inline int lua_isnoneornil(lua_State* L, int n) {
  return lua_type(L, n) <= 0;
}
inline void lua_getregistry(lua_State* L) {
  lua_pushvalue(L, LUA_REGISTRYINDEX);
}

// A boxed pointer: a full userdata holding one pointer, which lua_touserdata gives back. Its
// metatable is that of every new userdata until the caller sets another.
void lua_pushboxedpointer(lua_State* L, void* p);
inline void lua_boxpointer(lua_State* L, void* p) {
  lua_pushboxedpointer(L, p);
}
inline void* lua_unboxpointer(lua_State* L, int i) {
  return lua_touserdata(L, i);
}

// The per-type table of a tag (1 to 10): pushed (nil for another tag), or replaced by the table
// on the top (which is popped in every case).
void lua_gettypemetatable(lua_State* L, int tag);
void lua_settypemetatable(lua_State* L, int tag);

// The globals table of a function (the thread's own for other values), and its replacement
// by the table on the top (popped); lua_setfenv returns 0 when idx is not a function.
void lua_getfenv(lua_State* L, int idx);
int lua_setfenv(lua_State* L, int idx);

const char* lua_version();

// Calls func(ud) protected, with ud as a light userdata argument; returns the status (an
// error message is left on the stack).
int lua_cpcall(lua_State* L, lua_CFunction func, void* ud);
// Pushes the upvalues of the running native function; returns their count.
int lua_pushupvalues(lua_State* L);
