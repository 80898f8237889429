// Writes ZXML documents: the header and the zlib-compressed text.
#include "tools/zxml/TZxmlWriter.h"

#include <zlib.h>

#include "tvlib/core/TZxml.h"

namespace {

void AppendU32(std::string* out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out->push_back(static_cast<char>(value >> shift));
}

}  // namespace

std::string MakeZxml(std::string_view plain) {
  if (plain.size() > kZxmlMaxPlainLength) return {};
  uLongf packedSize = compressBound(plain.size());
  std::string packed(packedSize, '\0');
  if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                reinterpret_cast<const Bytef*>(plain.data()), plain.size(),
                Z_BEST_COMPRESSION) != Z_OK)
    return {};
  std::string out(kZxmlMagic, 4);
  AppendU32(&out, static_cast<uint32_t>(packedSize));
  AppendU32(&out, static_cast<uint32_t>(plain.size()));
  out.append(packed.data(), packedSize);
  return out;
}
