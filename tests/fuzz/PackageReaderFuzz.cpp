// Feeds arbitrary bytes to the asset package directory reader and reads every entry it
// accepts, so any entry that reaches outside the package is caught by the sanitizer.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tests/fuzz/FuzzLog.h"
#include "tvlib/core/TPackageFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SetFuzzLog("package_reader");
  // An exact-size copy, so a read one byte past the package is reported.
  std::vector<unsigned char> bytes(data, data + size);
  std::vector<TPackageEntry> entries;
  ReadPackageDirectory(bytes.data(), bytes.size(), "fuzz", &entries);
  unsigned sum = 0;
  for (const TPackageEntry& entry : entries) {
    for (char c : entry.name) sum += static_cast<unsigned char>(c);
    for (uint32_t i = 0; i < entry.size; ++i) sum += bytes[entry.offset + i];
  }
  static volatile unsigned sink;
  sink = sum;
  return 0;
}
