// The vector rasteriser against FreeType: the printable ASCII glyphs of the built-in font at
// 12, 24 and 48 pixels to the em, rasterised the first time (missing the cache), replayed
// from the glyph cache, and rendered by FreeType from the TrueType face the built-in font
// was converted from (with and without hinting; the rasteriser does not hint).
#include <benchmark/benchmark.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <memory>
#include <vector>

#include "tvlib/render/TTvMiniVecDraw.h"
#include "tvlib/render/TVecFontSource.h"

namespace {

constexpr uint32_t kFirst = 32, kLast = 126;
constexpr float kWhite[4] = {1, 1, 1, 1};

// The display output: runs become line vertices handed to the device (whose drawing is
// measured with the device's own benchmarks); the target output writes and blends them into
// 32-bit pixels.
enum TOutput { kLines, kTarget };

// Takes the vertices as a device would, without drawing them.
TLineListDrawer NullDevice() {
  return [](const TVertexSet& set) { benchmark::DoNotOptimize(set.GetVertices()); };
}

struct TTextBench {
  std::unique_ptr<TVecFont> font = LoadBuiltinVecFont();
  std::vector<uint8_t> pixels = std::vector<uint8_t>(1024 * 128 * 4);
  TLockedPixels target{pixels.data(), 1024 * 4, 1024, 128};

  // Quarter pixels per outline unit at size pixels to the em.
  static float ScaleFor(float size) { return 4 * size / 192; }
  // Draws every printable ASCII glyph on a line at the given scale.
  void DrawAll(TTvMiniVecDraw& draw, float scale, TOutput output) {
    draw.scaleX = draw.scaleY = scale;
    draw.BeginDraw(0, 100, output == kTarget ? &target : nullptr);
    float pen = 0;
    for (uint32_t code = kFirst; code <= kLast; ++code) {
      const int glyph = font->FindGlyph(code);
      draw.FillOutline(font->GetGlyphOutline(glyph), pen, 0);
      // Wrap within the target; the position keeps every glyph at a new quarter phase.
      pen += font->GetGlyphAdvance(glyph) * draw.scaleX;
      if (pen > 3600) pen -= 3600;
    }
    draw.EndDraw();
  }
};

// Every iteration misses the cache: the scale itself (the cache's key) steps to the next
// float each time, so no step can round back to a scale already drawn, as it would for a
// glyph the rasteriser has not met yet.
void BM_VecFirstRasterisation(benchmark::State& state) {
  TTextBench bench;
  TTvMiniVecDraw draw(NullDevice());
  draw.SetColor(1, kWhite, 1.0f);
  float scale = TTextBench::ScaleFor(static_cast<float>(state.range(0)));
  const auto output = static_cast<TOutput>(state.range(1));
  for (auto _ : state) {
    scale = std::nextafter(scale, 1000.0f);
    bench.DrawAll(draw, scale, output);
    benchmark::DoNotOptimize(bench.pixels.data());
  }
  state.SetItemsProcessed(state.iterations() * (kLast - kFirst + 1));
}
BENCHMARK(BM_VecFirstRasterisation)->ArgsProduct({{12, 24, 48}, {kLines, kTarget}});

void BM_VecCachedReplay(benchmark::State& state) {
  TTextBench bench;
  const float scale = TTextBench::ScaleFor(static_cast<float>(state.range(0)));
  const auto output = static_cast<TOutput>(state.range(1));
  TTvMiniVecDraw draw(NullDevice());
  draw.SetColor(1, kWhite, 1.0f);
  bench.DrawAll(draw, scale, output);
  for (auto _ : state) {
    bench.DrawAll(draw, scale, output);
    benchmark::DoNotOptimize(bench.pixels.data());
  }
  state.SetItemsProcessed(state.iterations() * (kLast - kFirst + 1));
}
BENCHMARK(BM_VecCachedReplay)->ArgsProduct({{12, 24, 48}, {kLines, kTarget}});

void FreeTypeRender(benchmark::State& state, FT_Int32 flags) {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  if (FT_Init_FreeType(&library) != 0 || FT_New_Face(library, TV_FONT_SANS, 0, &face) != 0) {
    state.SkipWithError("cannot open " TV_FONT_SANS);
    if (library) FT_Done_FreeType(library);
    return;
  }
  FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(state.range(0)));
  for (auto _ : state) {
    for (uint32_t code = kFirst; code <= kLast; ++code) {
      FT_Load_Char(face, code, flags);
      benchmark::DoNotOptimize(face->glyph->bitmap.buffer);
    }
  }
  state.SetItemsProcessed(state.iterations() * (kLast - kFirst + 1));
  FT_Done_Face(face);
  FT_Done_FreeType(library);
}

void BM_FreeTypeUnhinted(benchmark::State& state) {
  FreeTypeRender(state, FT_LOAD_RENDER | FT_LOAD_NO_HINTING);
}
BENCHMARK(BM_FreeTypeUnhinted)->Arg(12)->Arg(24)->Arg(48);

void BM_FreeTypeHinted(benchmark::State& state) {
  FreeTypeRender(state, FT_LOAD_RENDER);
}
BENCHMARK(BM_FreeTypeHinted)->Arg(12)->Arg(24)->Arg(48);

}  // namespace
