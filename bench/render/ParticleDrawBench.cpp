// What drawing a fading particle costs: a 32 x 32 texture drawn bilinear at a fraction of a
// pixel, modulated by a colour whose alpha fades, blended over an 800 x 600 frame, 400 times
// at spread places. The engine's software device against SDL2's software renderer
// (RenderCopyF with colour and alpha modulation; it samples nearest, so it does less) and,
// when pixman is there, pixman's bilinear OVER through a solid mask (the same work). Each pair
// runs in interleaved rounds and prints the ratio (engine over reference). Also the frame
// clear of a 2-D frame with a 16-bit depth buffer attached that no draw uses (target and
// depth cleared, as the engine's frames do), per frame, with one particle drawn in between so
// that the target is never already clear.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "bench/support/Interleaved.h"
#include "tests/platform/render/Engine2dStates.h"
#include "tvlib/core/TRandom.h"
#include "tvlib/platform/headless/THeadlessPresenter.h"
#include "tvlib/platform/render/TDisplay.h"
#ifdef TV_BENCH_PIXMAN
#include <pixman.h>
#endif

namespace sd {
namespace {

constexpr int32_t kW = 800, kH = 600, kSide = 32, kParticles = 400;

struct TLVertex {
  float x, y, z, rhw;
  uint32_t diffuse, specular;
  float u, v;
};

// A soft round particle with premultiplied-looking falloff, as ARGB.
std::vector<uint32_t> ParticleTexels() {
  std::vector<uint32_t> px(size_t(kSide) * kSide);
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      const double d = std::hypot(x - 15.5, y - 15.5) / 16.0;
      const uint32_t a = d >= 1 ? 0 : uint32_t(255 * (1 - d) * (1 - d));
      px[size_t(y) * kSide + size_t(x)] = a << 24 | 0xFFC060u;
    }
  return px;
}

struct TPlace {
  float x, y;
  uint8_t alpha;
};

std::vector<TPlace> Places() {
  std::vector<TPlace> places;
  TRandom r(4);
  for (int i = 0; i < kParticles; ++i)
    places.push_back({float(r.Next() % (kW - kSide - 2)) + float(r.Next() % 100) / 100.0f,
                      float(r.Next() % (kH - kSide - 2)) + float(r.Next() % 100) / 100.0f,
                      uint8_t(40 + r.Next() % 200)});
  return places;
}

// The engine's device drawing the particles as the effects do: bilinear, modulated, blended.
struct TEngineParticles {
  THeadlessPresenter presenter;
  TDisplayPtr display = TDisplay::Create(&presenter, nullptr);
  TSurfacePtr target, texture;
  TDevicePtr device;

  TEngineParticles() {
    display->SetCooperativeLevel(kCoopNormal);
    TSurfaceDesc d;
    d.flags = kDescCaps | kDescWidth | kDescHeight | kDescPixelFormat;
    d.width = kW, d.height = kH, d.format = kFmtA8R8G8B8, d.caps = kCaps3dDevice | kCapsTexture;
    display->CreateSurface(d, &target);
    d.width = d.height = kSide, d.caps = kCapsTexture;
    display->CreateSurface(d, &texture);
    const std::vector<uint32_t> px = ParticleTexels();
    for (int32_t y = 0; y < kSide; ++y)
      std::memcpy(texture->Bits() + size_t(y) * texture->Pitch(), &px[size_t(y) * kSide],
                  kSide * 4);
    texture->NoteWritten(TRect{0, 0, kSide, kSide});
    display->CreateDevice(target, &device);
    device->BeginScene();
    test::SetEngine2dStates(*device);
    device->SetTexture(0, texture);
    device->SetTextureStageState(0, kTssMagFilter, kTfgLinear);
    device->SetTextureStageState(0, kTssMinFilter, kTfnLinear);
  }

