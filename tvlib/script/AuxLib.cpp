// The auxiliary library over the script interface. Files are read only through the file
// layer its user installs (the engine's packages and virtual names, or a tool's disk files).
#include "tvlib/script/AuxLib.h"

#include <cctype>
#include <cstring>
#include <string>
#include <utility>

#include "tvlib/script/Limits.h"

namespace {

// Turns a relative stack index into an absolute one (pseudo-indices are kept).
int AbsIndex(lua_State* L, int i) {
  return i > 0 || i <= LUA_REGISTRYINDEX ? i : lua_gettop(L) + i + 1;
}

void TagError(lua_State* L, int narg, int tag) {
  luaL_typerror(L, narg, lua_typename(L, tag));
}

const luaL_FileLayer* gFileLayer = nullptr;

struct FileReader {
  const luaL_FileLayer* layer;
  void* f;
  char buff[LUAL_BUFFERSIZE];
};

const char* ReadFile(lua_State*, void* ud, size_t* size) {
  auto* r = static_cast<FileReader*>(ud);
  if (r->layer->eof(r->f)) return nullptr;
  *size = r->layer->read(r->f, r->buff, sizeof r->buff);
  return *size > 0 ? r->buff : nullptr;
}

int FileError(lua_State* L, int fnameindex, const char* filename) {
  lua_pushfstring(L, "cannot read %s: %s", filename, gFileLayer->error());
  lua_remove(L, fnameindex);
  return LUA_ERRFILE;
}

const char* ReadPiece(lua_State*, void* ud, size_t* size) {
  auto* piece = static_cast<std::pair<const char*, size_t>*>(ud);
  if (piece->second == 0) return nullptr;
  *size = piece->second;
  piece->second = 0;
  return piece->first;
}

// --- buffer ---

constexpr int kMaxPiecesOnStack = LUA_MINSTACK / 2;

size_t BufferLen(luaL_Buffer* B) {
  return static_cast<size_t>(B->p - B->buffer);
}

bool EmptyBuffer(luaL_Buffer* B) {
  const size_t l = BufferLen(B);
  if (l == 0) return false;
  if (B->wide) {
    char16_t units[LUAL_BUFFERSIZE / 2];
    const size_t n = l / 2;
    for (size_t i = 0; i < n; i++) {
      units[i] = static_cast<char16_t>(static_cast<unsigned char>(B->buffer[2 * i]) |
                                       static_cast<unsigned char>(B->buffer[2 * i + 1]) << 8);
    }
    lua_pushwlstring(B->L, units, n);
  } else {
    lua_pushlstring(B->L, B->buffer, l);
  }
  B->p = B->buffer;
  B->lvl++;
  return true;
}

// Joins pieces so that few stay on the stack: a piece is merged with the one below while
// it is longer, or while there are too many.
void AdjustStack(luaL_Buffer* B) {
  if (B->lvl <= 1) return;
  lua_State* L = B->L;
  int toget = 1;
  size_t toplen = lua_strlen(L, -1);
  do {
    const size_t l = lua_strlen(L, -(toget + 1));
    if (B->lvl - toget + 1 >= kMaxPiecesOnStack || toplen > l) {
      toplen += l;
      toget++;
    } else {
      break;
    }
  } while (toget < B->lvl);
  lua_concat(L, toget);
  B->lvl = B->lvl - toget + 1;
}

void BuffInit(lua_State* L, luaL_Buffer* B, int wide) {
  B->L = L;
  B->p = B->buffer;
  B->lvl = 0;
  B->wide = wide;
}

}  // namespace

// --- registration and metatables ---

void luaL_openlib(lua_State* L, const char* libname, const luaL_reg* l, int nup) {
  if (libname != nullptr) {
    lua_pushstring(L, libname);
    lua_gettable(L, LUA_GLOBALSINDEX);
    if (lua_isnil(L, -1)) {
      lua_pop(L, 1);
      lua_newtable(L);
      lua_pushstring(L, libname);
      lua_pushvalue(L, -2);
      lua_settable(L, LUA_GLOBALSINDEX);
    }
    lua_insert(L, -(nup + 1));
  }
  for (; l->name != nullptr; l++) {
    lua_pushstring(L, l->name);
    for (int i = 0; i < nup; i++) lua_pushvalue(L, -(nup + 1));
    lua_pushcclosure(L, l->func, nup);
    lua_settable(L, -(nup + 3));
  }
  lua_pop(L, nup);
}

