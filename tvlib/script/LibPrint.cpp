// The text functions of the base library: `print', `tostring' and `towstring'. They use only
// the script interface. Wide text is written as UTF-8 (Linux's wide output would lose it).
#include <cstdio>
#include <string>

#include "tvlib/script/Api.h"

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
void PushAddress(lua_State* L, const char* format, const void* p) { lua_pushfstring(L, format, p); }

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
    case LUA_TNUMBER: lua_pushstring(L, lua_tostring(L, 1)); return 1;
    case LUA_TSTRING: lua_pushvalue(L, 1); return 1;
    case LUA_TWSTRING: {
      const char16_t* w = lua_towstring(L, 1);
      std::string narrow;
      for (size_t i = 0, n = lua_strlen(L, 1); i < n; i++) narrow += static_cast<char>(w[i] & 0xFF);
      lua_pushlstring(L, narrow.data(), narrow.size());
      return 1;
    }
    case LUA_TBOOLEAN: lua_pushstring(L, lua_toboolean(L, 1) ? "true" : "false"); return 1;
    case LUA_TNIL: lua_pushstring(L, "nil"); return 1;
    case LUA_TTABLE: PushAddress(L, "table: %p", lua_topointer(L, 1)); return 1;
    case LUA_TFUNCTION: PushAddress(L, "function: %p", lua_topointer(L, 1)); return 1;
    case LUA_TTHREAD: PushAddress(L, "thread: %p", lua_topointer(L, 1)); return 1;
    default: PushAddress(L, "userdata: %p", lua_touserdata(L, 1)); return 1;
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
    case LUA_TNIL: lua_pushstring(L, "nil"); return 1;
    case LUA_TNUMBER:
      lua_pushvalue(L, 1);
      lua_towstring(L, -1);
      return 1;
    case LUA_TSTRING: PushWidened(L, lua_tostring(L, 1), lua_strlen(L, 1)); return 1;
    case LUA_TWSTRING: lua_pushvalue(L, 1); return 1;
    case LUA_TTABLE:
      lua_pushfstring(L, "%s: %p", lua_typename(L, LUA_TTABLE), lua_topointer(L, 1));
      PushWidenedString(L);
      return 1;
    case LUA_TFUNCTION: PushAddress(L, "function: %p", lua_topointer(L, 1)); PushWidenedString(L); return 1;
    case LUA_TUSERDATA: PushAddress(L, "userdata: %p", lua_touserdata(L, 1)); PushWidenedString(L); return 1;
    case LUA_TTHREAD: PushAddress(L, "thread: %p", lua_topointer(L, 1)); PushWidenedString(L); return 1;
    default: return luaL_argerror(L, 1, "value expected");
  }
}

}  // namespace

void luaopen_print(lua_State* L) {
  lua_register(L, "print", Print);
  lua_register(L, "tostring", ToString);
  lua_register(L, "towstring", ToWString);
}
