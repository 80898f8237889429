// Decodes arbitrary bytes as a JPEG.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/FuzzLog.h"
#include "tvlib/render/TImageLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SetFuzzLog("jpeg_loader");
  size_t at = 0;
  TDecodedImage image;
  DecodeJpeg(MemoryByteSource(data, size, &at), &image);
  return 0;
}
