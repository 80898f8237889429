// PNG and JPEG decoding into the square buffers the textures upload.
//
// Needs: libpng 1.6, libjpeg (6b interface), the file layer. The buffer is S x S pixels, S the
// smallest power of two holding the larger side (at least 1); the image sits at the top-left
// and the rest is zero. Pixels are 4 bytes blue, green, red, alpha, or 1-byte palette indices
// in palettised mode (PNG palette images only). Images are outside input: a corrupt, truncated
// or oversized file (S above the device's largest texture) gives false and a log line.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "tvlib/core/TString.h"

struct TDecodedImage {
  std::vector<uint8_t> pixels;
  int width = 0;
  int height = 0;
  int side = 0;
  bool hasAlpha = false;
  // 256 entries blue, green, red, alpha (alpha from tRNS); empty when the image has no palette.
  std::vector<uint32_t> palette;
};

// Reads up to `count` bytes into `buffer`; answers how many arrived (0 at the end).
using TByteSource = std::function<int(void* buffer, int count)>;

// The largest side a decoded image may have.
int MaxImageSide();

// paletteFile: a RIFF palette whose colours replace the image palette's (empty: none).
bool LoadPng(const TString& name, bool palettised, const TString& paletteFile, TDecodedImage* out);
bool LoadJpeg(const TString& name, TDecodedImage* out);

// The decoders over any byte source (the loaders above pass the file layer).
bool DecodePng(const TByteSource& source, bool palettised,
               const std::vector<uint32_t>* paletteColours, TDecodedImage* out);
bool DecodeJpeg(const TByteSource& source, TDecodedImage* out);
