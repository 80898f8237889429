// Tables. Invariant of the hash part: a key that is not in its main position was moved there
// because its main position was taken by a key that is in its own main position; so a lookup
// only walks the chain from the key's main position. Free nodes are searched downwards from
// `firstfree'; when none is left the table is rehashed and resized by counting its keys.
#include "tvlib/script/Table.h"

#include <cmath>

#include "tvlib/script/Call.h"
#include "tvlib/script/Debug.h"
#include "tvlib/script/Memory.h"

namespace tvs {

namespace {

TNode* HashPos(TTable* t, uint32_t h) {
  return &t->node[h & static_cast<uint32_t>(SizeNode(t) - 1)];
}
// Pointers and numbers hash by remainder with an odd divisor: their low bits repeat.
TNode* ModPos(TTable* t, uint64_t h) {
  return &t->node[h % static_cast<uint64_t>((SizeNode(t) - 1) | 1)];
}

TNode* MainPosition(TTable* t, const TValue* key) {
  switch (key->tt) {
    case kTNumber: {
      const Number n = key->v.n + 0.0;  // -0 and 0 hash alike
      uint64_t bits;
      memcpy(&bits, &n, sizeof bits);
      return ModPos(t, bits ^ (bits >> 32));
    }
    case kTString:
    case kTWString:
      return HashPos(t, StrValue(key)->hash);
    case kTBoolean:
      return HashPos(t, static_cast<uint32_t>(key->v.b));
    case kTLightUd:
      return ModPos(t, reinterpret_cast<uintptr_t>(key->v.p) >> 3);
    default:
      return ModPos(t, reinterpret_cast<uintptr_t>(key->v.gc) >> 3);
  }
}

// The integer in [1, sizearray] a key designates in the array part, or 0.
int ArrayIndex(const TValue* key) {
  if (key->tt != kTNumber) return 0;
  const Number n = key->v.n;
  if (!(n >= 1 && n <= (1 << kMaxArrayBits))) return 0;
  const int k = NumberToInt(n);
  return static_cast<Number>(k) == n ? k : 0;
}

void SetArrayVector(lua_State* L, TTable* t, int size) {
  ResizeVector(L, t->array, t->sizearray, size);
  for (int i = t->sizearray; i < size; i++) SetNil(&t->array[i]);
  t->sizearray = size;
}

void SetNodeVector(lua_State* L, TTable* t, int lsize) {
  if (lsize > kMaxHashBits) RunError(L, "table overflow");
  if (lsize == 0) {
    t->node = G(L)->dummynode;
    t->lsizenode = 0;
    t->firstfree = nullptr;  // the shared node is never written
    return;
  }
  const int size = 1 << lsize;
  t->node = NewVector<TNode>(L, size);
  for (int i = 0; i < size; i++) {
    SetNil(&t->node[i].key);
    SetNil(&t->node[i].val);
    t->node[i].next = nullptr;
  }
  t->lsizenode = static_cast<uint8_t>(lsize);
  t->firstfree = t->node + size;
}

bool HasNodes(const TTable* t, const GlobalState* g) {
  return t->node != g->dummynode;
}

// Counts the integer keys in slices [2^(i-1)+1, 2^i] and picks the largest power of two n
// for which more than half of 1..n are in use.
void ComputeSizes(const int nums[], int total, int* narray, int* nhash) {
  int a = 0, na = 0, best = 0;
  for (int i = 0, twotoi = 1; i <= kMaxArrayBits && twotoi / 2 < total; i++, twotoi *= 2) {
    a += nums[i];
    if (a > twotoi / 2) {
      best = twotoi;
      na = a;
    }
  }
  *narray = best;
  *nhash = total - na;
}

void CountKey(const TValue* key, int nums[], int* total, int* integers) {
  (*total)++;
  const int k = ArrayIndex(key);
  if (k) {
    nums[CeilLog2(static_cast<unsigned>(k))]++;
    (*integers)++;
  }
}

void Rehash(lua_State* L, TTable* t, const TValue* extraKey) {
  int nums[kMaxArrayBits + 1] = {};
  int total = 0, integers = 0;
  for (int i = 0; i < t->sizearray; i++) {
    if (t->array[i].tt != kTNil) {
      total++;
      integers++;
      nums[CeilLog2(static_cast<unsigned>(i + 1))]++;
    }
  }
  if (HasNodes(t, G(L))) {
    for (int i = SizeNode(t) - 1; i >= 0; i--)
      if (t->node[i].val.tt != kTNil) CountKey(&t->node[i].key, nums, &total, &integers);
  }
  CountKey(extraKey, nums, &total, &integers);
  int narray, nhash;
  ComputeSizes(nums, total, &narray, &nhash);
  TableResize(L, t, narray, nhash > 0 ? FloorLog2(static_cast<unsigned>(nhash)) + 1 : 0);
}

TNode* GetFreePos(TTable* t) {
  if (t->firstfree == nullptr) return nullptr;
  while (t->firstfree > t->node) {
    t->firstfree--;
    if (t->firstfree->key.tt == kTNil) return t->firstfree;
  }
  return nullptr;
}

// Inserts a key known to be absent; its value is left nil for the caller to write.
TValue* NewKey(lua_State* L, TTable* t, const TValue* key) {
  TNode* mp = MainPosition(t, key);
  // A node whose value is nil is free for its main position, whatever its stale key.
  if (!HasNodes(t, G(L)) || mp->val.tt != kTNil) {
    TNode* n = HasNodes(t, G(L)) ? GetFreePos(t) : nullptr;
    if (n == nullptr) {
      Rehash(L, t, key);
      return TableSet(L, t, key);
    }
    TNode* othern = MainPosition(t, &mp->key);
    if (othern != mp) {
      // The colliding key is out of its main position: move it to the free node.
      while (othern->next != mp) othern = othern->next;
      othern->next = n;
      *n = *mp;
      mp->next = nullptr;
      SetNil(&mp->val);
    } else {
      n->next = mp->next;
      mp->next = n;
      mp = n;
    }
  }
  mp->key = *key;
  SetNil(&mp->val);
  return &mp->val;
}

const TValue kNilObject = {kTNil, {nullptr}};

}  // namespace

int CeilLog2(unsigned x) {
  int l = 0;
  for (x--; x > 0; x >>= 1) l++;
  return l;
}

int FloorLog2(unsigned x) {
  int l = -1;
  for (; x > 0; x >>= 1) l++;
  return l;
}

TTable* NewTable(lua_State* L, int narray, int lnhash) {
  if (narray < 0 || narray > (1 << kMaxArrayBits) || lnhash < 0) RunError(L, "table overflow");
  TTable* t = static_cast<TTable*>(Realloc(L, nullptr, 0, sizeof(TTable)));
  GlobalState* g = G(L);
  t->tt = kTTable;
  t->marked = 0;
  t->next = g->rootgc;
  g->rootgc = t;
  const TValue* slot = &g->typeSlots[kTTable];
  t->metatable = slot->tt == kTTable ? TableValue(slot) : g->defaultMeta;
  t->flags = 0xFF;  // no tag method known present
  t->array = nullptr;
  t->sizearray = 0;
  t->lsizenode = 0;
  t->node = g->dummynode;
  t->firstfree = nullptr;
  t->gclist = nullptr;
  SetArrayVector(L, t, narray);
  SetNodeVector(L, t, lnhash);
  return t;
}

void FreeTable(lua_State* L, TTable* t) {
  if (HasNodes(t, G(L))) FreeVector(L, t->node, SizeNode(t));
  FreeVector(L, t->array, t->sizearray);
  Free(L, t, sizeof(TTable));
}

void TableResize(lua_State* L, TTable* t, int narray, int lnhash) {
  const int oldasize = t->sizearray;
  const bool hadNodes = HasNodes(t, G(L));
  const int oldhsize = hadNodes ? SizeNode(t) : 0;
  TNode* nold = t->node;
  if (narray > oldasize) SetArrayVector(L, t, narray);
  SetNodeVector(L, t, lnhash);
  if (narray < oldasize) {
    // Move the vanishing array slots into the hash part before shrinking.
    t->sizearray = narray;
    for (int i = narray; i < oldasize; i++)
      if (t->array[i].tt != kTNil) *TableSetNum(L, t, i + 1) = t->array[i];
    ResizeVector(L, t->array, oldasize, narray);
  }
  for (int i = oldhsize - 1; i >= 0; i--) {
    TNode* old = nold + i;
    if (old->val.tt != kTNil) *TableSet(L, t, &old->key) = old->val;
  }
  if (hadNodes) FreeVector(L, nold, oldhsize);
}

const TValue* TableGetNum(TTable* t, int key) {
  if (key >= 1 && key <= t->sizearray) return &t->array[key - 1];
  const Number nk = key;
  TValue k;
  SetNumber(&k, nk);
  for (TNode* n = MainPosition(t, &k); n; n = n->next)
    if (n->key.tt == kTNumber && n->key.v.n == nk) return &n->val;
  return &kNilObject;
}

const TValue* TableGetStr(TTable* t, TStr* key) {
  for (TNode* n = HashPos(t, key->hash); n; n = n->next)
    if (n->key.v.gc == key && (n->key.tt == kTString || n->key.tt == kTWString)) return &n->val;
  return &kNilObject;
}

const TValue* TableGet(TTable* t, const TValue* key) {
  switch (key->tt) {
    case kTString:
    case kTWString:
      return TableGetStr(t, StrValue(key));
    case kTNumber: {
      const Number n = key->v.n;
      if (n >= -2147483647.0 && n <= 2147483647.0) {
        const int k = NumberToInt(n);
        if (static_cast<Number>(k) == n) return TableGetNum(t, k);
      }
      [[fallthrough]];
    }
    default:
      if (key->tt == kTNil) return &kNilObject;
      for (TNode* n = MainPosition(t, key); n; n = n->next)
        if (RawEqual(&n->key, key)) return &n->val;
      return &kNilObject;
  }
}

TValue* TableSet(lua_State* L, TTable* t, const TValue* key) {
  const TValue* p = TableGet(t, key);
  t->flags = 0;
  if (p != &kNilObject) return const_cast<TValue*>(p);
  if (key->tt == kTNil) RunError(L, "table index is nil");
  if (key->tt == kTNumber && key->v.n != key->v.n) RunError(L, "table index is NaN");
  return NewKey(L, t, key);
}

TValue* TableSetNum(lua_State* L, TTable* t, int key) {
  const TValue* p = TableGetNum(t, key);
  if (p != &kNilObject) return const_cast<TValue*>(p);
  TValue k;
  SetNumber(&k, key);
  return NewKey(L, t, &k);
}

TValue* TableSetStr(lua_State* L, TTable* t, TStr* key) {
  const TValue* p = TableGetStr(t, key);
  t->flags = 0;
  if (p != &kNilObject) return const_cast<TValue*>(p);
  TValue k;
  SetGc(&k, key, key->tt);
  return NewKey(L, t, &k);
}

namespace {

// Position of a key in the traversal order: array slots first, then nodes; -1 for nil.
int FindIndex(lua_State* L, TTable* t, const TValue* key) {
  if (key->tt == kTNil) return -1;
  const int i = ArrayIndex(key);
  if (i > 0 && i <= t->sizearray) return i - 1;
  if (HasNodes(t, G(L))) {
    const TValue* v = TableGet(t, key);
    if (v != &kNilObject) {
      // The node holding the value: values sit at a fixed offset inside their node.
      const TNode* n =
          reinterpret_cast<const TNode*>(reinterpret_cast<const char*>(v) - offsetof(TNode, val));
      if (n >= t->node && n < t->node + SizeNode(t))
        return static_cast<int>(n - t->node) + t->sizearray;
    }
    // A key whose value was cleared during traversal is still in its node, possibly marked
    // dead by the collector; it is found by identity.
    for (int i = 0; i < SizeNode(t); i++) {
      const TValue* k = &t->node[i].key;
      if (RawEqual(k, key) || (k->tt == kTDeadKey && IsCollectable(key) && k->v.gc == key->v.gc))
        return i + t->sizearray;
    }
  }
  RunError(L, "invalid key for `next'");
}

}  // namespace

bool TableNext(lua_State* L, TTable* t, StkId key) {
  int i = FindIndex(L, t, key) + 1;
  for (; i < t->sizearray; i++) {
    if (t->array[i].tt != kTNil) {
      SetNumber(key, i + 1);
      key[1] = t->array[i];
      return true;
    }
  }
  if (HasNodes(t, G(L))) {
    for (i -= t->sizearray; i < SizeNode(t); i++) {
      if (t->node[i].val.tt != kTNil) {
        key[0] = t->node[i].key;
        key[1] = t->node[i].val;
        return true;
      }
    }
  }
  return false;
}

}  // namespace tvs
