// The asset package format's header and directory records.
#include "tvlib/core/TPackageFormat.h"

#include <cstring>

#include "tvlib/core/DebugLog.h"

namespace {

// Bad entries logged one by one; the rest are only counted, so a package of a million bad
// entries costs one log line more, not a million.
constexpr uint32_t kBadEntriesLogged = 8;

uint32_t ReadU32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

bool ReadPackageDirectory(const unsigned char* bytes, size_t size, const char* path,
                          std::vector<TPackageEntry>* entries) {
  entries->clear();
  if (!bytes || size < kPackageHeaderSize || std::memcmp(bytes, kPackageMagic, 4) != 0) {
    DebugLog("Not an asset package: %s", path);
    return false;
  }
  uint32_t count = ReadU32(bytes + 4);
  size_t position = kPackageHeaderSize;
  uint32_t bad = 0;
  for (uint32_t i = 0; i < count; ++i) {
    size_t nameLength = position < size ? bytes[position] : 0;
    if (position >= size || size - position < 1 + nameLength + 8) {
      DebugLog("Package %s: the directory ends after %u of its %u entries", path, i, count);
      break;
    }
    const char* name = reinterpret_cast<const char*>(bytes + position + 1);
    uint32_t offset = ReadU32(bytes + position + 1 + nameLength);
    uint32_t length = ReadU32(bytes + position + 5 + nameLength);
    position += 1 + nameLength + 8;
    if (nameLength == 0 || std::memchr(name, 0, nameLength)) {
      if (++bad <= kBadEntriesLogged) DebugLog("Package %s: entry %u has no usable name", path, i);
      continue;
    }
    if (offset > kPackageMaxSize || length > kPackageMaxSize ||
        static_cast<uint64_t>(offset) + length > size) {
      if (++bad <= kBadEntriesLogged)
        DebugLog("Package %s: entry %.*s lies outside the file", path, static_cast<int>(nameLength),
                 name);
      continue;
    }
    entries->push_back({std::string_view(name, nameLength), offset, length});
  }
  if (bad > kBadEntriesLogged)
    DebugLog("Package %s: %u bad entries skipped in all, %u of them not logged", path, bad,
             bad - kBadEntriesLogged);
  return true;
}
