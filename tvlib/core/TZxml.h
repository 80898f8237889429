// ZXML: an XML text compressed with zlib behind a 12-byte header ("ZXML", the compressed
// length, the plain length; little-endian unsigned 32-bit).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

inline constexpr char kZxmlMagic[] = "ZXML";
inline constexpr size_t kZxmlHeaderSize = 12;
// No document of the game comes near this; a header claiming more is refused before any
// memory is taken for it.
inline constexpr uint32_t kZxmlMaxPlainLength = 32u << 20;

// True when the bytes begin with the ZXML magic.
bool IsZxml(const void* bytes, size_t size);

// Inflates a ZXML document into `plain` (exactly the bytes zlib produced). False, with a log
// line naming `what`, when the header does not fit the bytes, the plain length is over the
// cap, or zlib fails.
bool InflateZxml(const void* bytes, size_t size, const char* what, std::string* plain);