  void Draw(const std::vector<TPlace>& places) {
    for (const TPlace& p : places) {
      const uint32_t c = uint32_t(p.alpha) << 24 | 0xFFFFFF;
      const float l = p.x - 0.5f, t = p.y - 0.5f, r = l + kSide, b = t + kSide;
      TLVertex q[4] = {{l, t, 0.1f, 0.5f, c, 0, 0, 0},
                       {r, t, 0.1f, 0.5f, c, 0, 1, 0},
                       {r, b, 0.1f, 0.5f, c, 0, 1, 1},
                       {l, b, 0.1f, 0.5f, c, 0, 0, 1}};
      device->DrawPrimitive(kPtTriangleFan, kFvfTLVertex, q, 4);
    }
  }
};

void BM_FadingParticlesAgainstSdl2(benchmark::State& state) {
  TEngineParticles engine;
  const std::vector<TPlace> places = Places();
  SDL_Surface* frame = SDL_CreateRGBSurfaceWithFormat(0, kW, kH, 32, SDL_PIXELFORMAT_ARGB8888);
  SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(frame);
  std::vector<uint32_t> px = ParticleTexels();
  SDL_Surface* image = SDL_CreateRGBSurfaceWithFormatFrom(px.data(), kSide, kSide, 32, kSide * 4,
                                                          SDL_PIXELFORMAT_ARGB8888);
  SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer, image);
  SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
  CompareInterleaved(
      state, [&] { engine.Draw(places); },
      [&] {
        for (const TPlace& p : places) {
          SDL_SetTextureAlphaMod(texture, p.alpha);
          const SDL_FRect to{p.x, p.y, float(kSide), float(kSide)};
          SDL_RenderCopyF(renderer, texture, nullptr, &to);
        }
        benchmark::DoNotOptimize(frame->pixels);
      });
  state.counters["ns_per_particle_pixel"] =
      state.counters["engine_us"] * 1000.0 / (double(kParticles) * kSide * kSide);
  SDL_DestroyTexture(texture);
  SDL_FreeSurface(image);
  SDL_DestroyRenderer(renderer);
  SDL_FreeSurface(frame);
}
BENCHMARK(BM_FadingParticlesAgainstSdl2)->Unit(benchmark::kMicrosecond);

#ifdef TV_BENCH_PIXMAN
void BM_FadingParticlesAgainstPixman(benchmark::State& state) {
  TEngineParticles engine;
  const std::vector<TPlace> places = Places();
  std::vector<uint32_t> frame(size_t(kW) * kH, 0xFF202830);
  std::vector<uint32_t> px = ParticleTexels();
  // pixman wants premultiplied colour.
  for (uint32_t& p : px) {
    const uint32_t a = p >> 24;
    uint32_t out = a << 24;
    for (int s = 0; s < 24; s += 8) out |= (((p >> s) & 255) * a + 127) / 255 << s;
    p = out;
  }
  pixman_image_t* dest = pixman_image_create_bits(PIXMAN_a8r8g8b8, kW, kH, frame.data(), kW * 4);
  pixman_image_t* source =
      pixman_image_create_bits(PIXMAN_a8r8g8b8, kSide, kSide, px.data(), kSide * 4);
  pixman_image_set_filter(source, PIXMAN_FILTER_BILINEAR, nullptr, 0);
  CompareInterleaved(
      state, [&] { engine.Draw(places); },
      [&] {
        for (const TPlace& p : places) {
          const pixman_color_t fade{uint16_t(p.alpha * 257), uint16_t(p.alpha * 257),
                                    uint16_t(p.alpha * 257), uint16_t(p.alpha * 257)};
          pixman_image_t* mask = pixman_image_create_solid_fill(&fade);
          const int ix = int(p.x), iy = int(p.y);
          pixman_transform_t t;
          pixman_transform_init_translate(&t, pixman_double_to_fixed(ix - p.x),
                                          pixman_double_to_fixed(iy - p.y));
          pixman_image_set_transform(source, &t);
          pixman_image_composite32(PIXMAN_OP_OVER, source, mask, dest, 0, 0, 0, 0, ix, iy,
                                   kSide + 1, kSide + 1);
          pixman_image_unref(mask);
        }
        benchmark::DoNotOptimize(frame.data());
      });
  pixman_image_unref(source);
  pixman_image_unref(dest);
}
BENCHMARK(BM_FadingParticlesAgainstPixman)->Unit(benchmark::kMicrosecond);
#endif

// A 2-D frame's clear: target and depth, with a 16-bit depth buffer no draw writes.
void BM_FrameClearWithUnusedDepth(benchmark::State& state) {
  TEngineParticles engine;
  TSurfaceDesc d;
  d.flags = kDescCaps | kDescWidth | kDescHeight | kDescPixelFormat;
  d.width = kW, d.height = kH, d.format = kFmtZ16, d.caps = kCapsZBuffer;
  TSurfacePtr depth;
  engine.display->CreateSurface(d, &depth);
  engine.target->AddAttachedSurface(depth);
  const std::vector<TPlace> one(1, TPlace{100.25f, 100.5f, 200});
  for (auto _ : state) {
    engine.Draw(one);
    engine.device->Clear(0, nullptr, kClearTarget | kClearZBuffer, 0xFF000000, 1.0f);
    benchmark::DoNotOptimize(engine.target->Bits());
  }
}
BENCHMARK(BM_FrameClearWithUnusedDepth)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace sd
