// The control's narrowing of page texts: no control character survives, and the narrow text
// never has more bytes than the page's UTF-8 text.
#include <cstdlib>
#include <string>

#include "webcontrol/PageText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string narrow = NarrowPageText(reinterpret_cast<const char*>(data), size);
  if (narrow.size() > size) std::abort();
  for (char c : narrow) {
    auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) std::abort();
  }
  return 0;
}
