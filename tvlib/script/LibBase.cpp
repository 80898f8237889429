// The base library: the global functions every script sees (print, type, pairs, pcall,
// error, require ...), `_G' and `_VERSION', and the opening of the coroutine table. Wide text
// is printed as UTF-8 (the terminal's encoding); `tostring' narrows it to low bytes.
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tvlib/script/AuxLib.h"
#include "tvlib/script/Libs.h"

void luaopen_coroutine(lua_State* L);

namespace {

void AppendUtf8(std::string& out, const char16_t* s, size_t n) {
  for (size_t i = 0; i < n; i++) {
    uint32_t c = s[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < n && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (s[++i] - 0xDC00);
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;  // a lone surrogate
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
}

int Print(lua_State* L) {
  const int n = lua_gettop(L);
  lua_pushstring(L, "towstring");
  lua_gettable(L, LUA_GLOBALSINDEX);
  lua_pushstring(L, "tostring");
  lua_gettable(L, LUA_GLOBALSINDEX);
  std::string line;
  for (int i = 1; i <= n; i++) {
    const bool wide = lua_type(L, i) == LUA_TWSTRING;
    lua_pushvalue(L, wide ? n + 1 : n + 2);
    lua_pushvalue(L, i);
    lua_call(L, 1, 1);
    if (i > 1) line += '\t';
    if (wide) {
      const char16_t* w = lua_towstring(L, -1);
      if (w == nullptr) return luaL_error(L, "`tostring' must return a string to `print'");
      AppendUtf8(line, w, lua_strlen(L, -1));
    } else {
      const char* s = lua_tostring(L, -1);
      if (s == nullptr) return luaL_error(L, "`tostring' must return a string to `print'");
      line.append(s, lua_strlen(L, -1));
    }
    lua_pop(L, 1);
  }
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stdout);
  return 0;
}

// Pushes "<type>: <address>" for values shown by identity.
void PushAddress(lua_State* L, const char* format, const void* p) {
  lua_pushfstring(L, format, p);
}

int ToString(lua_State* L) {
  if (lua_type(L, 1) == LUA_TNONE) return luaL_argerror(L, 1, "value expected");
  // A "__tostring" field of the metatable decides first.
  if (lua_getmetatable(L, 1)) {
    lua_pushstring(L, "__tostring");
    lua_rawget(L, -2);
    if (lua_type(L, -1) == LUA_TFUNCTION) {
      lua_pushvalue(L, 1);
      lua_call(L, 1, 1);
      return 1;
    }
    lua_pop(L, 2);
  }
  switch (lua_type(L, 1)) {
    case LUA_TNUMBER:
      lua_pushstring(L, lua_tostring(L, 1));
      return 1;
    case LUA_TSTRING:
      lua_pushvalue(L, 1);
      return 1;
    case LUA_TWSTRING: {
      const char16_t* w = lua_towstring(L, 1);
      std::string narrow;
      for (size_t i = 0, n = lua_strlen(L, 1); i < n; i++) narrow += static_cast<char>(w[i] & 0xFF);
      lua_pushlstring(L, narrow.data(), narrow.size());
      return 1;
    }
    case LUA_TBOOLEAN:
      lua_pushstring(L, lua_toboolean(L, 1) ? "true" : "false");
      return 1;
    case LUA_TNIL:
      lua_pushstring(L, "nil");
      return 1;
    case LUA_TTABLE:
      PushAddress(L, "table: %p", lua_topointer(L, 1));
      return 1;
    case LUA_TFUNCTION:
      PushAddress(L, "function: %p", lua_topointer(L, 1));
      return 1;
    case LUA_TTHREAD:
      PushAddress(L, "thread: %p", lua_topointer(L, 1));
      return 1;
    default:
      PushAddress(L, "userdata: %p", lua_touserdata(L, 1));
      return 1;
  }
}

void PushWidened(lua_State* L, const char* s, size_t n) {
  std::u16string w;
  for (size_t i = 0; i < n; i++) w += static_cast<char16_t>(static_cast<signed char>(s[i]));
  lua_pushwlstring(L, w.data(), w.size());
}

void PushWidenedString(lua_State* L) {
  const char* s = lua_tostring(L, -1);
  const size_t n = lua_strlen(L, -1);
  const std::string copy(s, n);
  lua_pop(L, 1);
  PushWidened(L, copy.data(), copy.size());
}

int ToWString(lua_State* L) {
  switch (lua_type(L, 1)) {
    case LUA_TNIL:
      lua_pushstring(L, "nil");
      return 1;
    case LUA_TNUMBER:
      lua_pushvalue(L, 1);
      lua_towstring(L, -1);
      return 1;
    case LUA_TSTRING:
      PushWidened(L, lua_tostring(L, 1), lua_strlen(L, 1));
      return 1;
    case LUA_TWSTRING:
      lua_pushvalue(L, 1);
      return 1;
    case LUA_TTABLE:
      lua_pushfstring(L, "%s: %p", lua_typename(L, LUA_TTABLE), lua_topointer(L, 1));
      PushWidenedString(L);
      return 1;
    case LUA_TFUNCTION:
      PushAddress(L, "function: %p", lua_topointer(L, 1));
      PushWidenedString(L);
      return 1;
    case LUA_TUSERDATA:
      PushAddress(L, "userdata: %p", lua_touserdata(L, 1));
      PushWidenedString(L);
      return 1;
    case LUA_TTHREAD:
      PushAddress(L, "thread: %p", lua_topointer(L, 1));
      PushWidenedString(L);
      return 1;
    default:
      return luaL_argerror(L, 1, "value expected");
  }
}

int Error(lua_State* L) {
  const int level = luaL_optint(L, 2, 1);
  lua_settop(L, 1);
  if (lua_type(L, 1) == LUA_TSTRING && level > 0) {
    luaL_where(L, level);
    lua_pushvalue(L, 1);
    lua_concat(L, 2);
  }
  return lua_error(L);
}

int GetMetatable(lua_State* L) {
  luaL_checkany(L, 1);
  if (!lua_getmetatable(L, 1)) {
    lua_pushnil(L);
    return 1;
  }
  luaL_getmetafield(L, 1, "__metatable");
  return 1;
}

int SetMetatable(lua_State* L) {
  const int t = lua_type(L, 2);
  luaL_checktype(L, 1, LUA_TTABLE);
  luaL_argcheck(L, t == LUA_TNIL || t == LUA_TTABLE, 2, "nil or table expected");
  if (luaL_getmetafield(L, 1, "__metatable")) luaL_error(L, "cannot change a protected metatable");
  lua_settop(L, 2);
  lua_setmetatable(L, 1);
  return 1;
}

// Pushes the function a getfenv/setfenv argument designates: a function, or the one running
// `level' levels up (level 0: none, the thread's globals are meant).
void PushFunctionArg(lua_State* L) {
  if (lua_isfunction(L, 1)) {
    lua_pushvalue(L, 1);
    return;
  }
  const int level = luaL_optint(L, 1, 1);
  luaL_argcheck(L, level >= 0, 1, "level must be non-negative");
  if (level == 0) {
    lua_pushnil(L);
    return;
  }
  lua_Debug ar;
  if (lua_getstack(L, level, &ar) == 0) luaL_argerror(L, 1, "invalid level");
  lua_getinfo(L, "f", &ar);
  if (lua_isnil(L, -1)) luaL_error(L, "no function environment for tail call at level %d", level);
}

int GetFenv(lua_State* L) {
  PushFunctionArg(L);
  if (lua_isnil(L, -1))
    lua_pushvalue(L, LUA_GLOBALSINDEX);
  else
    lua_getfenv(L, -1);
  luaL_getmetafield(L, -1, "__fenv");
  return 1;
}

int SetFenv(lua_State* L) {
  luaL_checktype(L, 2, LUA_TTABLE);
  PushFunctionArg(L);
  if (lua_isnil(L, -1))
    lua_pushvalue(L, LUA_GLOBALSINDEX);
  else
    lua_getfenv(L, -1);
  if (luaL_getmetafield(L, -1, "__fenv"))
    luaL_error(L, "`setfenv' cannot change a protected environment");
  lua_pop(L, 1);
  lua_pushvalue(L, 2);
  if (lua_isnil(L, -2)) {
    lua_replace(L, LUA_GLOBALSINDEX);
    return 0;
  }
  if (lua_setfenv(L, -2) == 0)
    luaL_error(L, "`setfenv' cannot change environment of given function");
  return 0;
}

int RawEqual(lua_State* L) {
  luaL_checkany(L, 1);
  luaL_checkany(L, 2);
  lua_pushboolean(L, lua_rawequal(L, 1, 2));
  return 1;
}

int RawGet(lua_State* L) {
  luaL_checktype(L, 1, LUA_TTABLE);
  luaL_checkany(L, 2);
  lua_rawget(L, 1);
  return 1;
}

int RawSet(lua_State* L) {
  luaL_checktype(L, 1, LUA_TTABLE);
  luaL_checkany(L, 2);
  luaL_checkany(L, 3);
  lua_rawset(L, 1);
  return 1;
}

int GcInfo(lua_State* L) {
  lua_pushnumber(L, lua_getgccount(L));
  lua_pushnumber(L, lua_getgcthreshold(L));
  return 2;
}

int CollectGarbage(lua_State* L) {
  lua_setgcthreshold(L, luaL_optint(L, 1, 0));
  return 0;
}

int Type(lua_State* L) {
  luaL_checkany(L, 1);
  lua_pushstring(L, lua_typename(L, lua_type(L, 1)));
  return 1;
}

int Next(lua_State* L) {
  luaL_checktype(L, 1, LUA_TTABLE);
  lua_settop(L, 2);
  if (lua_next(L, 1)) return 2;
  lua_pushnil(L);
  return 1;
}

int Pairs(lua_State* L) {
  luaL_checktype(L, 1, LUA_TTABLE);
  lua_pushvalue(L, lua_upvalueindex(1));  // next
  lua_pushvalue(L, 1);
  lua_pushnil(L);
  return 3;
}

int IpairsStep(lua_State* L) {
  luaL_checktype(L, 1, LUA_TTABLE);
  const int i = luaL_checkint(L, 2) + 1;
  lua_pushnumber(L, i);
  lua_rawgeti(L, 1, i);
  return lua_isnil(L, -1) ? 0 : 2;
}

int Ipairs(lua_State* L) {
  luaL_checktype(L, 1, LUA_TTABLE);
  lua_pushvalue(L, lua_upvalueindex(1));  // the step function
  lua_pushvalue(L, 1);
  lua_pushnumber(L, 0);
  return 3;
}

// The results of a load: the function, or nil and the message.
int LoadResult(lua_State* L, int status) {
  if (status == 0) return 1;
  lua_pushnil(L);
  lua_insert(L, -2);
  return 2;
}

int LoadString(lua_State* L) {
  size_t l;
  const char* s = luaL_checklstring(L, 1, &l);
  const char* chunkname = luaL_optstring(L, 2, s);
  return LoadResult(L, luaL_loadbuffer(L, s, l, chunkname));
}

int LoadFile(lua_State* L) {
  return LoadResult(L, luaL_loadfile(L, luaL_checkstring(L, 1)));
}

int DoFile(lua_State* L) {
  const char* fname = luaL_checkstring(L, 1);
  const int n = lua_gettop(L);
  if (luaL_loadfile(L, fname) != 0) lua_error(L);
  lua_call(L, 0, LUA_MULTRET);
  return lua_gettop(L) - n;
}

int Assert(lua_State* L) {
  luaL_checkany(L, 1);
  if (!lua_toboolean(L, 1)) return luaL_error(L, "%s", luaL_optstring(L, 2, "assertion failed!"));
  lua_settop(L, 1);
  return 1;
}

int Unpack(lua_State* L) {
  luaL_checktype(L, 1, LUA_TTABLE);
  const int n = luaL_getn(L, 1);
  luaL_checkstack(L, n, "table too big to unpack");
  for (int i = 1; i <= n; i++) lua_rawgeti(L, 1, i);
  return n;
}

int PCall(lua_State* L) {
  luaL_checkany(L, 1);
  const int status = lua_pcall(L, lua_gettop(L) - 1, LUA_MULTRET, 0);
  lua_pushboolean(L, status == 0);
  lua_insert(L, 1);
  return lua_gettop(L);
}

int XPCall(lua_State* L) {
  luaL_checkany(L, 2);
  lua_settop(L, 2);
  lua_insert(L, 1);  // the handler goes below the function
  const int status = lua_pcall(L, 0, LUA_MULTRET, 1);
  lua_pushboolean(L, status == 0);
  lua_replace(L, 1);
  return lua_gettop(L);
}

int ToNumber(lua_State* L) {
  const int base = luaL_optint(L, 2, 10);
  if (base == 10) {
    luaL_checkany(L, 1);
    if (lua_isnumber(L, 1)) {
      lua_pushnumber(L, lua_tonumber(L, 1));
      return 1;
    }
    lua_pushnil(L);
    return 1;
  }
  std::string text;
  if (lua_type(L, 1) == LUA_TWSTRING) {
    size_t n;
    const char16_t* w = luaL_checkwlstring(L, 1, &n);
    if (n > 99) {
      lua_pushnil(L);
      return 1;
    }
    for (size_t i = 0; i < n; i++) text += static_cast<char>(w[i] & 0xFF);
  } else {
    size_t n;
    const char* s = luaL_checklstring(L, 1, &n);
    text.assign(s, n);
  }
  luaL_argcheck(L, 2 <= base && base <= 36, 2, "base out of range");
  const char* s = text.c_str();
  char* e;
  const unsigned long n = std::strtoul(s, &e, base);
  if (s != e) {
    while (std::isspace(static_cast<unsigned char>(*e))) e++;
    if (e == s + text.size()) {
      lua_pushnumber(L, static_cast<lua_Number>(n));
      return 1;
    }
  }
  lua_pushnil(L);
  return 1;
}

// require: a package is loaded once; its result (true when it gives none) is kept in
// `_LOADED'. Files are sought through the templates of LUA_PATH ("?;?.lua" by default).
int Require(lua_State* L) {
  const char* name = luaL_checkstring(L, 1);
  lua_settop(L, 1);
  lua_pushstring(L, "_LOADED");
  lua_gettable(L, LUA_GLOBALSINDEX);  // 2: _LOADED
  if (!lua_istable(L, 2)) return luaL_error(L, "`_LOADED' is not a table");
  lua_pushvalue(L, 1);
  lua_rawget(L, 2);
  if (lua_toboolean(L, -1)) return 1;
  lua_pop(L, 1);
  lua_pushstring(L, "LUA_PATH");
  lua_gettable(L, LUA_GLOBALSINDEX);
  const std::string path = lua_isstring(L, -1) ? lua_tostring(L, -1) : "?;?.lua";
  lua_pop(L, 1);
  int status = LUA_ERRFILE;
  for (size_t pos = 0; pos <= path.size() && status == LUA_ERRFILE;) {
    size_t end = path.find(';', pos);
    if (end == std::string::npos) end = path.size();
    std::string file;
    for (size_t i = pos; i < end; i++) {
      if (path[i] == '?')
        file += name;
      else
        file += path[i];
    }
    pos = end + 1;
    if (file.empty()) continue;
    status = luaL_loadfile(L, file.c_str());
    if (status == LUA_ERRFILE) lua_pop(L, 1);
  }
  if (status == LUA_ERRFILE)
    return luaL_error(L, "could not load package `%s' from path `%s'", name, path.c_str());
  if (status != 0)
    return luaL_error(L, "error loading package `%s' (%s)", name, lua_tostring(L, -1));
  lua_pushvalue(L, 1);
  lua_pushboolean(L, 1);
  lua_rawset(L, 2);  // marks it loaded before running, so that cycles end
  lua_pushstring(L, "_REQUIREDNAME");
  lua_gettable(L, LUA_GLOBALSINDEX);  // the outer package's name, put back afterwards
  lua_insert(L, -2);
  lua_pushstring(L, "_REQUIREDNAME");
  lua_pushvalue(L, 1);
  lua_settable(L, LUA_GLOBALSINDEX);
  lua_pushvalue(L, 1);
  lua_call(L, 1, 1);
  lua_pushstring(L, "_REQUIREDNAME");
  lua_pushvalue(L, -3);
  lua_settable(L, LUA_GLOBALSINDEX);
  if (!lua_isnil(L, -1)) {
    lua_pushvalue(L, 1);
    lua_pushvalue(L, -2);
    lua_rawset(L, 2);
  }
  lua_pushvalue(L, 1);
  lua_rawget(L, 2);
  return 1;
}

// newproxy(false) makes a bare userdata; newproxy(true) one with a new metatable;
// newproxy(proxy) one sharing that proxy's metatable. Proxies' metatables are remembered in a
// weak table (upvalue 1).
int NewProxy(lua_State* L) {
  lua_settop(L, 1);
  lua_newuserdata(L, 0);
  if (!lua_toboolean(L, 1)) return 1;
  if (lua_isboolean(L, 1)) {
    lua_newtable(L);
    lua_pushvalue(L, -1);
    lua_pushboolean(L, 1);
    lua_rawset(L, lua_upvalueindex(1));
  } else {
    bool valid = false;
    if (lua_getmetatable(L, 1)) {
      lua_rawget(L, lua_upvalueindex(1));
      valid = lua_toboolean(L, -1);
      lua_pop(L, 1);
    }
    luaL_argcheck(L, valid, 1, "boolean or proxy expected");
    lua_getmetatable(L, 1);
  }
  lua_setmetatable(L, 2);
  return 1;
}

const luaL_reg kBaseFunctions[] = {
    {"error", Error},
    {"getmetatable", GetMetatable},
    {"setmetatable", SetMetatable},
    {"getfenv", GetFenv},
    {"setfenv", SetFenv},
    {"next", Next},
    {"print", Print},
    {"tonumber", ToNumber},
    {"tostring", ToString},
    {"towstring", ToWString},
    {"type", Type},
    {"assert", Assert},
    {"unpack", Unpack},
    {"rawequal", RawEqual},
    {"rawget", RawGet},
    {"rawset", RawSet},
    {"pcall", PCall},
    {"xpcall", XPCall},
    {"collectgarbage", CollectGarbage},
    {"gcinfo", GcInfo},
    {"loadfile", LoadFile},
    {"dofile", DoFile},
    {"loadstring", LoadString},
    {"require", Require},
    {nullptr, nullptr},
};

// Registers a function with one upvalue, the value below it on the stack (popped).
void SetGlobalClosure(lua_State* L, const char* name, lua_CFunction f) {
  lua_pushstring(L, name);
  lua_insert(L, -2);
  lua_pushcclosure(L, f, 1);
  lua_settable(L, LUA_GLOBALSINDEX);
}

const char* const kTypeTableNames[] = {"_boolean",  "_lightuserdata", "_number",
                                       "_string",   "_table",         "_function",
                                       "_userdata", "_thread",        "_wstring"};

}  // namespace

void luaopen_base(lua_State* L) {
  lua_pushstring(L, "_G");
  lua_pushvalue(L, LUA_GLOBALSINDEX);
  lua_settable(L, LUA_GLOBALSINDEX);
  lua_pushvalue(L, LUA_GLOBALSINDEX);
  luaL_openlib(L, nullptr, kBaseFunctions, 0);
  lua_pop(L, 1);
  lua_pushstring(L, "_VERSION");
  lua_pushstring(L, lua_version());
  lua_settable(L, LUA_GLOBALSINDEX);
  lua_pushstring(L, "next");
  lua_gettable(L, LUA_GLOBALSINDEX);
  SetGlobalClosure(L, "pairs", Pairs);
  lua_pushcfunction(L, IpairsStep);
  SetGlobalClosure(L, "ipairs", Ipairs);
  lua_newtable(L);  // proxies' metatables, weak keys
  lua_newtable(L);
  lua_pushstring(L, "__mode");
  lua_pushstring(L, "k");
  lua_rawset(L, -3);
  lua_setmetatable(L, -2);
  SetGlobalClosure(L, "newproxy", NewProxy);
  luaopen_coroutine(L);
  lua_pushstring(L, "_LOADED");
  lua_newtable(L);
  lua_settable(L, LUA_GLOBALSINDEX);
  for (int tag = 1; tag <= 9; tag++) {
    lua_pushstring(L, kTypeTableNames[tag - 1]);
    lua_gettypemetatable(L, tag);
    lua_settable(L, LUA_REGISTRYINDEX);
  }
}

void luaopen_all(lua_State* L) {
  luaopen_base(L);
  luaopen_string(L);
  luaopen_table(L);
  luaopen_math(L);
}
