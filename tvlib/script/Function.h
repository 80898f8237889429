// Prototypes, closures and upvalues.
#pragma once

#include "tvlib/script/State.h"

namespace tvs {

TProto* NewProto(lua_State* L);
void FreeProto(lua_State* L, TProto* f);
TCClosure* NewCClosure(lua_State* L, int nelems);
TLClosure* NewLClosure(lua_State* L, int nelems, const TValue* globals);
void FreeClosure(lua_State* L, TClosure* c);
// The open upvalue for a stack slot, created when the slot has none yet.
TUpVal* FindUpval(lua_State* L, StkId level);
// Closes every open upvalue at or above level: each takes its own copy of the value.
void CloseUpvals(lua_State* L, StkId level);
// Name of the n-th (1-based) local active at pc, or null.
const char* GetLocalName(const TProto* f, int localNumber, int pc);

}  // namespace tvs
