// Input streams.
#include "tvlib/script/Zio.h"

#include <cstring>

namespace tvs {

void ZInit(Zio* z, lua_State* L, lua_Chunkreader reader, void* data, const char* name) {
  *z = Zio();
  z->L = L;
  z->reader = reader;
  z->data = data;
  z->name = name;
}

int ZFill(Zio* z) {
  size_t size = 0;
  const char* piece = z->reader(z->L, z->data, &size);
  if (piece == nullptr || size == 0) return kEndOfStream;
  z->n = size - 1;
  z->p = piece;
  return static_cast<unsigned char>(*z->p++);
}

int ZLookWide(Zio* z) {
  const int lo = ZGetc(z);
  if (lo == kEndOfStream) return kEndOfStream;
  const int hi = ZGetc(z);
  if (hi == kEndOfStream) {
    z->back[z->nback++] = lo;
    return kEndOfStream;
  }
  z->back[z->nback++] = hi;
  z->back[z->nback++] = lo;
  return lo | (hi << 8);
}

size_t ZRead(Zio* z, void* b, size_t n) {
  char* out = static_cast<char*>(b);
  while (n > 0 && z->nback > 0) {
    *out++ = static_cast<char>(z->back[--z->nback]);
    n--;
  }
  while (n > 0) {
    if (z->n == 0) {
      const int c = ZFill(z);
      if (c == kEndOfStream) return n;
      z->n++;  // give the byte back to the piece
      z->p--;
    }
    const size_t m = n <= z->n ? n : z->n;
    memcpy(out, z->p, m);
    z->n -= m;
    z->p += m;
    out += m;
    n -= m;
  }
  return 0;
}

}  // namespace tvs
