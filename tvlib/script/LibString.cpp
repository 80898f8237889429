// The string library: len, sub, lower, upper, char, rep, byte, dump and format (with the
// options B, Q and b<letter>), the pattern functions and the byte-level additions. Opening it
// makes the `string' table the per-type table of strings, so ("x"):upper() works.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "tvlib/script/AuxLib.h"
#include "tvlib/script/LibStringParts.h"
#include "tvlib/script/Libs.h"
#include "tvlib/script/Object.h"

namespace {

int Len(lua_State* L) {
  size_t l;
  luaL_checklstring(L, 1, &l);
  lua_pushnumber(L, static_cast<lua_Number>(l));
  return 1;
}

int Sub(lua_State* L) {
  size_t l;
  const char* s = luaL_checklstring(L, 1, &l);
  long long start = PosRelative(luaL_checkint(L, 2), l);
  long long end = PosRelative(luaL_optint(L, 3, -1), l);
  if (start < 1) start = 1;
  if (end > static_cast<long long>(l)) end = static_cast<long long>(l);
  if (start <= end)
    lua_pushlstring(L, s + start - 1, static_cast<size_t>(end - start + 1));
  else
    lua_pushlstring(L, "", 0);
  return 1;
}

template <int (*F)(int)>
int MapChars(lua_State* L) {
  size_t l;
  const char* s = luaL_checklstring(L, 1, &l);
  std::string out(s, l);
  for (char& c : out) c = static_cast<char>(F(static_cast<unsigned char>(c)));
  lua_pushlstring(L, out.data(), out.size());
  return 1;
}

// The result is sized before anything is copied and built in one block taken through the
// state's allocator, so a size the allocator refuses fails at once.
int Rep(lua_State* L) {
  size_t l;
  const char* s = luaL_checklstring(L, 1, &l);
  const int n = luaL_checkint(L, 2);
  if (n <= 0 || l == 0) {
    lua_pushlstring(L, "", 0);
    return 1;
  }
  if (l > tvs::kMaxStringSize / static_cast<size_t>(n)) luaL_error(L, "string size overflow");
  const size_t total = l * static_cast<size_t>(n);
  char* out = static_cast<char*>(lua_newuserdata(L, total));
  std::memcpy(out, s, l);
  for (size_t done = l; done < total; done *= 2)
    std::memcpy(out + done, out, done <= total - done ? done : total - done);
  lua_pushlstring(L, out, total);
  return 1;
}

int Byte(lua_State* L) {
  size_t l;
  const char* s = luaL_checklstring(L, 1, &l);
  const int pos = PosRelative(luaL_optint(L, 2, 1), l);
  if (pos <= 0 || static_cast<size_t>(pos) > l) return 0;
  lua_pushnumber(L, static_cast<unsigned char>(s[pos - 1]));
  return 1;
}

int Char(lua_State* L) {
  const int n = lua_gettop(L);
  luaL_Buffer b;
  luaL_buffinit(L, &b);
  for (int i = 1; i <= n; i++) {
    const int c = luaL_checkint(L, i);
    luaL_argcheck(L, static_cast<unsigned char>(c) == c, i, "invalid value");
    luaL_putchar(&b, static_cast<char>(c));
  }
  luaL_pushresult(&b);
  return 1;
}

int DumpWriter(lua_State* L, const void* b, size_t size, void* B) {
  (void)L;
  luaL_addlstring(static_cast<luaL_Buffer*>(B), static_cast<const char*>(b), size);
  return 1;
}

int Dump(lua_State* L) {
  luaL_checktype(L, 1, LUA_TFUNCTION);
  lua_settop(L, 1);
  luaL_Buffer b;
  luaL_buffinit(L, &b);
  if (!lua_dump(L, DumpWriter, &b)) luaL_error(L, "unable to dump given function");
  luaL_pushresult(&b);
  return 1;
}

// --- format ---

constexpr size_t kMaxFormat = 20;  // one conversion spec with its flags, width, precision
constexpr size_t kMaxItem = 512;   // one formatted number

// The quoted form of option q: a string the lexer reads back.
void AddQuoted(lua_State* L, luaL_Buffer* b, int arg) {
  size_t l;
  const char* s = luaL_checklstring(L, arg, &l);
  luaL_putchar(b, '"');
  for (size_t i = 0; i < l; i++) {
    switch (s[i]) {
      case '"':
      case '\\':
      case '\n':
        luaL_putchar(b, '\\');
        luaL_putchar(b, s[i]);
        break;
      case '\r':
        luaL_addlstring(b, "\\r", 2);
        break;
      case '\0':
        luaL_addlstring(b, "\\000", 4);
        break;
      default:
        luaL_putchar(b, s[i]);
        break;
    }
  }
  luaL_putchar(b, '"');
}

// The source form of option Q: escapes for control characters, \x for the unprintable; wide
// strings as L"...".
void AddSourceQuoted(lua_State* L, luaL_Buffer* b, int arg) {
  const bool wide = lua_type(L, arg) == LUA_TWSTRING;
  if (!wide && lua_type(L, arg) != LUA_TSTRING) luaL_typerror(L, arg, "string");
  const size_t n = lua_strlen(L, arg);
  const char16_t* w = wide ? lua_towstring(L, arg) : nullptr;
  const char* s = wide ? nullptr : lua_tostring(L, arg);
  if (wide) luaL_putchar(b, 'L');
  luaL_putchar(b, '"');
  for (size_t i = 0; i < n; i++) {
    const unsigned c = wide ? w[i] : static_cast<unsigned char>(s[i]);
    static const char kEscapes[] = "abtnvfr";
    char item[8];
    if (c >= 7 && c <= 13) {
      item[0] = '\\';
      item[1] = kEscapes[c - 7];
      luaL_addlstring(b, item, 2);
    } else if (c == '"' || c == '\\') {
      luaL_putchar(b, '\\');
      luaL_putchar(b, static_cast<char>(c));
    } else if (c < 256 && std::isprint(static_cast<int>(c))) {
      luaL_putchar(b, static_cast<char>(c));
    } else {
      luaL_addlstring(
          b, item,
          static_cast<size_t>(std::snprintf(item, sizeof item, wide ? "\\x%04x" : "\\x%02x", c)));
    }
  }
  luaL_putchar(b, '"');
}

void AddLittleEndian(luaL_Buffer* b, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; i++) luaL_putchar(b, static_cast<char>(v >> (8 * i)));
}

