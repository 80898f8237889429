// Byte-level string functions: string.pack and string.unpack (binary records with byte
// order, integers, floats, length-prefixed and zero-terminated texts, narrow or wide, and
// fixed-size fields), and string.lualex (decodes backslash escapes as the lexer does).
// Fixed-size fields are measured against the whole packed output, so they are exact at any
// length.
#include <cctype>
#include <cstring>
#include <string>

#include "tvlib/script/AuxLib.h"
#include "tvlib/script/LibStringParts.h"
#include "tvlib/script/Object.h"

namespace {

// Repeat counts, lengths and field sizes of a format at most (a larger one is refused rather
// than building a record of gigabytes).
constexpr int kMaxCount = 1 << 24;

// Reads a decimal count at *fmt (0 when there is none).
int ReadCount(lua_State* L, int formatArg, const char*& fmt, const char* end) {
  int n = 0;
  while (fmt < end && std::isdigit(static_cast<unsigned char>(*fmt))) {
    n = n * 10 + (*fmt++ - '0');
    if (n > kMaxCount) luaL_argerror(L, formatArg, "count too large");
  }
  return n;
}

// The next code letter of a pack format, skipping the blanks and commas that separate
// codes; `wide` tells whether a "w" prefix made it a wide-string code. False at the end.
bool NextFormatCode(const char*& fmt, const char* end, char* code, bool* wide) {
  while (fmt < end && (*fmt == ' ' || *fmt == ',')) ++fmt;
  if (fmt >= end) return false;
  *code = *fmt++;
  *wide = false;
  if (*code == 'w' && fmt < end) {
    *wide = true;
    *code = *fmt++;
  }
  return true;
}

void PutInt(std::string& out, uint64_t v, int bytes, bool big) {
  for (int i = 0; i < bytes; i++) {
    const int shift = 8 * (big ? bytes - 1 - i : i);
    out += static_cast<char>(v >> shift);
  }
}

uint64_t GetInt(const unsigned char* p, int bytes, bool big) {
  uint64_t v = 0;
  for (int i = 0; i < bytes; i++) {
    const int shift = 8 * (big ? bytes - 1 - i : i);
    v |= static_cast<uint64_t>(p[i]) << shift;
  }
  return v;
}

int CodeError(lua_State* L, char c) {
  const char code[2] = {c, '\0'};
  return luaL_argerror(L, 1, lua_pushfstring(L, "bad code `%s'", code));
}

// Appends a text argument (narrow bytes or wide units) with an optional length prefix of
// prefixBytes (0: none) and an optional terminator.
void PackText(lua_State* L, std::string& out, int arg, bool wide, int prefixBytes, bool zero,
              bool big) {
  size_t n;
  const char* s = nullptr;
  const char16_t* w = nullptr;
  if (wide)
    w = luaL_checkwlstring(L, arg, &n);
  else
    s = luaL_checklstring(L, arg, &n);
  if (prefixBytes > 0) {
    const uint64_t limit = prefixBytes >= 4 ? 0xFFFFFFFFull : (1ull << (8 * prefixBytes)) - 1;
    luaL_argcheck(L, n <= limit, arg, "string too long for its length prefix");
    PutInt(out, n, prefixBytes, big);
  }
  if (wide) {
    for (size_t i = 0; i < n; i++) PutInt(out, w[i], 2, big);
    if (zero) PutInt(out, 0, 2, big);
  } else {
    out.append(s, n);
    if (zero) out += '\0';
  }
}

}  // namespace

