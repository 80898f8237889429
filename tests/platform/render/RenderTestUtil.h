// Shared set-up for the rendering device tests: a headless display, a render target with a
// device, textures filled from tables, and screen-space quads drawn the way the engine's texture
// code draws them (a fan of four vertices, positions moved by -0.5 so texels land on pixels).
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "tests/platform/render/Engine2dStates.h"
#include "tvlib/platform/headless/THeadlessPresenter.h"
#include "tvlib/platform/render/TDisplay.h"

namespace sd::test {

// A screen-space vertex in the engine's 0x1C4 layout.
struct TLVertex {
  float x, y, z, rhw;
  uint32_t diffuse, specular;
  float u, v;
};

inline TSurfacePtr MakeSurface(TDisplay& d, int32_t w, int32_t h, const TPixelFormat& f,
                               uint32_t caps) {
  TSurfaceDesc desc;
  desc.flags = kDescCaps | kDescWidth | kDescHeight | kDescPixelFormat;
  desc.width = w, desc.height = h, desc.format = f, desc.caps = caps;
  TSurfacePtr s;
  EXPECT_EQ(d.CreateSurface(desc, &s), kOk);
  return s;
}

// Reads pixel (x, y) of a 32-bit surface.
inline uint32_t PixelAt(TSurface& s, int32_t x, int32_t y) {
  uint32_t v;
  std::memcpy(&v, s.Bits() + size_t(y) * s.Pitch() + size_t(x) * 4, 4);
  return v;
}

inline void FillArgb(TSurface& s, const std::vector<uint32_t>& px) {
  for (int32_t y = 0; y < s.Height(); ++y)
    RowFromArgb(s.Format(), px.data() + size_t(y) * s.Width(), s.Bits() + size_t(y) * s.Pitch(),
                s.Width());
  s.NoteWritten(TRect{0, 0, s.Width(), s.Height()});
}

// A display, a 3-D render target of w x h (A8R8G8B8, cleared to `clear`) and its device in a
// scene, with the 2-D states the engine sets.
struct TRenderRig {
  THeadlessPresenter presenter;
  TDisplayPtr display;
  TSurfacePtr target;
  TDevicePtr device;

  explicit TRenderRig(int32_t w = 64, int32_t h = 64, uint32_t clear = 0) {
    display = TDisplay::Create(&presenter, nullptr);
    display->SetCooperativeLevel(kCoopNormal);
    target = MakeSurface(*display, w, h, kFmtA8R8G8B8, kCaps3dDevice | kCapsTexture);
    EXPECT_EQ(display->CreateDevice(target, &device), kOk);
    device->Clear(0, nullptr, kClearTarget, clear, 1.0f);
    device->BeginScene();
    SetEngine2dStates(*device);
  }

  void SetFilter(bool linear) {
    device->SetTextureStageState(0, kTssMagFilter, linear ? kTfgLinear : kTfgPoint);
    device->SetTextureStageState(0, kTssMinFilter, linear ? kTfnLinear : kTfnPoint);
  }

  // An axis-aligned quad covering pixels [x, x + w) x [y, y + h) with texture coordinates
  // u0..u1, v0..v1, as a fan (top-left, top-right, bottom-right, bottom-left).
  HR Quad(float x, float y, float w, float h, uint32_t diffuse, float u0 = 0, float v0 = 0,
          float u1 = 1, float v1 = 1) {
    float l = x - 0.5f, t = y - 0.5f, r = l + w, b = t + h;
    TLVertex q[4] = {{l, t, 0.1f, 0.5f, diffuse, 0xFF000000, u0, v0},
                     {r, t, 0.1f, 0.5f, diffuse, 0xFF000000, u1, v0},
                     {r, b, 0.1f, 0.5f, diffuse, 0xFF000000, u1, v1},
                     {l, b, 0.1f, 0.5f, diffuse, 0xFF000000, u0, v1}};
    return device->DrawPrimitive(kPtTriangleFan, kFvfTLVertex, q, 4);
  }

  uint32_t At(int32_t x, int32_t y) { return PixelAt(*target, x, y); }

  std::vector<uint32_t> Pixels() {
    std::vector<uint32_t> out;
    for (int32_t y = 0; y < target->Height(); ++y)
      for (int32_t x = 0; x < target->Width(); ++x) out.push_back(At(x, y));
    return out;
  }
};

}  // namespace sd::test
