// The chunk writer: little-endian scalars of the stored sizes, whatever the machine's types.
#include <cstring>

#include "tvlib/script/Chunk.h"
#include "tvlib/script/ChunkFormat.h"

namespace tvs {

namespace {

struct DumpState {
  lua_State* L;
  lua_Chunkwriter writer;
  void* data;
};

void DumpBlock(DumpState* D, const void* b, size_t size) {
  D->writer(D->L, b, size, D->data);
}

void DumpByte(DumpState* D, int x) {
  const uint8_t b = static_cast<uint8_t>(x);
  DumpBlock(D, &b, 1);
}

void DumpU32(DumpState* D, uint32_t x) {
  const uint8_t b[4] = {static_cast<uint8_t>(x), static_cast<uint8_t>(x >> 8),
                        static_cast<uint8_t>(x >> 16), static_cast<uint8_t>(x >> 24)};
  DumpBlock(D, b, sizeof b);
}

void DumpInt(DumpState* D, int x) {
  DumpU32(D, static_cast<uint32_t>(x));
}

void DumpNumber(DumpState* D, Number x) {
  uint64_t bits;
  memcpy(&bits, &x, sizeof bits);
  DumpU32(D, static_cast<uint32_t>(bits));
  DumpU32(D, static_cast<uint32_t>(bits >> 32));
}

void DumpString(DumpState* D, const TStr* s) {
  if (s == nullptr) {
    DumpU32(D, 0);
    return;
  }
  DumpU32(D, s->len + 1);
  DumpBlock(D, s->Data(), s->len + 1);
}

void DumpWString(DumpState* D, const TStr* s) {
  DumpU32(D, s->len + 1);
  for (uint32_t i = 0; i <= s->len; i++) {
    const char16_t u = s->WData()[i];
    const uint8_t b[2] = {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8)};
    DumpBlock(D, b, 2);
  }
}

void DumpFunction(DumpState* D, const TProto* f, const TStr* psource) {
  DumpString(D, f->source == psource ? nullptr : f->source);
  DumpInt(D, f->lineDefined);
  DumpByte(D, f->nups);
  DumpByte(D, f->numparams);
  DumpByte(D, f->isVararg);
  DumpByte(D, f->maxstacksize);
  DumpInt(D, f->sizelineinfo);
  for (int i = 0; i < f->sizelineinfo; i++) DumpInt(D, f->lineinfo[i]);
  DumpInt(D, f->sizelocvars);
  for (int i = 0; i < f->sizelocvars; i++) {
    DumpString(D, f->locvars[i].name);
    DumpInt(D, f->locvars[i].startpc);
    DumpInt(D, f->locvars[i].endpc);
  }
  DumpInt(D, f->sizeupvalues);
  for (int i = 0; i < f->sizeupvalues; i++) DumpString(D, f->upvalues[i]);
  DumpInt(D, f->sizek);
  for (int i = 0; i < f->sizek; i++) {
    const TValue* o = &f->k[i];
    switch (o->tt) {
      case kTNumber:
        DumpByte(D, kChunkNumber);
        DumpNumber(D, o->v.n);
        break;
      case kTString:
        DumpByte(D, kChunkString);
        DumpString(D, StrValue(o));
        break;
      case kTWString:
        DumpByte(D, kChunkWString);
        DumpWString(D, StrValue(o));
        break;
      default:
        DumpByte(D, kChunkNil);
        break;
    }
  }
  DumpInt(D, f->sizep);
  for (int i = 0; i < f->sizep; i++) DumpFunction(D, f->p[i], f->source);
  DumpInt(D, f->sizecode);
  for (int i = 0; i < f->sizecode; i++) DumpU32(D, f->code[i]);
}

}  // namespace

void DumpChunk(lua_State* L, const TProto* f, lua_Chunkwriter w, void* data) {
  DumpState D{L, w, data};
  DumpBlock(&D, kChunkSignature, sizeof kChunkSignature);
  DumpByte(&D, kChunkVersion);
  DumpByte(&D, kChunkLittleEndian);
  DumpBlock(&D, kChunkSizes, sizeof kChunkSizes);
  DumpNumber(&D, kChunkTestNumber);
  DumpFunction(&D, f, nullptr);
}

}  // namespace tvs
