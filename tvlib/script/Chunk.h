// Precompiled chunks: the binary form of a prototype. The writer always writes little-endian;
// the loader also reads chunks whose scalars are byte-reversed. Chunks come from outside
// (loose files, `loadstring'), so the loader trusts no count: every read is checked against
// the bytes really there, and each function passes the verifier.
#pragma once

#include "tvlib/script/Api.h"
#include "tvlib/script/State.h"
#include "tvlib/script/Zio.h"

// Receives a piece of a dumped chunk; the result is ignored.
using lua_Chunkwriter = int (*)(lua_State* L, const void* p, size_t size, void* ud);

namespace tvs {

// First byte of every precompiled chunk.
constexpr int kChunkSignatureByte = LUA_SIGNATURE_BYTE;

// Loads a chunk from z (its first byte included); errors are raised as run-time errors.
TProto* LoadChunk(lua_State* L, Zio* z);
void DumpChunk(lua_State* L, const TProto* f, lua_Chunkwriter w, void* data);

}  // namespace tvs
