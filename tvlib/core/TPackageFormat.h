// The asset package format ".tvp", shared by the reader and the packer.
//
// Layout (little-endian, unsigned 32-bit unless said): "TVPK"; entry count; the entries back
// to back (a 1-byte name length, the name, offset from the start of the file, size); then
// the entries' bytes. Names are relative paths with "/" separators, 1 to 255 bytes, no NUL.
// Offsets and sizes travel as signed 32-bit values in package handles, so a whole package
// stays below 2 GB.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

inline constexpr char kPackageMagic[] = "TVPK";
inline constexpr size_t kPackageHeaderSize = 8;          // magic and count
inline constexpr size_t kPackageEntryFixedSize = 9;      // name length, offset, size
inline constexpr size_t kPackageMaxNameLength = 255;     // must fit the length byte
inline constexpr uint64_t kPackageMaxSize = 0x7fffffff;  // offsets are read as signed 32-bit

struct TPackageEntry {
  std::string_view name;  // points into the package bytes
  uint32_t offset;
  uint32_t size;
};

// Reads the directory of a package held in `bytes`. Entries whose name or bytes lie outside
// the package are skipped, a directory cut short ends the list, and each fault is logged
// with `path`; nothing outside `bytes` is read. False (and no entries) when the magic is
// wrong.
bool ReadPackageDirectory(const unsigned char* bytes, size_t size, const char* path,
                          std::vector<TPackageEntry>* entries);
