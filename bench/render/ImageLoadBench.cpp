// Decoding game-like images: an 800 x 600 background as PNG and JPEG, a 256 x 256 sprite sheet
// with alpha, 64 x 64 icons and a palette image, each from memory through the loaders' decoders.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "tests/render/TestImages.h"
#include "tvlib/render/TImageLoader.h"

namespace {

// A picture with smooth areas and edges, as game art has, so the codecs work as they would.
TPngSpec Picture(int width, int height, bool alpha) {
  TPngSpec spec;
  spec.width = width;
  spec.height = height;
  spec.colourType = alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      bool stripe = ((x / 37) + (y / 23)) % 3 == 0;
      spec.bytes.push_back(static_cast<uint8_t>(x * 255 / width));
      spec.bytes.push_back(static_cast<uint8_t>(stripe ? 200 : y * 255 / height));
      spec.bytes.push_back(static_cast<uint8_t>((x ^ y) & 0x3F));
      if (alpha)
        spec.bytes.push_back(static_cast<uint8_t>(
            ((x - width / 2) * (x - width / 2) + (y - height / 2) * (y - height / 2)) <
                    width * width / 5
                ? 255
                : 0));
    }
  }
  return spec;
}

std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Encoded images, made once.
const std::string& Encoded(const std::string& name) {
  static std::map<std::string, std::string> files = [] {
    std::map<std::string, std::string> out;
    auto dir = std::filesystem::temp_directory_path() / "tv-image-bench";
    std::filesystem::create_directories(dir);
    WritePng((dir / "bg.png").string(), Picture(800, 600, false));
    WritePng((dir / "sheet.png").string(), Picture(256, 256, true));
    WritePng((dir / "icon.png").string(), Picture(64, 64, true));
    TPngSpec palette;
    palette.width = palette.height = 256;
    palette.colourType = PNG_COLOR_TYPE_PALETTE;
    for (int i = 0; i < 256; ++i)
      palette.palette.push_back(png_color{uint8_t(i), uint8_t(255 - i), uint8_t(i / 2)});
    for (int i = 0; i < 256 * 256; ++i)
      palette.bytes.push_back(static_cast<uint8_t>((i / 7) ^ (i >> 8)));
    WritePng((dir / "palette.png").string(), palette);
    WriteJpegPixels((dir / "bg.jpg").string(), 800, 600, Picture(800, 600, false).bytes);
    for (const char* f : {"bg.png", "sheet.png", "icon.png", "palette.png", "bg.jpg"})
      out[f] = Slurp(dir / f);
    std::filesystem::remove_all(dir);
    return out;
  }();
  return files.at(name);
}

TByteSource MemorySource(const std::string& bytes, size_t* at) {
  return [&bytes, at](void* buffer, int count) {
    size_t n = std::min(bytes.size() - *at, static_cast<size_t>(count));
    std::memcpy(buffer, bytes.data() + *at, n);
    *at += n;
    return static_cast<int>(n);
  };
}

void DecodePngFile(benchmark::State& state, const char* name, bool palettised) {
  const std::string& bytes = Encoded(name);
  for (auto _ : state) {
    size_t at = 0;
    TDecodedImage image;
    bool ok = DecodePng(MemorySource(bytes, &at), palettised, nullptr, &image);
    benchmark::DoNotOptimize(ok);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

void BM_PngBackground800x600(benchmark::State& s) {
  DecodePngFile(s, "bg.png", false);
}
void BM_PngSpriteSheet256(benchmark::State& s) {
  DecodePngFile(s, "sheet.png", false);
}
void BM_PngIcon64(benchmark::State& s) {
  DecodePngFile(s, "icon.png", false);
}
void BM_PngPalettised256(benchmark::State& s) {
  DecodePngFile(s, "palette.png", true);
}

void BM_JpegBackground800x600(benchmark::State& state) {
  const std::string& bytes = Encoded("bg.jpg");
  for (auto _ : state) {
    size_t at = 0;
    TDecodedImage image;
    bool ok = DecodeJpeg(MemorySource(bytes, &at), &image);
    benchmark::DoNotOptimize(ok);
  }
}

}  // namespace

BENCHMARK(BM_PngBackground800x600)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngSpriteSheet256)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngIcon64)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PngPalettised256)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegBackground800x600)->Unit(benchmark::kMillisecond);