int StrPack(lua_State* L) {
  size_t lf;
  const char* fmt = luaL_checklstring(L, 1, &lf);
  const char* end = fmt + lf;
  std::string out;
  bool big = false;
  int arg = 2;
  bool fieldOpen = false;
  size_t fieldStart = 0, fieldSize = 0;
  int fill = 0;
  char c;
  bool wide;
  while (NextFormatCode(fmt, end, &c, &wide)) {
    if (c == '@') {
      if (fieldOpen) {
        while (out.size() - fieldStart < fieldSize) out += static_cast<char>(fill);
        fieldOpen = false;
        continue;
      }
      fieldSize = static_cast<size_t>(ReadCount(L, 1, fmt, end));
      if (fmt < end && *fmt == ':') {
        fmt++;
        fill = ReadCount(L, 1, fmt, end);
      }
      fieldStart = out.size();
      fieldOpen = true;
      continue;
    }
    int count = ReadCount(L, 1, fmt, end);
    if (c == '<' || c == '=' || c == '>') {
      big = c == '>';
      continue;
    }
    if (count == 0) count = 1;
    for (int k = 0; k < count; k++, arg++) {
      switch (c) {
        case 'z':
          PackText(L, out, arg, wide, 0, true, big);
          break;
        case 'A':
          PackText(L, out, arg, wide, 0, false, big);
          break;
        case 'p':
          PackText(L, out, arg, wide, 1, false, big);
          break;
        case 'P':
          PackText(L, out, arg, wide, 2, false, big);
          break;
        case 'a':
          PackText(L, out, arg, wide, 4, false, big);
          break;
        case 'B':
          if (!lua_isboolean(L, arg)) luaL_error(L, "expected a boolean");
          out += static_cast<char>(lua_toboolean(L, arg) ? 1 : 0);
          break;
        case 'b':
        case 'c':
          PutInt(out, static_cast<uint64_t>(tvs::NumberToInt64(luaL_checknumber(L, arg))), 1, big);
          break;
        case 'h':
        case 'H':
          PutInt(out, static_cast<uint64_t>(tvs::NumberToInt64(luaL_checknumber(L, arg))), 2, big);
          break;
        case 'i':
        case 'l':
        case 'I':
        case 'L':
          PutInt(out, static_cast<uint64_t>(tvs::NumberToInt64(luaL_checknumber(L, arg))), 4, big);
          break;
        case 'f': {
          const float f = static_cast<float>(luaL_checknumber(L, arg));
          uint32_t bits;
          std::memcpy(&bits, &f, 4);
          PutInt(out, bits, 4, big);
          break;
        }
        case 'd':
        case 'n': {
          const double d = luaL_checknumber(L, arg);
          uint64_t bits;
          std::memcpy(&bits, &d, 8);
          PutInt(out, bits, 8, big);
          break;
        }
        default:
          return CodeError(L, c);
      }
    }
  }
  lua_pushlstring(L, out.data(), out.size());
  return 1;
}

namespace {

// Reads one item of string.unpack at *pos, pushing its value; false when the data ends first.
bool UnpackItem(lua_State* L, char c, bool wide, int count, const unsigned char* data, size_t len,
                size_t* pos, bool big) {
  const size_t left = len - *pos;
  const unsigned char* p = data + *pos;
  const size_t unit = wide ? 2 : 1;
  size_t n = 0;      // text units
  size_t skip = 0;   // bytes before the text
  size_t after = 0;  // bytes after it
  switch (c) {
    case 'z': {
      size_t i = 0;
      while (i + unit <= left && GetInt(p + i, static_cast<int>(unit), big) != 0) i += unit;
      if (i + unit > left) return false;
      n = i / unit;
      after = unit;
      break;
    }
    case 'A':
      n = static_cast<size_t>(count);
      break;
    case 'p':
    case 'P':
    case 'a': {
      skip = c == 'p' ? 1 : c == 'P' ? 2 : 4;
      if (left < skip) return false;
      n = static_cast<size_t>(GetInt(p, static_cast<int>(skip), big));
      break;
    }
    default: {
      const size_t size = c == 'B' || c == 'b' || c == 'c' ? 1
                          : c == 'h' || c == 'H'           ? 2
                          : c == 'd' || c == 'n'           ? 8
                                                           : 4;
      if (left < size) return false;
      const uint64_t v = GetInt(p, static_cast<int>(size), big);
      switch (c) {
        case 'B':
          lua_pushboolean(L, v != 0);
          break;
        case 'b':
          lua_pushnumber(L, static_cast<double>(v));
          break;
        case 'c':
          lua_pushnumber(L, static_cast<int8_t>(v));
          break;
        case 'h':
          lua_pushnumber(L, static_cast<int16_t>(v));
          break;
        case 'H':
          lua_pushnumber(L, static_cast<double>(v));
          break;
        case 'i':
        case 'l':
          lua_pushnumber(L, static_cast<int32_t>(v));
          break;
        case 'I':
        case 'L':
          lua_pushnumber(L, static_cast<double>(v));
          break;
        case 'f': {
          float f;
          const uint32_t bits = static_cast<uint32_t>(v);
          std::memcpy(&f, &bits, 4);
          lua_pushnumber(L, f);
          break;
        }
        default: {
          double d;
          std::memcpy(&d, &v, 8);
          lua_pushnumber(L, d);
          break;
        }
      }
      *pos += size;
      return true;
    }
  }
  if (n > (left - skip) / unit || (left - skip) - n * unit < after) return false;
  const unsigned char* text = p + skip;
  if (wide) {
    std::u16string w(n, u'\0');
    for (size_t i = 0; i < n; i++) w[i] = static_cast<char16_t>(GetInt(text + 2 * i, 2, big));
    lua_pushwlstring(L, w.data(), n);
  } else {
    lua_pushlstring(L, reinterpret_cast<const char*>(text), n);
  }
  *pos += skip + n * unit + after;
  return true;
}

bool IsUnpackCode(char c) {
  return c != '\0' && std::strchr("zApPaBbchHiIlLfdn", c) != nullptr;
}

}  // namespace

