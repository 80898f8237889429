// The interning table: chained buckets of narrow (tag 4) and wide (tag 9) strings, grown by
// doubling. A lookup matches tag, length and contents; rehashing reuses the stored hashes.
#include "tvlib/script/StringTable.h"

#include "tvlib/script/Call.h"
#include "tvlib/script/Debug.h"
#include "tvlib/script/Memory.h"

namespace tvs {

// The table stops doubling at this bucket count (keeps the count within a signed int).
constexpr int kMaxStrTableSize = 1073741822;

uint32_t HashBytes(const char* s, size_t len) {
  uint32_t h = static_cast<uint32_t>(len);
  const size_t step = (len >> 5) + 1;
  for (size_t l = len; l >= step; l -= step)
    h ^= (h << 5) + (h >> 2) + static_cast<unsigned char>(s[l - 1]);
  return h;
}

uint32_t HashUnits(const char16_t* s, size_t len) {
  uint32_t h = static_cast<uint32_t>(len);
  const size_t step = (len >> 5) + 1;
  for (size_t l = len; l >= step; l -= step) h ^= (h << 5) + (h >> 2) + s[l - 1];
  return h;
}

size_t StrSize(const TStr* s) {
  return sizeof(TStr) + (s->IsWide() ? 2 * (static_cast<size_t>(s->len) + 1) : s->len + 1);
}

void FreeStr(lua_State* L, TStr* s) {
  G(L)->strt.nuse--;
  Free(L, s, StrSize(s));
}

void ResizeStrings(lua_State* L, int newsize) {
  StringTable& tb = G(L)->strt;
  TStr** newhash = NewVector<TStr*>(L, newsize);
  for (int i = 0; i < newsize; i++) newhash[i] = nullptr;
  for (int i = 0; i < tb.size; i++) {
    GcObject* p = tb.hash[i];
    while (p) {
      GcObject* next = p->next;
      const uint32_t h1 = static_cast<TStr*>(p)->hash & static_cast<uint32_t>(newsize - 1);
      p->next = newhash[h1];
      newhash[h1] = static_cast<TStr*>(p);
      p = next;
    }
  }
  FreeVector(L, tb.hash, tb.size);
  tb.size = newsize;
  tb.hash = newhash;
}

namespace {

TStr* Intern(lua_State* L, const void* data, size_t len, int tt, uint32_t h) {
  StringTable& tb = G(L)->strt;
  const size_t bytes = tt == kTWString ? 2 * len : len;
  for (GcObject* o = tb.hash[h & static_cast<uint32_t>(tb.size - 1)]; o; o = o->next) {
    TStr* ts = static_cast<TStr*>(o);
    if (ts->tt == tt && ts->len == len && memcmp(ts->Data(), data, bytes) == 0) return ts;
  }
  if (len > kMaxStringSize) RunError(L, "string size overflow");
  const size_t total = sizeof(TStr) + bytes + (tt == kTWString ? 2 : 1);
  TStr* ts = static_cast<TStr*>(Realloc(L, nullptr, 0, total));
  ts->tt = static_cast<uint8_t>(tt);
  ts->marked = 0;
  ts->reserved = 0;
  ts->fixed = 0;
  ts->hash = h;
  ts->len = static_cast<uint32_t>(len);
  if (bytes) memcpy(ts->Data(), data, bytes);
  if (tt == kTWString)
    ts->WData()[len] = 0;
  else
    ts->Data()[len] = '\0';
  const uint32_t bucket = h & static_cast<uint32_t>(tb.size - 1);
  ts->next = tb.hash[bucket];
  tb.hash[bucket] = ts;
  tb.nuse++;
  if (tb.nuse > static_cast<uint32_t>(tb.size) && tb.size <= kMaxStrTableSize / 2)
    ResizeStrings(L, tb.size * 2);
  return ts;
}

}  // namespace

TStr* NewStr(lua_State* L, const char* s, size_t len) {
  return Intern(L, s, len, kTString, HashBytes(s, len));
}

TStr* NewWStr(lua_State* L, const char16_t* s, size_t len) {
  return Intern(L, s, len, kTWString, HashUnits(s, len));
}

size_t UdataSize(const TUdata* u) {
  return sizeof(TUdata) + (u->len & ~size_t{1});
}

TUdata* NewUdata(lua_State* L, size_t size) {
  if (size >= kMaxBlockSize) RunError(L, "memory allocation error: block too big");
  const size_t even = (size + 1) & ~size_t{1};
  TUdata* u = static_cast<TUdata*>(Realloc(L, nullptr, 0, sizeof(TUdata) + even));
  u->tt = kTUserdata;
  u->marked = 0;
  u->len = even;
  const TValue* slot = &G(L)->typeSlots[kTUserdata];
  u->metatable = slot->tt == kTTable ? TableValue(slot) : nullptr;
  u->next = G(L)->rootudata;
  G(L)->rootudata = u;
  return u;
}

}  // namespace tvs

#include <cstdio>
#include <string>

namespace tvs {

const char* PushVFString(lua_State* L, const char* fmt, va_list args) {
  std::string out;
  for (const char* p = fmt; *p; p++) {
    if (*p != '%' || p[1] == '\0') {
      out += *p;
      continue;
    }
    char buf[64];
    switch (*++p) {
      case 's': {
        const char* s = va_arg(args, const char*);
        out += s ? s : "(null)";
        break;
      }
      case 'd':
        out += std::to_string(va_arg(args, int));
        break;
      case 'c':
        out += static_cast<char>(va_arg(args, int));
        break;
      case 'f': {
        const int n = FormatNumber(va_arg(args, double), buf);
        out.append(buf, static_cast<size_t>(n));
        break;
      }
      case 'p': {
        const int n = std::snprintf(buf, sizeof buf, "%p", va_arg(args, void*));
        out.append(buf, static_cast<size_t>(n));
        break;
      }
      default:
        out += *p;
        break;  // "%%" and unknown options give the character
    }
  }
  TStr* s = NewStr(L, out.data(), out.size());
  SetGc(L->top, s, kTString);
  IncrTop(L);
  return s->Data();
}

const char* PushFString(lua_State* L, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  const char* s = PushVFString(L, fmt, args);
  va_end(args);
  return s;
}

}  // namespace tvs
