// Tables: an array part for the keys 1..n and a hash part of nodes chained from their main
// positions. Number keys with integral values go to the array part when it covers them;
// strings and wide strings hash by their stored hash and compare by identity.
#pragma once

#include "tvlib/script/State.h"

namespace tvs {

// A table with an array part of narray slots and a hash part of 2^lnhash nodes (none for 0).
TTable* NewTable(lua_State* L, int narray, int lnhash);
void FreeTable(lua_State* L, TTable* t);

const TValue* TableGet(TTable* t, const TValue* key);
const TValue* TableGetNum(TTable* t, int key);
const TValue* TableGetStr(TTable* t, TStr* key);
// The slot for key, created (holding nil) when absent; may rehash the table. Raises
// "table index is nil" / "table index is NaN".
TValue* TableSet(lua_State* L, TTable* t, const TValue* key);
TValue* TableSetNum(lua_State* L, TTable* t, int key);
TValue* TableSetStr(lua_State* L, TTable* t, TStr* key);
// Traversal: replaces the key at `key' by the next key and pushes nothing; writes the value to
// key+1. Returns false at the end. Raises "invalid key for `next'".
bool TableNext(lua_State* L, TTable* t, StkId key);
// Sets the array and hash sizes (hash: 2^lnhash nodes, 0 for none), keeping the contents.
void TableResize(lua_State* L, TTable* t, int narray, int lnhash);
// Base-2 logarithm rounded down (x >= 1).
int CeilLog2(unsigned x);
int FloorLog2(unsigned x);

}  // namespace tvs
