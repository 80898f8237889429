// The vector rasteriser against FreeType: the printable ASCII glyphs of the built-in font at
// 12, 24 and 48 pixels to the em, rasterised the first time (missing the cache), replayed
// from the glyph cache, and rendered by FreeType from the TrueType face the built-in font
// was converted from (with and without hinting; the rasteriser does not hint). The
// rasteriser's output is measured three ways: coverage glyphs handed to a display that drops
// them, glyphs drawn and blended by the software device into its render target (the game's
// path), and rows blended straight into a locked target. The replay reports the glyph cache's bytes
// per glyph. Outlined glyphs (a one-pixel stroke) are measured through the general walk.
#include <benchmark/benchmark.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <memory>
#include <vector>

#include "tvlib/platform/headless/THeadlessPresenter.h"
#include "tvlib/platform/render/TDevice3d.h"
#include "tvlib/platform/render/TDisplay.h"
#include "tvlib/render/TTvMiniVecDraw.h"
#include "tvlib/render/TVecFontSource.h"

namespace {

constexpr uint32_t kFirst = 32, kLast = 126;
constexpr float kWhite[4] = {1, 1, 1, 1};

// kGlyphs: coverage glyphs handed to a display that drops them; kTarget: rows blended straight
// into 32-bit pixels; kDevice: glyphs drawn by the software device, blending as the engine's 2-D
// state says.
enum TOutput { kGlyphs, kTarget, kDevice };

// A 1024 x 128 render target of the software device in a scene, in the engine's 2-D blend.
struct TDeviceTarget {
  sd::THeadlessPresenter presenter;
  sd::TDisplayPtr display = sd::TDisplay::Create(&presenter, nullptr);
  sd::TSurfacePtr surface;
  sd::TDevicePtr device;
  TDeviceTarget() {
    display->SetCooperativeLevel(sd::kCoopNormal);
    sd::TSurfaceDesc desc;
    desc.flags = sd::kDescCaps | sd::kDescWidth | sd::kDescHeight | sd::kDescPixelFormat;
    desc.width = 1024, desc.height = 128, desc.format = sd::kFmtA8R8G8B8;
    desc.caps = sd::kCaps3dDevice | sd::kCapsTexture;
    display->CreateSurface(desc, &surface);
    display->CreateDevice(surface, &device);
    device->BeginScene();
    device->SetTextureStageState(0, sd::kTssAlphaArg2, sd::kTaDiffuse);
    device->SetTextureStageState(0, sd::kTssAlphaOp, sd::kTopModulate);
    device->SetRenderState(sd::kRsSrcBlend, sd::kBlendSrcAlpha);
    device->SetRenderState(sd::kRsDestBlend, sd::kBlendInvSrcAlpha);
    device->SetRenderState(sd::kRsAlphaBlendEnable, 1);
  }
};

TCoverageDrawer Drawer(TOutput output, TDeviceTarget& device) {
  if (output == kDevice) {
    return [&device](std::span<const sd::TRasterCoverageGlyph> glyphs) {
      device.device->DrawCoverage(glyphs.data(), static_cast<uint32_t>(glyphs.size()));
    };
  }
  return [](std::span<const sd::TRasterCoverageGlyph> glyphs) {
    benchmark::DoNotOptimize(glyphs.data());
  };
}

struct TTextBench {
  std::unique_ptr<TVecFont> font = LoadBuiltinVecFont();
  std::vector<uint8_t> pixels = std::vector<uint8_t>(1024 * 128 * 4);
  TLockedPixels target{pixels.data(), 1024 * 4, 1024, 128};
  TDeviceTarget device;

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
  const auto output = static_cast<TOutput>(state.range(1));
  TTvMiniVecDraw draw(Drawer(output, bench.device));
  draw.SetColor(1, kWhite, 1.0f);
  float scale = TTextBench::ScaleFor(static_cast<float>(state.range(0)));
  for (auto _ : state) {
    scale = std::nextafter(scale, 1000.0f);
    bench.DrawAll(draw, scale, output);
    benchmark::DoNotOptimize(bench.pixels.data());
  }
  state.SetItemsProcessed(state.iterations() * (kLast - kFirst + 1));
}
BENCHMARK(BM_VecFirstRasterisation)->ArgsProduct({{12, 24, 48}, {kGlyphs, kTarget, kDevice}});

// The same with a one-pixel outline stroke round every glyph: the outlined glyphs take the
// general walk over sorted edges (strokes fill by winding), glyphs handed to a display that
// drops them.
void BM_VecFirstRasterisationOutlined(benchmark::State& state) {
  TTextBench bench;
  TTvMiniVecDraw draw(Drawer(kGlyphs, bench.device));
  draw.SetColor(1, kWhite, 1.0f);
  draw.SetColor(255, kWhite, 1.0f);
  draw.strokeWidth[0] = 1.0f;
  float scale = TTextBench::ScaleFor(static_cast<float>(state.range(0)));
  for (auto _ : state) {
    scale = std::nextafter(scale, 1000.0f);
    bench.DrawAll(draw, scale, kGlyphs);
  }
  state.SetItemsProcessed(state.iterations() * (kLast - kFirst + 1));
}
BENCHMARK(BM_VecFirstRasterisationOutlined)->Arg(12)->Arg(24)->Arg(48);

void BM_VecCachedReplay(benchmark::State& state) {
  TTextBench bench;
  const float scale = TTextBench::ScaleFor(static_cast<float>(state.range(0)));
  const auto output = static_cast<TOutput>(state.range(1));
  TTvMiniVecDraw draw(Drawer(output, bench.device));
  draw.SetColor(1, kWhite, 1.0f);
  bench.DrawAll(draw, scale, output);
  for (auto _ : state) {
    bench.DrawAll(draw, scale, output);
    benchmark::DoNotOptimize(bench.pixels.data());
  }
  state.SetItemsProcessed(state.iterations() * (kLast - kFirst + 1));
  state.counters["cache_bytes_per_glyph"] =
      static_cast<double>(draw.GetCache().GetBytes()) / draw.GetCache().GetEntryCount();
}
BENCHMARK(BM_VecCachedReplay)->ArgsProduct({{12, 24, 48}, {kGlyphs, kTarget, kDevice}});

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
