// The credits file into columns: any bytes give three columns with the same number of lines,
// and no column line is longer than a file line's piece once its brackets are tags.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "game/frontend/CreditsText.h"

namespace {

size_t Lines(const TString& text) {
  size_t lines = 0;
  for (char c : std::string_view(text.c_str(), static_cast<size_t>(text.Length()))) {
    lines += c == '\n';
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const TCreditsColumns columns =
      ParseCredits(reinterpret_cast<const char*>(data), size, "7d4e7aff");
  const size_t lines = Lines(columns.headings);
  if (Lines(columns.left) != lines || Lines(columns.right) != lines) std::abort();
  if (lines > size) std::abort();
  return 0;
}
