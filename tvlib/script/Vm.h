// The virtual machine: the interpreter loop and the value operations it shares with the API
// (conversions, indexing with tag methods, comparison, concatenation).
#pragma once

#include "tvlib/script/State.h"

namespace tvs {

// The value as a number: itself, or a string or wide string converted into *n; null if none.
const TValue* ToNumber(const TValue* obj, TValue* n);
// Converts a number in place into a string ("%.14g"); false for other non-strings.
bool ToStringInPlace(lua_State* L, StkId obj);
// Converts a number in place into a wide string; false for other non-wide-strings.
bool ToWStringInPlace(lua_State* L, StkId obj);
void GetTable(lua_State* L, const TValue* t, const TValue* key, StkId val);
void SetTable(lua_State* L, const TValue* t, const TValue* key, const TValue* val);
bool EqualObj(lua_State* L, const TValue* t1, const TValue* t2);
bool LessThan(lua_State* L, const TValue* l, const TValue* r);
// Concatenates the `total' values ending at register `last' of the running frame into the
// first of them.
void Concat(lua_State* L, int total, int last);
// Runs script functions from the frame on top of the call records until `nexeccalls' frames
// entered here have returned.
void Execute(lua_State* L, int nexeccalls);
// The low 32 bits of a number truncated to a signed 64-bit integer; NaN, infinities and
// values outside that range give the "indefinite" integer -2^63, whose low bits are 0.
uint32_t NumberToBits(Number d);

}  // namespace tvs