int luaL_getmetafield(lua_State* L, int obj, const char* e) {
  if (!lua_getmetatable(L, obj)) return 0;
  lua_pushstring(L, e);
  lua_rawget(L, -2);
  if (lua_isnil(L, -1)) {
    lua_pop(L, 2);
    return 0;
  }
  lua_remove(L, -2);
  return 1;
}

int luaL_callmeta(lua_State* L, int obj, const char* e) {
  obj = AbsIndex(L, obj);
  if (!luaL_getmetafield(L, obj, e)) return 0;
  lua_pushvalue(L, obj);
  lua_call(L, 1, 1);
  return 1;
}

// --- argument checks ---

int luaL_argerror(lua_State* L, int narg, const char* extramsg) {
  lua_Debug ar;
  if (!lua_getstack(L, 0, &ar)) return luaL_error(L, "bad argument #%d (%s)", narg, extramsg);
  lua_getinfo(L, "n", &ar);
  if (std::strcmp(ar.namewhat, "method") == 0) {
    narg--;  // do not count `self'
    if (narg == 0) return luaL_error(L, "calling `%s' on bad self (%s)", ar.name, extramsg);
  }
  return luaL_error(L, "bad argument #%d to `%s' (%s)", narg, ar.name ? ar.name : "?", extramsg);
}

int luaL_typerror(lua_State* L, int narg, const char* tname) {
  const char* msg =
      lua_pushfstring(L, "%s expected, got %s", tname, lua_typename(L, lua_type(L, narg)));
  return luaL_argerror(L, narg, msg);
}

const char* luaL_checklstring(lua_State* L, int narg, size_t* len) {
  const char* s = lua_tostring(L, narg);
  if (s == nullptr) TagError(L, narg, LUA_TSTRING);
  if (len != nullptr) *len = lua_strlen(L, narg);
  return s;
}

const char* luaL_optlstring(lua_State* L, int narg, const char* def, size_t* len) {
  if (lua_isnoneornil(L, narg)) {
    if (len != nullptr) *len = def ? std::strlen(def) : 0;
    return def;
  }
  return luaL_checklstring(L, narg, len);
}

const char16_t* luaL_checkwlstring(lua_State* L, int narg, size_t* len) {
  const char16_t* s = lua_towstring(L, narg);
  if (s == nullptr) TagError(L, narg, LUA_TWSTRING);
  if (len != nullptr) *len = lua_strlen(L, narg);
  return s;
}

lua_Number luaL_checknumber(lua_State* L, int narg) {
  const lua_Number d = lua_tonumber(L, narg);
  if (d == 0 && !lua_isnumber(L, narg)) TagError(L, narg, LUA_TNUMBER);
  return d;
}

lua_Number luaL_optnumber(lua_State* L, int narg, lua_Number def) {
  return lua_isnoneornil(L, narg) ? def : luaL_checknumber(L, narg);
}

int luaL_checkint(lua_State* L, int narg) {
  return tvs::NumberToInt(luaL_checknumber(L, narg));
}

int luaL_optint(lua_State* L, int narg, int def) {
  return lua_isnoneornil(L, narg) ? def : luaL_checkint(L, narg);
}

void luaL_checkstack(lua_State* L, int sz, const char* msg) {
  if (!lua_checkstack(L, sz)) luaL_error(L, "stack overflow (%s)", msg);
}

void luaL_checktype(lua_State* L, int narg, int t) {
  if (lua_type(L, narg) != t) TagError(L, narg, t);
}

void luaL_checkany(lua_State* L, int narg) {
  if (lua_type(L, narg) == LUA_TNONE) luaL_argerror(L, narg, "value expected");
}

// --- errors ---

