// Reads arbitrary bytes as a RIFF palette.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tvlib/render/TRiffPalette.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<TRiffColour> colours;
  ParseRiffPalette(data, size, &colours);
  return 0;
}
