// Narrowing the page's texts.
#include "webcontrol/PageText.h"

#include <cstdint>

namespace {

// The code point of the UTF-8 sequence at `at`, and its length in `used`; -1 for a byte that
// starts no valid sequence (overlong forms, surrogates and values past U+10FFFF included).
int32_t ReadCodePoint(const unsigned char* text, size_t length, size_t at, size_t* used) {
  unsigned lead = text[at];
  *used = 1;
  if (lead < 0x80) return static_cast<int32_t>(lead);
  size_t tail = lead >= 0xF0 && lead < 0xF8 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
  if (tail == 0 || lead >= 0xF8 || length - at <= tail) return -1;
  uint32_t code = lead & (0x3Fu >> tail);
  for (size_t k = 1; k <= tail; ++k) {
    if ((text[at + k] & 0xC0) != 0x80) return -1;
    code = (code << 6) | (text[at + k] & 0x3Fu);
  }
  static constexpr uint32_t kShortest[] = {0, 0x80, 0x800, 0x10000};
  if (code < kShortest[tail] || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000)) return -1;
  *used = tail + 1;
  return static_cast<int32_t>(code);
}

bool IsControlCharacter(unsigned char c) {
  return c < 0x20 || c == 0x7F;
}

}  // namespace

std::string NarrowPageText(const char* utf8, size_t length) {
  const auto* text = reinterpret_cast<const unsigned char*>(utf8);
  std::string narrow;
  size_t units = 0;
  auto add = [&](uint32_t unit) {
    ++units;
    auto c = static_cast<unsigned char>(unit & 0xFF);
    if (!IsControlCharacter(c)) narrow.push_back(static_cast<char>(c));
  };
  for (size_t at = 0, used = 0; at < length; at += used) {
    int32_t code = ReadCodePoint(text, length, at, &used);
    if (code < 0) continue;
    if (code < 0x10000) {
      add(static_cast<uint32_t>(code));
    } else {  // a surrogate pair
      add(0xD800 + ((static_cast<uint32_t>(code) - 0x10000) >> 10));
      add(0xDC00 + ((static_cast<uint32_t>(code) - 0x10000) & 0x3FF));
    }
    if (units >= kPageTextMaxUnits) return {};
  }
  return narrow;
}
