// Writes an ARGB image as an 8-bit RGBA PNG file.
#include "tvlib/platform/headless/TPngWriter.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

namespace sd {

namespace {
// libpng reports errors by longjmp; this frame is the only thing live across it.
bool WriteRows(png_structp png, png_infop info, FILE* file, const uint32_t* argb, int32_t width,
               int32_t height, int32_t pitchPixels, std::vector<png_byte>* row) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_init_io(png, file);
  png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB_ALPHA,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int32_t y = 0; y < height; ++y) {
    const uint32_t* src = argb + size_t(y) * pitchPixels;
    for (int32_t x = 0; x < width; ++x) {
      uint32_t c = src[x];
      png_byte* p = row->data() + size_t(x) * 4;
      p[0] = png_byte(c >> 16), p[1] = png_byte(c >> 8), p[2] = png_byte(c),
      p[3] = png_byte(c >> 24);
    }
    png_write_row(png, row->data());
  }
  png_write_end(png, nullptr);
  return true;
}
}  // namespace

bool WriteArgbPng(const char* path, const uint32_t* argb, int32_t width, int32_t height,
                  int32_t pitchPixels) {
  if (!path || !argb || width <= 0 || height <= 0 || pitchPixels < width) return false;
  FILE* file = std::fopen(path, "wb");
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  std::vector<png_byte> row(size_t(width) * 4);
  bool ok = info && WriteRows(png, info, file, argb, width, height, pitchPixels, &row);
  png_destroy_write_struct(&png, info ? &info : nullptr);
  ok = std::fclose(file) == 0 && ok;
  return ok;
}

}  // namespace sd
