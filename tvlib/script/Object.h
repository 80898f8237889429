// The script runtime's objects: tagged values and every collectable kind (strings and wide
// strings, tables, closures, prototypes, upvalues, userdata). Needs nothing but the limits.
// Values are 16 bytes on 64-bit Linux (tag, payload); every collectable object starts with the
// common header that links it into the collector's lists.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "tvlib/script/Limits.h"

struct lua_State;
using lua_CFunction = int (*)(lua_State* L);

namespace tvs {

// Value tags: stored in every value, printed by `type' through kTypeNames.
enum : int {
  kTNil = 0,
  kTBoolean = 1,
  kTLightUd = 2,
  kTNumber = 3,
  kTString = 4,
  kTTable = 5,
  kTFunction = 6,
  kTUserdata = 7,
  kTThread = 8,
  kTWString = 9,
  kTProto = 10,
  kTUpval = 11,
  // Key of a table node whose value was nil when the collector ran: its object may be gone,
  // so it only serves as a position for `next'.
  kTDeadKey = 12,
};
// Mark bits of collectable objects.
constexpr uint8_t kMarkedBit = 1;
constexpr uint8_t kFinalizedBit = 2;  // userdata whose __gc has been scheduled
// Per-type slots of the global state: one for each tag 0-10.
constexpr int kTypeSlots = 11;
extern const char* const kTypeNames[12];

struct GcObject {
  GcObject* next;
  uint8_t tt;
  uint8_t marked;
};

struct TValue {
  int tt;
  union {
    GcObject* gc;
    void* p;
    Number n;
    int b;
  } v;
};
using StkId = TValue*;

inline bool IsCollectable(const TValue* o) {
  return o->tt >= kTString && o->tt != kTLightUd;
}
inline bool IsFalse(const TValue* o) {
  return o->tt == kTNil || (o->tt == kTBoolean && o->v.b == 0);
}

inline void SetNil(TValue* o) {
  o->tt = kTNil;
}
inline void SetNumber(TValue* o, Number n) {
  o->tt = kTNumber;
  o->v.n = n;
}
inline void SetBool(TValue* o, bool b) {
  o->tt = kTBoolean;
  o->v.b = b ? 1 : 0;
}
inline void SetLightUd(TValue* o, void* p) {
  o->tt = kTLightUd;
  o->v.p = p;
}
inline void SetGc(TValue* o, GcObject* g, int tt) {
  o->tt = tt;
  o->v.gc = g;
}

// Interned string, narrow (tag 4, bytes) or wide (tag 9, 16-bit units). The text follows the
// header and ends with a zero byte or a zero unit that is not part of the length.
struct TStr : GcObject {
  uint8_t reserved;  // index of a reserved word (1-22), 0 otherwise
  uint8_t fixed;     // never collected (reserved words, tag-method names, the memory message)
  uint32_t hash;
  uint32_t len;  // bytes or units
  char* Data() { return reinterpret_cast<char*>(this + 1); }
  const char* Data() const { return reinterpret_cast<const char*>(this + 1); }
  char16_t* WData() { return reinterpret_cast<char16_t*>(this + 1); }
  const char16_t* WData() const { return reinterpret_cast<const char16_t*>(this + 1); }
  bool IsWide() const { return tt == kTWString; }
};
static_assert(sizeof(TStr) % alignof(char16_t) == 0);

struct TTable;

// Full userdata: the length is even; bit 0 marks a boxed pointer (set by the API).
struct TUdata : GcObject {
  TTable* metatable;
  size_t len;
  void* Data() { return reinterpret_cast<void*>(this + 1); }
};

struct TLocVar {
  TStr* name;
  int startpc;  // first instruction where the variable is active
  int endpc;    // first instruction where it is dead
};

struct TProto : GcObject {
  TValue* k = nullptr;
  Instruction* code = nullptr;
  TProto** p = nullptr;
  int* lineinfo = nullptr;
  TLocVar* locvars = nullptr;
  TStr** upvalues = nullptr;
  TStr* source = nullptr;
  int sizeupvalues = 0;
  int sizek = 0;
  int sizecode = 0;
  int sizelineinfo = 0;
  int sizep = 0;
  int sizelocvars = 0;
  int lineDefined = 0;
  GcObject* gclist = nullptr;
  uint8_t nups = 0;
  uint8_t numparams = 0;
  uint8_t isVararg = 0;
  uint8_t maxstacksize = 0;
};

// An upvalue is open while `v' points into a stack (it is then linked in the thread's open
// list, sorted by level, highest first) and closed once `v' points to its own `value'.
struct TUpVal : GcObject {
  TValue* v;
  TValue value;
};

struct TClosure : GcObject {
  uint8_t isC;
  uint8_t nupvalues;
  GcObject* gclist;
  TValue g;  // the function's globals table
};
struct TCClosure : TClosure {
  lua_CFunction f;
  TValue upvalue[1];
};
struct TLClosure : TClosure {
  TProto* p;
  TUpVal* upvals[1];
};
inline size_t SizeCClosure(int n) {
  return sizeof(TCClosure) + sizeof(TValue) * (n > 0 ? n - 1 : 0);
}
inline size_t SizeLClosure(int n) {
  return sizeof(TLClosure) + sizeof(TUpVal*) * (n > 0 ? n - 1 : 0);
}

struct TNode {
  TValue key;
  TValue val;
  TNode* next;  // chain of colliding nodes
};

struct TTable : GcObject {
  uint8_t flags;      // bit e set: tag method e (first five events) known to be absent
  uint8_t lsizenode;  // log2 of the node count
  TTable* metatable;
  TValue* array;
  TNode* node;
  TNode* firstfree;  // every free node lies below this
  GcObject* gclist;
  int sizearray;
};
inline int SizeNode(const TTable* t) {
  return 1 << t->lsizenode;
}

// Typed views of a value's payload.
inline TStr* StrValue(const TValue* o) {
  return static_cast<TStr*>(o->v.gc);
}
inline TTable* TableValue(const TValue* o) {
  return static_cast<TTable*>(o->v.gc);
}
inline TClosure* ClosureValue(const TValue* o) {
  return static_cast<TClosure*>(o->v.gc);
}
inline TUdata* UdataValue(const TValue* o) {
  return static_cast<TUdata*>(o->v.gc);
}
inline lua_State* ThreadValue(const TValue* o) {
  return reinterpret_cast<lua_State*>(o->v.gc);
}
inline bool IsStringLike(const TValue* o) {
  return o->tt == kTString || o->tt == kTWString;
}

// Raw equality: same tag and same value (strings are interned, so identity suffices).
bool RawEqual(const TValue* a, const TValue* b);

// Number conversions. StrToNumber is the decimal scanner of narrow text (C locale, no
// hexadecimal, "inf" or "nan"; only white space may follow). WStrToNumber is the wide scan.
bool StrToNumber(const char* s, size_t len, Number* result);
bool WStrToNumber(const char16_t* s, size_t len, Number* result);
// Formats a number as "%.14g" into buf (at least 32 bytes); returns the length.
int FormatNumber(Number n, char* buf);
// Builds the chunk identifier for messages from a source name (at most bufsize - 1 chars).
void ChunkId(char* out, const char* source, size_t bufsize);

}  // namespace tvs
