// Decodes arbitrary bytes as a PNG, in both the widened and the palettised layout.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "tests/fuzz/FuzzLog.h"
#include "tvlib/render/TImageLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SetFuzzLog("png_loader");
  for (bool palettised : {false, true}) {
    size_t at = 0;
    TByteSource source = [&](void* buffer, int count) {
      size_t n = std::min(size - at, static_cast<size_t>(count));
      std::memcpy(buffer, data + at, n);
      at += n;
      return static_cast<int>(n);
    };
    TDecodedImage image;
    DecodePng(source, palettised, nullptr, &image);
  }
  return 0;
}