void luaL_where(lua_State* L, int lvl) {
  lua_Debug ar;
  if (lua_getstack(L, lvl, &ar)) {
    lua_getinfo(L, "Sl", &ar);
    if (ar.currentline > 0) {
      lua_pushfstring(L, "%s:%d: ", ar.short_src, ar.currentline);
      return;
    }
  }
  lua_pushstring(L, "");
}

int luaL_error(lua_State* L, const char* fmt, ...) {
  va_list argp;
  va_start(argp, fmt);
  luaL_where(L, 1);
  lua_pushvfstring(L, fmt, argp);
  va_end(argp);
  lua_concat(L, 2);
  return lua_error(L);
}

// --- array sizes ---

namespace {

// The weak-keyed table of sizes set by luaL_setn, created on first use.
void PushSizes(lua_State* L) {
  lua_pushstring(L, "_SIZES");
  lua_rawget(L, LUA_REGISTRYINDEX);
  if (!lua_isnil(L, -1)) return;
  lua_pop(L, 1);
  lua_newtable(L);
  lua_newtable(L);
  lua_pushstring(L, "__mode");
  lua_pushstring(L, "k");
  lua_rawset(L, -3);
  lua_setmetatable(L, -2);
  lua_pushstring(L, "_SIZES");
  lua_pushvalue(L, -2);
  lua_rawset(L, LUA_REGISTRYINDEX);
}

// The `n' field when it is a non-negative number, else -1.
int FieldN(lua_State* L, int t) {
  lua_pushstring(L, "n");
  lua_rawget(L, t);
  const int n = lua_type(L, -1) == LUA_TNUMBER ? tvs::NumberToInt(lua_tonumber(L, -1)) : -1;
  lua_pop(L, 1);
  return n;
}

}  // namespace

int luaL_getn(lua_State* L, int t) {
  t = AbsIndex(L, t);
  luaL_checktype(L, t, LUA_TTABLE);
  int n = FieldN(L, t);
  if (n >= 0) return n;
  PushSizes(L);
  lua_pushvalue(L, t);
  lua_rawget(L, -2);
  if (lua_type(L, -1) == LUA_TNUMBER) {
    n = tvs::NumberToInt(lua_tonumber(L, -1));
    lua_pop(L, 2);
    return n;
  }
  lua_pop(L, 2);
  for (n = 1;; n++) {
    lua_rawgeti(L, t, n);
    const bool end = lua_isnil(L, -1);
    lua_pop(L, 1);
    if (end) return n - 1;
  }
}

void luaL_setn(lua_State* L, int t, int n) {
  t = AbsIndex(L, t);
  if (FieldN(L, t) >= 0) {
    lua_pushstring(L, "n");
    lua_pushnumber(L, n);
    lua_rawset(L, t);
  } else {
    PushSizes(L);
    lua_pushvalue(L, t);
    lua_pushnumber(L, n);
    lua_rawset(L, -3);
    lua_pop(L, 1);
  }
}

// --- buffer ---

void luaL_buffinit(lua_State* L, luaL_Buffer* B) {
  BuffInit(L, B, 0);
}

void luaL_wbuffinit(lua_State* L, luaL_Buffer* B) {
  BuffInit(L, B, 1);
}

char* luaL_prepbuffer(luaL_Buffer* B) {
  if (EmptyBuffer(B)) AdjustStack(B);
  return B->buffer;
}

void luaL_addlstring(luaL_Buffer* B, const char* s, size_t l) {
  while (l > 0) {
    size_t room = static_cast<size_t>(B->buffer + LUAL_BUFFERSIZE - B->p);
    if (room == 0) {
      luaL_prepbuffer(B);
      room = LUAL_BUFFERSIZE;
    }
    const size_t n = l < room ? l : room;
    std::memcpy(B->p, s, n);
    B->p += n;
    s += n;
    l -= n;
  }
}

void luaL_addstring(luaL_Buffer* B, const char* s) {
  luaL_addlstring(B, s, std::strlen(s));
}

