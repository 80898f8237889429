// Test images made in code: PNG files of any colour type and depth (with a palette and tRNS
// when given) and JPEG files, written with libpng and libjpeg.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

// libjpeg's header needs size_t and FILE declared before it.
#include <jpeglib.h>
#include <png.h>

struct TPngSpec {
  int width = 1, height = 1;
  int colourType = PNG_COLOR_TYPE_RGB_ALPHA;
  int bitDepth = 8;
  std::vector<uint8_t> bytes;         // rows packed as libpng expects them
  std::vector<png_color> palette;     // for palette images
  std::vector<uint8_t> transparency;  // tRNS alphas of the first palette entries
};

inline bool WritePng(const std::string& path, const TPngSpec& spec) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    return false;
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, spec.width, spec.height, spec.bitDepth, spec.colourType,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!spec.palette.empty())
    png_set_PLTE(png, info, spec.palette.data(), static_cast<int>(spec.palette.size()));
  if (!spec.transparency.empty())
    png_set_tRNS(png, info, spec.transparency.data(), static_cast<int>(spec.transparency.size()),
                 nullptr);
  png_write_info(png, info);
  size_t rowBytes = spec.bytes.size() / static_cast<size_t>(spec.height);
  for (int y = 0; y < spec.height; ++y)
    png_write_row(png, spec.bytes.data() + static_cast<size_t>(y) * rowBytes);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(f);
  return true;
}

// An RGBA image whose every pixel is `rgba` (bytes red, green, blue, alpha).
inline TPngSpec SolidRgba(int width, int height, uint32_t rgba) {
  TPngSpec spec;
  spec.width = width;
  spec.height = height;
  for (int i = 0; i < width * height; ++i) {
    spec.bytes.push_back(static_cast<uint8_t>(rgba >> 24));
    spec.bytes.push_back(static_cast<uint8_t>(rgba >> 16));
    spec.bytes.push_back(static_cast<uint8_t>(rgba >> 8));
    spec.bytes.push_back(static_cast<uint8_t>(rgba));
  }
  return spec;
}

// A JPEG of the given RGB rows (3 bytes a pixel), at high quality.
inline bool WriteJpegPixels(const std::string& path, int width, int height,
                            const std::vector<uint8_t>& rgb) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  jpeg_compress_struct info;
  jpeg_error_mgr error;
  info.err = jpeg_std_error(&error);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, f);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 100, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<uint8_t*>(rgb.data()) + info.next_scanline * width * 3;
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(f);
  return true;
}

// A JPEG of one colour (red, green, blue).
inline bool WriteJpeg(const std::string& path, int width, int height, uint8_t r, uint8_t g,
                      uint8_t b) {
  std::vector<uint8_t> rgb;
  for (int i = 0; i < width * height; ++i) rgb.insert(rgb.end(), {r, g, b});
  return WriteJpegPixels(path, width, height, rgb);
}
