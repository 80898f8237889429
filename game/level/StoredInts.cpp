// The byte order of stored integer rows: little-endian whatever the machine's.
#include "game/level/StoredInts.h"

#include <vector>

#include "tvlib/core/TPrefs.h"

namespace {

std::vector<uint8_t> ToBytes(const int32_t* values, int count) {
  std::vector<uint8_t> bytes(static_cast<size_t>(count) * 4);
  for (int i = 0; i < count; ++i) {
    const auto v = static_cast<uint32_t>(values[i]);
    for (int b = 0; b < 4; ++b) bytes[static_cast<size_t>(i * 4 + b)] = (v >> (8 * b)) & 0xFF;
  }
  return bytes;
}

}  // namespace

void StoreInts(TPrefs& prefs, const TString& key, const int32_t* values, int count, int player) {
  const std::vector<uint8_t> bytes = ToBytes(values, count);
  prefs.SetBinary(key, bytes.data(), static_cast<int>(bytes.size()), player, true);
}

bool LoadInts(TPrefs& prefs, const TString& key, int32_t* values, int count, int player) {
  std::vector<uint8_t> bytes = ToBytes(values, count);
  if (prefs.GetBinary(key, bytes.data(), static_cast<int>(bytes.size()), player) != 0) return false;
  for (int i = 0; i < count; ++i) {
    uint32_t v = 0;
    for (int b = 0; b < 4; ++b)
      v |= static_cast<uint32_t>(bytes[static_cast<size_t>(i * 4 + b)]) << (8 * b);
    values[i] = static_cast<int32_t>(v);
  }
  return true;
}