// Option b<letter>: the raw bytes of a number.
void AddRaw(lua_State* L, luaL_Buffer* b, int arg, char letter) {
  const lua_Number d = luaL_checknumber(L, arg);
  uint64_t bits;
  switch (letter) {
    case 'F':
      std::memcpy(&bits, &d, 8);
      AddLittleEndian(b, bits, 8);
      break;
    case 'f': {
      const float f = static_cast<float>(d);
      uint32_t fb;
      std::memcpy(&fb, &f, 4);
      AddLittleEndian(b, fb, 4);
      break;
    }
    case 'd':
      AddLittleEndian(b, static_cast<uint64_t>(tvs::NumberToInt64(d)), 4);
      break;
    case 'w':
      AddLittleEndian(b, static_cast<uint64_t>(tvs::NumberToInt64(d)), 2);
      break;
    case 'b':
      AddLittleEndian(b, static_cast<uint64_t>(tvs::NumberToInt64(d)), 1);
      break;
    default:
      break;
  }
}

// Copies one conversion spec ("%-5.2f") into form, checking its length.
const char* ScanFormat(lua_State* L, const char* p, char* form) {
  const char* start = p;
  while (*p != '\0' && std::strchr("-+ #0", *p) != nullptr) p++;
  if (std::isdigit(static_cast<unsigned char>(*p))) p++;
  if (std::isdigit(static_cast<unsigned char>(*p))) p++;
  if (*p == '.') {
    p++;
    if (std::isdigit(static_cast<unsigned char>(*p))) p++;
    if (std::isdigit(static_cast<unsigned char>(*p))) p++;
  }
  if (std::isdigit(static_cast<unsigned char>(*p)))
    luaL_error(L, "invalid format (width or precision too long)");
  if (static_cast<size_t>(p - start) + 2 > kMaxFormat) luaL_error(L, "invalid format (too long)");
  form[0] = '%';
  std::memcpy(form + 1, start, static_cast<size_t>(p - start + 1));
  form[p - start + 2] = '\0';
  return p;
}

