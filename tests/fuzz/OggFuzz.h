// For the Ogg fuzz targets: a custom mutator that mends each mutated page's checksum, so that
// mutations reach past the page layer into the decoder's set-up instead of being dropped as
// damaged pages, and the spooling of an opened sound.
#pragma once

#include <ogg/ogg.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "tvlib/media/TMemSpooler.h"
#include "tvlib/media/TSoundData.h"

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace tvfuzz {

// Recomputes the checksum of every page whose header and body lie within the data.
inline void FixOggChecksums(uint8_t* data, size_t size) {
  constexpr size_t kHeader = 27;
  for (size_t at = 0; at + kHeader <= size;) {
    if (std::memcmp(data + at, "OggS", 4) != 0) {
      ++at;
      continue;
    }
    const size_t segments = data[at + 26];
    if (at + kHeader + segments > size) return;
    size_t body = 0;
    for (size_t i = 0; i < segments; ++i) body += data[at + kHeader + i];
    const size_t headerLength = kHeader + segments;
    if (at + headerLength + body > size) return;
    ogg_page page;
    page.header = data + at;
    page.header_len = long(headerLength);
    page.body = data + at + headerLength;
    page.body_len = long(body);
    ogg_page_checksum_set(&page);
    at += headerLength + body;
  }
}

// A few buffer halves spooled from an opened sound, looping.
inline void SpoolSome(TSoundData* sound) {
  TMemSpooler spooler(sound);
  std::vector<uint8_t> half(16384);
  int got = 0;
  for (int i = 0; i < 8; ++i) {
    if (!spooler.Fill(int(half.size()), half.data(), &got, true)) break;
  }
}

}  // namespace tvfuzz

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize,
                                          unsigned int seed) {
  (void)seed;
  size = LLVMFuzzerMutate(data, size, maxSize);
  tvfuzz::FixOggChecksums(data, size);
  return size;
}
