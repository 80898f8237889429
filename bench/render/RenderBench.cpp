// Speed of the software rendering device on one core, per pixel, beside a plain memcpy of one
// 800 x 600 frame (the physical reference): an opaque full-screen quad, a blended one, and 500
// rotated bilinear 64 x 64 sprites. Counters: ns_per_pixel, the thread's CPU nanoseconds per
// pixel drawn (lower is better).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "bench/support/Interleaved.h"
#include "tests/platform/render/Engine2dStates.h"
#include "tvlib/core/TRandom.h"
#include "tvlib/platform/headless/THeadlessPresenter.h"
#include "tvlib/platform/render/TDisplay.h"

namespace sd {
namespace {

constexpr int32_t kW = 800, kH = 600;

struct TLVertex {
  float x, y, z, rhw;
  uint32_t diffuse, specular;
  float u, v;
};

// Runs `draw` for the benchmark's iterations and reports the CPU nanoseconds per pixel.
template <typename TDraw>
void TimePerPixel(benchmark::State& state, double pixelsPerIteration, TDraw&& draw) {
  const double start = ThreadCpuMicros();
  for (auto _ : state) draw();
  const double micros = ThreadCpuMicros() - start;
  if (state.iterations() > 0)
    state.counters["ns_per_pixel"] =
        micros * 1000.0 / (double(state.iterations()) * pixelsPerIteration);
}

// A display, an 800 x 600 render target, its device in a scene with the engine's 2-D states, and
// a 1024 x 1024 texture of noise (alpha varying unless opaque).
struct TBenchRig {
  THeadlessPresenter presenter;
  TDisplayPtr display = TDisplay::Create(&presenter, nullptr);
  TSurfacePtr target, texture;
  TDevicePtr device;

  TBenchRig(int32_t texSide, bool opaqueTexels) {
    display->SetCooperativeLevel(kCoopNormal);
    TSurfaceDesc d;
    d.flags = kDescCaps | kDescWidth | kDescHeight | kDescPixelFormat;
    d.width = kW, d.height = kH, d.format = kFmtA8R8G8B8, d.caps = kCaps3dDevice | kCapsTexture;
    display->CreateSurface(d, &target);
    d.width = d.height = texSide, d.caps = kCapsTexture;
    display->CreateSurface(d, &texture);
    TRandom r(1);
    for (int32_t y = 0; y < texSide; ++y) {
      auto* row = reinterpret_cast<uint32_t*>(texture->Bits() + size_t(y) * texture->Pitch());
      for (int32_t x = 0; x < texSide; ++x)
        row[x] = (uint32_t(r.Next()) << 17 ^ uint32_t(r.Next()) << 2 ^ uint32_t(r.Next())) |
                 (opaqueTexels ? 0xFF000000u : 0u);
    }
    display->CreateDevice(target, &device);
    device->BeginScene();
    test::SetEngine2dStates(*device);
    device->SetTexture(0, texture);
  }

  void FullScreenQuad() {
    float u1 = float(kW) / float(texture->Width()), v1 = float(kH) / float(texture->Height());
    TLVertex q[4] = {{-0.5f, -0.5f, 0.1f, 0.5f, 0xFFFFFFFF, 0xFF000000, 0, 0},
                     {kW - 0.5f, -0.5f, 0.1f, 0.5f, 0xFFFFFFFF, 0xFF000000, u1, 0},
                     {kW - 0.5f, kH - 0.5f, 0.1f, 0.5f, 0xFFFFFFFF, 0xFF000000, u1, v1},
                     {-0.5f, kH - 0.5f, 0.1f, 0.5f, 0xFFFFFFFF, 0xFF000000, 0, v1}};
    device->DrawPrimitive(kPtTriangleFan, kFvfTLVertex, q, 4);
  }
};

void BM_MemcpyFrame(benchmark::State& state) {
  std::vector<uint32_t> src(size_t(kW) * kH, 0x12345678), dst(size_t(kW) * kH);
  TimePerPixel(state, double(kW) * kH, [&] {
    std::memcpy(dst.data(), src.data(), src.size() * 4);
    benchmark::DoNotOptimize(dst.data());
    benchmark::ClobberMemory();
  });
}
BENCHMARK(BM_MemcpyFrame);

void BM_OpaqueFullScreenQuad(benchmark::State& state) {
  TBenchRig rig(1024, false);
  // The engine's opaque mode: no blending, alpha from the texture factor.
  rig.device->SetRenderState(kRsAlphaBlendEnable, 0);
  rig.device->SetRenderState(kRsTextureFactor, 0xFFFFFFFF);
  rig.device->SetTextureStageState(0, kTssAlphaArg1, kTaTFactor);
  rig.device->SetTextureStageState(0, kTssAlphaOp, kTopSelectArg1);
  TimePerPixel(state, double(kW) * kH, [&] { rig.FullScreenQuad(); });
}
BENCHMARK(BM_OpaqueFullScreenQuad);

void BM_BlendedFullScreenQuad(benchmark::State& state) {
  TBenchRig rig(1024, false);
  TimePerPixel(state, double(kW) * kH, [&] { rig.FullScreenQuad(); });
}
BENCHMARK(BM_BlendedFullScreenQuad);

void BM_RotatedBilinearSprites(benchmark::State& state) {
  TBenchRig rig(64, false);
  constexpr int kSprites = 500;
  std::vector<TLVertex> quads;
  TRandom r(2);
  for (int i = 0; i < kSprites; ++i) {
    float x = float(r.Next() % 720 + 40), y = float(r.Next() % 520 + 40);
    float a = float(r.Next() % 628) / 100.0f, c = std::cos(a) * 32, s = std::sin(a) * 32;
    quads.insert(quads.end(), {{x - c + s, y - s - c, 0.1f, 0.5f, 0xFFFFFFFF, 0xFF000000, 0, 0},
                               {x + c + s, y + s - c, 0.1f, 0.5f, 0xFFFFFFFF, 0xFF000000, 1, 0},
                               {x + c - s, y + s + c, 0.1f, 0.5f, 0xFFFFFFFF, 0xFF000000, 1, 1},
                               {x - c - s, y - s + c, 0.1f, 0.5f, 0xFFFFFFFF, 0xFF000000, 0, 1}});
  }
  TimePerPixel(state, double(kSprites) * 64 * 64, [&] {
    for (int i = 0; i < kSprites; ++i)
      rig.device->DrawPrimitive(kPtTriangleFan, kFvfTLVertex, &quads[size_t(i) * 4], 4);
  });
}
BENCHMARK(BM_RotatedBilinearSprites);

}  // namespace
}  // namespace sd
