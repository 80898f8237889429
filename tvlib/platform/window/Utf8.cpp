// The strict UTF-8 decoder.
#include "tvlib/platform/window/Utf8.h"

std::vector<uint32_t> DecodeUtf8(const char* text, size_t size) {
  std::vector<uint32_t> out;
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  size_t i = 0;
  while (i < size) {
    uint32_t c = p[i];
    int more = c < 0x80             ? 0
               : (c & 0xE0) == 0xC0 ? 1
               : (c & 0xF0) == 0xE0 ? 2
               : (c & 0xF8) == 0xF0 ? 3
                                    : -1;
    if (more < 0 || size - i <= static_cast<size_t>(more)) {
      ++i;  // a byte that starts nothing, or a sequence cut short
      continue;
    }
    c &= 0x7Fu >> more;  // the lead byte's payload bits
    bool ok = true;
    for (int k = 1; k <= more; ++k) {
      uint32_t next = p[i + k];
      if ((next & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      c = (c << 6) | (next & 0x3F);
    }
    static constexpr uint32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (!ok || c < kSmallest[more] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
      ++i;
      continue;
    }
    out.push_back(c);
    i += static_cast<size_t>(more) + 1;
  }
  return out;
}
