// The Blowfish block cipher: 64-bit blocks, 16 rounds, the published key schedule over
// initial values taken from the digits of pi. A block is two 32-bit words read big-endian,
// left word first.
#pragma once

#include <cstddef>
#include <cstdint>

class TBlowfish {
 public:
  // `key` must hold at least one byte; it is cycled over the 18 words of the P-array.
  TBlowfish(const unsigned char* key, size_t length);
  void EncryptBlock(unsigned char block[8]) const;
  void DecryptBlock(unsigned char block[8]) const;

 private:
  uint32_t F(uint32_t x) const;
  void Encrypt(uint32_t* left, uint32_t* right) const;

  uint32_t mP[18];
  uint32_t mS[4][256];
};
