// Reading RIFF palette files within their bounds.
#include "tvlib/render/TRiffPalette.h"

#include <algorithm>
#include <cstring>

#include "tvlib/core/TFile.h"

namespace {

constexpr uint32_t kMaxEntries = 256;
constexpr int kEntryBytes = 4;
// "RIFF", size, form type, chunk type, chunk size, version and count.
constexpr int kHeaderBytes = 24;

uint32_t Le32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24);
}

}  // namespace

bool ParseRiffPalette(const uint8_t* bytes, size_t length, std::vector<TRiffColour>* out) {
  out->clear();
  if (length < kHeaderBytes || std::memcmp(bytes, "RIFF", 4) != 0) return false;
  uint32_t chunkSize = Le32(bytes + 16);
  uint32_t count = chunkSize >= 4 ? std::min((chunkSize - 4) / 4, kMaxEntries) : 0;
  count = std::min<size_t>(count, (length - kHeaderBytes) / kEntryBytes);
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* entry = bytes + kHeaderBytes + i * kEntryBytes;
    out->push_back(TRiffColour{entry[0], entry[1], entry[2]});
  }
  return true;
}

bool ReadRiffPalette(TFile& file, std::vector<TRiffColour>* out) {
  // Nothing past the largest palette is ever read.
  std::vector<uint8_t> bytes(kHeaderBytes + kMaxEntries * kEntryBytes);
  int got = file.Read(bytes.data(), static_cast<int>(bytes.size()));
  return ParseRiffPalette(bytes.data(), got > 0 ? static_cast<size_t>(got) : 0, out);
}
