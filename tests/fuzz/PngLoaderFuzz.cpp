// Decodes arbitrary bytes as a PNG, in both the widened and the palettised layout.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/FuzzLog.h"
#include "tvlib/render/TImageLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SetFuzzLog("png_loader");
  for (bool palettised : {false, true}) {
    size_t at = 0;
    TDecodedImage image;
    DecodePng(MemoryByteSource(data, size, &at), palettised, nullptr, &image);
  }
  return 0;
}