int StrUnpack(lua_State* L) {
  size_t len, lf;
  const char* data = luaL_checklstring(L, 1, &len);
  const char* fmt = luaL_checklstring(L, 2, &lf);
  const char* end = fmt + lf;
  const int start = luaL_optint(L, 3, 1);
  size_t pos = start < 1 ? 0 : static_cast<size_t>(start - 1);
  if (pos > len) pos = len;
  lua_settop(L, 2);
  lua_pushnil(L);  // 3: the position, set at the end
  bool big = false;
  bool complete = true;
  char c;
  bool wide;
  while (complete && NextFormatCode(fmt, end, &c, &wide)) {
    int count = ReadCount(L, 2, fmt, end);
    if (c == '<' || c == '=' || c == '>') {
      big = c == '>';
      continue;
    }
    if (!IsUnpackCode(c)) return CodeError(L, c);
    int times = c == 'A' ? 1 : (count == 0 ? 1 : count);
    if (c == 'A' && count == 0) count = 1;
    for (; times > 0 && complete; times--) {
      luaL_checkstack(L, 1, "too many results");
      complete = UnpackItem(L, c, wide, count, reinterpret_cast<const unsigned char*>(data), len,
                            &pos, big);
    }
  }
  lua_pushnumber(L, static_cast<lua_Number>(pos + 1));
  lua_replace(L, 3);
  return lua_gettop(L) - 2;
}

// string.lualex(text, mode): mode 0 gives bytes; another mode writes every character as a
// 16-bit unit, low byte first (hexadecimal escapes give two bytes in both modes).
int StrLualex(lua_State* L) {
  size_t l;
  const char* s = luaL_checklstring(L, 1, &l);
  const bool wide = tvs::NumberToInt64(luaL_checknumber(L, 2)) != 0;
  std::string out;
  auto put = [&](unsigned v) {
    out += static_cast<char>(v & 0xFF);
    if (wide) out += static_cast<char>((v >> 8) & 0xFF);
  };
  size_t i = 0;
  while (i < l) {
    const char c = s[i++];
    if (c != '\\' || i == l) {
      put(static_cast<unsigned char>(c));
      continue;
    }
    const char e = s[i];
    const char* named = std::strchr("abfnrtv", e);
    if (e != '\0' && named != nullptr) {
      static const unsigned char kCodes[] = {7, 8, 12, 10, 13, 9, 11};
      put(kCodes[named - "abfnrtv"]);
      i++;
    } else if (e == 'x' && i + 1 < l && std::isxdigit(static_cast<unsigned char>(s[i + 1]))) {
      i++;
      unsigned v = 0;
      for (int k = 0;
           k < (wide ? 4 : 2) && i < l && std::isxdigit(static_cast<unsigned char>(s[i]));
           k++, i++) {
        const char h = s[i];
        v = v * 16 + static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(h))
                                               ? h - '0'
                                               : (std::tolower(h) - 'a' + 10));
      }
      out += static_cast<char>(v & 0xFF);
      out += static_cast<char>(v >> 8);
    } else if (e == 'x') {
      put('x');
      i++;
    } else if (std::isdigit(static_cast<unsigned char>(e))) {
      unsigned v = 0;
      for (int k = 0; k < 3 && i < l && std::isdigit(static_cast<unsigned char>(s[i])); k++, i++)
        v = v * 10 + static_cast<unsigned>(s[i] - '0');
      put(v % 256);
    } else {
      put(static_cast<unsigned char>(e));
      i++;
    }
  }
  lua_pushlstring(L, out.data(), out.size());
  return 1;
}
