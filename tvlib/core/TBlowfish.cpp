// The Blowfish cipher: key schedule and block encryption.
#include "tvlib/core/TBlowfish.h"

#include <cstring>
#include <utility>

namespace {

#include "tvlib/core/TBlowfishTables.inc"

uint32_t LoadBigEndian(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
         static_cast<uint32_t>(p[2]) << 8 | p[3];
}

void StoreBigEndian(unsigned char* p, uint32_t v) {
  p[0] = static_cast<unsigned char>(v >> 24);
  p[1] = static_cast<unsigned char>(v >> 16);
  p[2] = static_cast<unsigned char>(v >> 8);
  p[3] = static_cast<unsigned char>(v);
}

}  // namespace

TBlowfish::TBlowfish(const unsigned char* key, size_t length) {
  std::memcpy(mP, kPiP, sizeof mP);
  std::memcpy(mS, kPiS, sizeof mS);
  size_t k = 0;
  for (uint32_t& word : mP) {
    uint32_t cycled = 0;
    for (int i = 0; i < 4; ++i) {
      cycled = cycled << 8 | key[k];
      k = (k + 1) % length;
    }
    word ^= cycled;
  }
  uint32_t left = 0, right = 0;
  for (int i = 0; i < 18; i += 2) {
    Encrypt(&left, &right);
    mP[i] = left;
    mP[i + 1] = right;
  }
  for (auto& box : mS) {
    for (int i = 0; i < 256; i += 2) {
      Encrypt(&left, &right);
      box[i] = left;
      box[i + 1] = right;
    }
  }
}

uint32_t TBlowfish::F(uint32_t x) const {
  return ((mS[0][x >> 24] + mS[1][(x >> 16) & 0xff]) ^ mS[2][(x >> 8) & 0xff]) + mS[3][x & 0xff];
}

void TBlowfish::Encrypt(uint32_t* left, uint32_t* right) const {
  uint32_t l = *left, r = *right;
  for (int i = 0; i < 16; ++i) {
    l ^= mP[i];
    r ^= F(l);
    std::swap(l, r);
  }
  std::swap(l, r);
  r ^= mP[16];
  l ^= mP[17];
  *left = l;
  *right = r;
}

void TBlowfish::EncryptBlock(unsigned char block[8]) const {
  uint32_t l = LoadBigEndian(block), r = LoadBigEndian(block + 4);
  Encrypt(&l, &r);
  StoreBigEndian(block, l);
  StoreBigEndian(block + 4, r);
}

void TBlowfish::DecryptBlock(unsigned char block[8]) const {
  uint32_t l = LoadBigEndian(block), r = LoadBigEndian(block + 4);
  for (int i = 17; i > 1; --i) {
    l ^= mP[i];
    r ^= F(l);
    std::swap(l, r);
  }
  std::swap(l, r);
  r ^= mP[1];
  l ^= mP[0];
  StoreBigEndian(block, l);
  StoreBigEndian(block + 4, r);
}
