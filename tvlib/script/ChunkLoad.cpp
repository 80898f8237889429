// The chunk loader. Vectors grow as their elements arrive, so a count larger than the input
// fails with "unexpected end of file" before much is allocated.
#include <cstring>
#include <string>

#include "tvlib/script/Chunk.h"
#include "tvlib/script/ChunkFormat.h"
#include "tvlib/script/Debug.h"
#include "tvlib/script/Function.h"
#include "tvlib/script/Memory.h"
#include "tvlib/script/StringTable.h"

namespace tvs {

namespace {

// Strings are read in pieces of at most this many bytes.
constexpr size_t kReadPiece = 4096;

struct LoadState {
  lua_State* L;
  Zio* z;
  bool swap;
  const char* name;
};

[[noreturn]] void Unexpected(LoadState* S) {
  RunError(S->L, "unexpected end of file in %s", S->name);
}

void LoadBlock(LoadState* S, void* b, size_t size) {
  if (ZRead(S->z, b, size) != 0) Unexpected(S);
}

// A scalar of n bytes in the writer's byte order.
void LoadScalar(LoadState* S, void* b, size_t n) {
  LoadBlock(S, b, n);
  if (S->swap) {
    uint8_t* p = static_cast<uint8_t*>(b);
    for (size_t i = 0; i < n / 2; i++) std::swap(p[i], p[n - 1 - i]);
  }
}

int LoadByte(LoadState* S) {
  const int c = ZGetc(S->z);
  if (c == kEndOfStream) Unexpected(S);
  return c;
}

template <typename T>
T LoadValue(LoadState* S) {
  T x;
  LoadScalar(S, &x, sizeof x);
  return x;
}

int32_t LoadRawInt(LoadState* S) {
  return LoadValue<int32_t>(S);
}

int LoadInt(LoadState* S) {
  const int32_t x = LoadRawInt(S);
  if (x < 0) RunError(S->L, "bad integer in %s", S->name);
  return x;
}

uint32_t LoadSize(LoadState* S) {
  return LoadValue<uint32_t>(S);
}

Number LoadNumber(LoadState* S) {
  return LoadValue<double>(S);
}

TStr* LoadString(LoadState* S) {
  const uint32_t size = LoadSize(S);
  if (size == 0) return nullptr;
  std::string text;
  for (uint32_t left = size; left > 0;) {
    const size_t piece = left < kReadPiece ? left : kReadPiece;
    const size_t at = text.size();
    text.resize(at + piece);
    LoadBlock(S, text.data() + at, piece);
    left -= static_cast<uint32_t>(piece);
  }
  return NewStr(S->L, text.data(), size - 1);
}

TStr* LoadWString(LoadState* S) {
  const uint32_t size = LoadSize(S);
  if (size == 0) return nullptr;
  std::u16string units;
  for (uint32_t i = 0; i < size; i++) units.push_back(LoadValue<char16_t>(S));
  return NewWStr(S->L, units.data(), size - 1);
}

// Reads n elements, growing the vector as they arrive.
template <typename T, typename ReadOne>
void LoadVector(LoadState* S, T*& v, int& size, int n, ReadOne readOne) {
  int count = 0;
  while (count < n) {
    const int oldsize = size;
    GrowVector(S->L, v, count, size, n, "chunk too large");
    for (int i = oldsize; i < size; i++) v[i] = T();  // the collector may see a partial vector
    v[count] = readOne();
    count++;
  }
  if (size != n) ShrinkVector(S->L, v, size, n);
}

TProto* LoadFunction(LoadState* S, TStr* psource);

void LoadConstants(LoadState* S, TProto* f) {
  const int n = LoadInt(S);
  LoadVector(S, f->k, f->sizek, n, [&] {
    TValue o;
    const int t = LoadByte(S);
    switch (t) {
      case kChunkNil:
        SetNil(&o);
        break;
      case kChunkNumber:
        SetNumber(&o, LoadNumber(S));
        break;
      case kChunkString: {
        TStr* s = LoadString(S);
        if (s == nullptr) RunError(S->L, "bad constant in %s", S->name);
        SetGc(&o, s, kTString);
        break;
      }
      case kChunkWString: {
        TStr* s = LoadWString(S);
        if (s == nullptr) RunError(S->L, "bad constant in %s", S->name);
        SetGc(&o, s, kTWString);
        break;
      }
      default:
        RunError(S->L, "bad constant type (%d) in %s", t, S->name);
    }
    return o;
  });
  const int np = LoadInt(S);
  LoadVector(S, f->p, f->sizep, np, [&] { return LoadFunction(S, f->source); });
}

TProto* LoadFunction(LoadState* S, TStr* psource) {
  lua_State* L = S->L;
  TProto* f = NewProto(L);
  f->source = LoadString(S);
  if (f->source == nullptr) f->source = psource;
  if (f->source == nullptr) f->source = NewStr(L, "=?");
  f->lineDefined = LoadInt(S);
  f->nups = static_cast<uint8_t>(LoadByte(S));
  f->numparams = static_cast<uint8_t>(LoadByte(S));
  f->isVararg = static_cast<uint8_t>(LoadByte(S));
  f->maxstacksize = static_cast<uint8_t>(LoadByte(S));
  LoadVector(S, f->lineinfo, f->sizelineinfo, LoadInt(S),
             [&] { return static_cast<int>(LoadRawInt(S)); });
  LoadVector(S, f->locvars, f->sizelocvars, LoadInt(S), [&] {
    TLocVar v;
    v.name = LoadString(S);
    if (v.name == nullptr) v.name = NewStr(L, "?");
    v.startpc = LoadInt(S);
    v.endpc = LoadInt(S);
    return v;
  });
  const int nupnames = LoadInt(S);
  if (nupnames != 0 && nupnames != f->nups)
    RunError(L, "bad nupvalues in %s: read %d; expected %d", S->name, nupnames, f->nups);
  LoadVector(S, f->upvalues, f->sizeupvalues, nupnames, [&] {
    TStr* s = LoadString(S);
    return s ? s : NewStr(L, "?");
  });
  LoadConstants(S, f);
  LoadVector(S, f->code, f->sizecode, LoadInt(S),
             [&] { return static_cast<Instruction>(LoadRawInt(S)); });
  if (!CheckCode(f)) RunError(L, "bad code in %s", S->name);
  return f;
}

void LoadHeader(LoadState* S) {
  for (uint8_t expected : kChunkSignature)
    if (LoadByte(S) != expected) RunError(S->L, "bad signature in %s", S->name);
  const int version = LoadByte(S);
  if (version > kChunkVersion)
    RunError(S->L, "%s too new: read version %d.%d; expected at most %d.%d", S->name, version >> 4,
             version & 15, kChunkVersion >> 4, kChunkVersion & 15);
  if (version < kChunkVersion)
    RunError(S->L, "%s too old: read version %d.%d; expected at least %d.%d", S->name, version >> 4,
             version & 15, kChunkVersion >> 4, kChunkVersion & 15);
  S->swap = LoadByte(S) != kChunkLittleEndian;
  for (int i = 0; i < 8; i++) {
    const int read = LoadByte(S);
    if (read != kChunkSizes[i])
      RunError(S->L, "virtual machine mismatch in %s: size of %s is %d but read %d", S->name,
               kChunkSizeNames[i], kChunkSizes[i], read);
  }
  const Number x = LoadNumber(S);
  if (!(x >= -2147483648.0 && x < 2147483648.0) || static_cast<int>(x) != kChunkTestInteger)
    RunError(S->L, "unknown number format in %s", S->name);
}

}  // namespace

TProto* LoadChunk(lua_State* L, Zio* z) {
  LoadState S;
  const char* name = z->name;
  if (*name == '@' || *name == '=')
    S.name = name + 1;
  else if (*name == kChunkSignatureByte)
    S.name = "binary string";
  else
    S.name = name;
  S.L = L;
  S.z = z;
  S.swap = false;
  LoadHeader(&S);
  TProto* f = LoadFunction(&S, nullptr);
  // The main function is closed over nothing: upvalues would read past its closure.
  if (f->nups != 0) RunError(L, "bad code in %s", S.name);
  return f;
}

}  // namespace tvs
