// Drawn frames against committed reference images: counting the pixels that differ from a
// reference PNG, and writing a frame out as a PNG for looking at. A frame is read through a
// function giving its pixel at (x, y) as 0xRRGGBB (any higher byte is ignored), so presented
// images and back buffers are compared the same way.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "tests/render/TestImages.h"
#include "tvlib/render/TImageLoader.h"

using TFramePixel = std::function<uint32_t(int x, int y)>;

// Pixels whose red, green or blue differs by more than `tolerance` from the reference PNG;
// -1 when the reference does not load or is not width x height.
inline int CountDifferingPixels(const std::string& reference, int width, int height, int tolerance,
                                const TFramePixel& shown) {
  std::ifstream file(reference, std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), {});
  size_t at = 0;
  TDecodedImage expected;
  if (!DecodePng(MemoryByteSource(bytes.data(), bytes.size(), &at), false, nullptr, &expected) ||
      expected.width != width || expected.height != height)
    return -1;
  int differing = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      // The decoded pixels are bytes blue, green, red, alpha.
      const uint8_t* p = &expected.pixels[static_cast<size_t>((y * expected.side + x) * 4)];
      const uint32_t pixel = shown(x, y);
      const bool off = std::abs(p[2] - static_cast<int>(pixel >> 16 & 0xFF)) > tolerance ||
                       std::abs(p[1] - static_cast<int>(pixel >> 8 & 0xFF)) > tolerance ||
                       std::abs(p[0] - static_cast<int>(pixel & 0xFF)) > tolerance;
      differing += off;
    }
  }
  return differing;
}

// Writes the frame as an opaque RGB PNG.
inline bool WriteFramePng(const std::string& path, int width, int height,
                          const TFramePixel& shown) {
  TPngSpec spec;
  spec.width = width;
  spec.height = height;
  spec.colourType = PNG_COLOR_TYPE_RGB;
  spec.bytes.reserve(static_cast<size_t>(width * height * 3));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint32_t pixel = shown(x, y);
      spec.bytes.insert(spec.bytes.end(),
                        {static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8),
                         static_cast<uint8_t>(pixel)});
    }
  }
  return WritePng(path, spec);
}
