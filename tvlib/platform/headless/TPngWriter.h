// Writes an ARGB image as an 8-bit RGBA PNG file (libpng), for frames saved by tests and tools.
#pragma once

#include <cstdint>

namespace sd {

// False when the path cannot be written, the image is empty, or libpng reports an error.
bool WriteArgbPng(const char* path, const uint32_t* argb, int32_t width, int32_t height,
                  int32_t pitchPixels);

}  // namespace sd
