// Reading ZXML documents within their bounds.
#include "tvlib/core/TZxml.h"

#include <zlib.h>

#include <cstring>

#include "tvlib/core/DebugLog.h"

namespace {

uint32_t ReadU32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

bool IsZxml(const void* bytes, size_t size) {
  return bytes && size >= 4 && std::memcmp(bytes, kZxmlMagic, 4) == 0;
}

bool InflateZxml(const void* bytes, size_t size, const char* what, std::string* plain) {
  plain->clear();
  auto* p = static_cast<const unsigned char*>(bytes);
  if (!IsZxml(bytes, size) || size < kZxmlHeaderSize) {
    DebugLog("ZXML %s: the header is cut short", what);
    return false;
  }
  uint32_t packed = ReadU32(p + 4);
  uint32_t length = ReadU32(p + 8);
  if (packed > size - kZxmlHeaderSize || length > kZxmlMaxPlainLength) {
    DebugLog("ZXML %s: lengths %u and %u do not fit the document", what, packed, length);
    return false;
  }
  plain->resize(length);
  uLongf produced = length;
  int result =
      uncompress(reinterpret_cast<Bytef*>(plain->data()), &produced, p + kZxmlHeaderSize, packed);
  if (result != Z_OK) {
    DebugLog("ZXML %s: inflating failed (zlib %d)", what, result);
    plain->clear();
    return false;
  }
  plain->resize(produced);
  return true;
}