int Format(lua_State* L) {
  int arg = 1;
  size_t sfl;
  const char* strfrmt = luaL_checklstring(L, arg, &sfl);
  const char* end = strfrmt + sfl;
  luaL_Buffer b;
  luaL_buffinit(L, &b);
  while (strfrmt < end) {
    if (*strfrmt != '%') {
      luaL_putchar(&b, *strfrmt++);
      continue;
    }
    if (*++strfrmt == '%') {
      luaL_putchar(&b, *strfrmt++);
      continue;
    }
    char form[kMaxFormat + 1];
    char item[kMaxItem];
    if (std::isdigit(static_cast<unsigned char>(*strfrmt)) && strfrmt[1] == '$')
      return luaL_error(L, "obsolete option (d$) to `format'");
    arg++;
    strfrmt = ScanFormat(L, strfrmt, form);
    if (arg > lua_gettop(L) && *strfrmt != 'B') luaL_argerror(L, arg, "no value");
    int n = 0;
    switch (*strfrmt++) {
      case 'c':
      case 'd':
      case 'i':
        n = std::snprintf(item, sizeof item, form, tvs::NumberToInt(luaL_checknumber(L, arg)));
        break;
      case 'o':
      case 'u':
      case 'x':
      case 'X':
        n = std::snprintf(item, sizeof item, form,
                          static_cast<uint32_t>(tvs::NumberToInt64(luaL_checknumber(L, arg))));
        break;
      case 'e':
      case 'E':
      case 'f':
      case 'g':
      case 'G':
        n = std::snprintf(item, sizeof item, form, luaL_checknumber(L, arg));
        break;
      case 'q':
        AddQuoted(L, &b, arg);
        continue;
      case 's': {
        size_t l;
        const char* s = luaL_checklstring(L, arg, &l);
        if (std::strchr(form, '.') == nullptr && l >= 100) {
          lua_pushvalue(L, arg);  // no precision and long: kept whole
          luaL_addvalue(&b);
          continue;
        }
        n = std::snprintf(item, sizeof item, form, s);
        break;
      }
      case 'B': {
        const int t = lua_type(L, arg);
        if (t != LUA_TBOOLEAN && t != LUA_TNIL && t != LUA_TNONE) luaL_typerror(L, arg, "boolean");
        luaL_addstring(&b, lua_toboolean(L, arg) ? "true" : "false");
        continue;
      }
      case 'Q':
        AddSourceQuoted(L, &b, arg);
        continue;
      case 'b': {
        const char letter = strfrmt < end ? *strfrmt++ : '\0';
        AddRaw(L, &b, arg, letter);
        continue;
      }
      default:
        return luaL_error(L, "invalid option to `format'");
    }
    if (n > 0) luaL_addlstring(&b, item, std::min(static_cast<size_t>(n), sizeof item - 1));
  }
  luaL_pushresult(&b);
  return 1;
}

int Lower(int c) {
  return std::tolower(c);
}
int Upper(int c) {
  return std::toupper(c);
}

const luaL_reg kStringFunctions[] = {
    {"len", Len},
    {"sub", Sub},
    {"lower", MapChars<Lower>},
    {"upper", MapChars<Upper>},
    {"char", Char},
    {"rep", Rep},
    {"byte", Byte},
    {"format", Format},
    {"dump", Dump},
    {"find", StrFind},
    {"gfind", StrGfind},
    {"gsub", StrGsub},
    {"lualex", StrLualex},
    {nullptr, nullptr},
};

const luaL_reg kPackFunctions[] = {{"pack", StrPack}, {"unpack", StrUnpack}, {nullptr, nullptr}};

}  // namespace

void luaopen_string(lua_State* L) {
  luaL_openlib(L, "string", kStringFunctions, 0);
  lua_settypemetatable(L, LUA_TSTRING);
  luaL_openlib(L, "string", kPackFunctions, 0);
  lua_pop(L, 1);
}