void luaL_addwlstring(luaL_Buffer* B, const char16_t* s, size_t l) {
  for (size_t i = 0; i < l; i++) {
    if (B->p + 2 > B->buffer + LUAL_BUFFERSIZE) luaL_prepbuffer(B);
    *B->p++ = static_cast<char>(s[i] & 0xFF);
    *B->p++ = static_cast<char>(s[i] >> 8);
  }
}

void luaL_addvalue(luaL_Buffer* B) {
  lua_State* L = B->L;
  if (lua_type(L, -1) == LUA_TWSTRING) {
    const std::u16string w(lua_towstring(L, -1), lua_strlen(L, -1));
    lua_pop(L, 1);
    luaL_addwlstring(B, w.data(), w.size());
    return;
  }
  const char* s = lua_tostring(L, -1);
  const size_t vl = lua_strlen(L, -1);
  if (s == nullptr) {
    lua_pop(L, 1);
  } else if (vl <= static_cast<size_t>(B->buffer + LUAL_BUFFERSIZE - B->p)) {
    std::memcpy(B->p, s, vl);
    B->p += vl;
    lua_pop(L, 1);
  } else if (B->wide) {
    const std::string bytes(s, vl);  // the buffer's pieces are pushed above the value
    lua_pop(L, 1);
    luaL_addlstring(B, bytes.data(), bytes.size());
  } else {
    if (EmptyBuffer(B)) lua_insert(L, -2);  // the value becomes the newest piece
    B->lvl++;
    AdjustStack(B);
  }
}

void luaL_pushresult(luaL_Buffer* B) {
  EmptyBuffer(B);
  if (B->lvl == 0) {
    if (B->wide)
      lua_pushwlstring(B->L, u"", 0);
    else
      lua_pushlstring(B->L, "", 0);
  } else {
    lua_concat(B->L, B->lvl);
  }
  B->lvl = 1;
}

// --- loading ---

int luaL_loadbuffer(lua_State* L, const char* buff, size_t size, const char* name) {
  std::pair<const char*, size_t> piece{buff, size};
  return lua_load(L, ReadPiece, &piece, name);
}

const luaL_FileLayer* luaL_setfilelayer(const luaL_FileLayer* layer) {
  const luaL_FileLayer* old = gFileLayer;
  gFileLayer = layer;
  return old;
}

int luaL_loadfile(lua_State* L, const char* filename) {
  if (filename == nullptr) {
    lua_pushstring(L, "cannot read standard input: not supported");
    return LUA_ERRFILE;
  }
  if (gFileLayer == nullptr) {
    lua_pushfstring(L, "cannot read %s: no file layer", filename);
    return LUA_ERRFILE;
  }
  const int fnameindex = lua_gettop(L) + 1;
  lua_pushfstring(L, "@%s", filename);
  FileReader r{gFileLayer, gFileLayer->open(filename, 1), {}};
  if (r.f == nullptr) return FileError(L, fnameindex, filename);
  const int c = r.layer->getc(r.f);
  if (c >= 0) r.layer->ungetc(r.f, c);
  if (c >= 0 && !std::isspace(c) && !std::isprint(c)) {
    // A precompiled chunk or a 16-bit text: read the bytes as they are.
    r.layer->close(r.f);
    r.f = r.layer->open(filename, 0);
    if (r.f == nullptr) return FileError(L, fnameindex, filename);
  }
  const int status = lua_load(L, ReadFile, &r, lua_tostring(L, -1));
  if (r.layer->isbad(r.f)) {
    r.layer->close(r.f);
    lua_settop(L, fnameindex);
    return FileError(L, fnameindex, filename);
  }
  r.layer->close(r.f);
  lua_remove(L, fnameindex);
  return status;
}

int lua_dobuffer(lua_State* L, const char* buff, size_t size, const char* name) {
  int status = luaL_loadbuffer(L, buff, size, name);
  if (status == 0) status = lua_pcall(L, 0, LUA_MULTRET, 0);
  return status;
}

int lua_dostring(lua_State* L, const char* str) {
  return lua_dobuffer(L, str, std::strlen(str), str);
}
