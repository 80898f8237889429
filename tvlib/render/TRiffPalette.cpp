// Reading RIFF palette files within their bounds.
#include "tvlib/render/TRiffPalette.h"

#include <algorithm>
#include <cstring>

#include "tvlib/core/TFile.h"

namespace {

constexpr uint32_t kMaxEntries = 256;
// "RIFF", size, form type, chunk type, chunk size, version and count.
constexpr int kHeaderBytes = 24;

uint32_t Le32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24);
}

}  // namespace

bool ReadRiffPalette(TFile& file, std::vector<TRiffColour>* out) {
  out->clear();
  uint8_t header[kHeaderBytes];
  if (file.Read(header, kHeaderBytes) != kHeaderBytes) return false;
  if (std::memcmp(header, "RIFF", 4) != 0) return false;
  uint32_t chunkSize = Le32(header + 16);
  uint32_t count = chunkSize >= 4 ? std::min((chunkSize - 4) / 4, kMaxEntries) : 0;
  for (uint32_t i = 0; i < count; ++i) {
    uint8_t entry[4];
    if (file.Read(entry, 4) != 4) break;
    out->push_back(TRiffColour{entry[0], entry[1], entry[2]});
  }
  return true;
}
