// The rasteriser's fast paths against its general paths, pixel for pixel.
#include "tvlib/platform/render/TRaster.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/platform/render/RenderTestUtil.h"
#include "tvlib/core/TRandom.h"
#include "tvlib/platform/render/TTextureHelpers.h"

namespace sd::test {
namespace {

// Runs the test body on each set of paths this processor has, restoring the best afterwards.
class RasterPathsTest : public ::testing::TestWithParam<TRasterPaths> {
 protected:
  void SetUp() override {
    if (GetParam() > BestRasterPaths()) GTEST_SKIP() << "not on this processor";
    SetRasterPaths(GetParam());
  }
  void TearDown() override { SetRasterPaths(BestRasterPaths()); }
};

std::vector<uint32_t> RandomPixels(size_t n, uint32_t seed) {
  TRandom r(seed);
  std::vector<uint32_t> px(n);
  for (auto& p : px) p = uint32_t(r.Next()) << 17 ^ uint32_t(r.Next()) << 2 ^ uint32_t(r.Next());
  return px;
}

TSurfacePtr MakeTexture(TDisplay& d, int32_t w, int32_t h, const std::vector<uint32_t>& px) {
  TSurfacePtr t = MakeSurface(d, w, h, kFmtA8R8G8B8, kCapsTexture);
  FillArgb(*t, px);
  return t;
}

TEST_P(RasterPathsTest, OneToOneQuadReproducesItsTexelsPointAndBilinear) {
  for (bool linear : {false, true}) {
    TRenderRig rig(64, 64, 0xFF336699);
    std::vector<uint32_t> texels = RandomPixels(32 * 16, 7);
    for (auto& t : texels) t |= 0xFF000000;  // opaque, so blending leaves them as they are
    TSurfacePtr tex = MakeTexture(*rig.display, 32, 16, texels);
    rig.device->SetTexture(0, tex);
    rig.SetFilter(linear);
    // 20 x 10 texels from (4, 3) of the texture, drawn at (5, 7).
    ASSERT_EQ(rig.Quad(5, 7, 20, 10, 0xFFFFFFFF, 4 / 32.f, 3 / 16.f, 24 / 32.f, 13 / 16.f), kOk);
    for (int32_t y = 0; y < 64; ++y)
      for (int32_t x = 0; x < 64; ++x) {
        bool inside = x >= 5 && x < 25 && y >= 7 && y < 17;
        uint32_t want = inside ? texels[size_t(y - 7 + 3) * 32 + (x - 5 + 4)] : 0xFF336699;
        ASSERT_EQ(rig.At(x, y), want) << "linear " << linear << " at " << x << "," << y;
      }
  }
}

// A rectangle split into jittered triangles, drawn additively at 1/255: every pixel centre inside
// the rectangle is covered exactly once, whatever edge it lies on.
TEST_P(RasterPathsTest, SharedEdgesCoverEveryPixelExactlyOnce) {
  TRenderRig rig(64, 64, 0);
  rig.device->SetRenderState(kRsSrcBlend, kBlendOne);
  rig.device->SetRenderState(kRsDestBlend, kBlendOne);
  rig.device->SetRenderState(kRsAlphaTestEnable, 0);
  const float x0 = 2.3f, y0 = 3.7f, x1 = 58.6f, y1 = 52.2f;
  const int n = 7;
  TRandom r(99);
  float px[n + 1][n + 1], py[n + 1][n + 1];
  for (int j = 0; j <= n; ++j)
    for (int i = 0; i <= n; ++i) {
      // Interior points jitter; some land on pixel centres and half pixels on purpose.
      float jx = (i == 0 || i == n) ? 0 : float(r.Next() % 9 - 4) * 0.5f;
      float jy = (j == 0 || j == n) ? 0 : float(r.Next() % 9 - 4) * 0.5f;
      px[j][i] = x0 + (x1 - x0) * i / n + jx;
      py[j][i] = y0 + (y1 - y0) * j / n + jy;
    }
  std::vector<TLVertex> tris;
  auto vtx = [&](int j, int i) {
    return TLVertex{px[j][i], py[j][i], 0.1f, 0.5f, 0x01010101, 0, 0, 0};
  };
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i) {
      bool flip = (i + j) % 2;  // both diagonals, both windings
      TLVertex a = vtx(j, i), b = vtx(j, i + 1), c = vtx(j + 1, i + 1), d = vtx(j + 1, i);
      if (flip)
        tris.insert(tris.end(), {a, b, d, b, c, d});
      else
        tris.insert(tris.end(), {a, c, b, a, d, c});
    }
  ASSERT_EQ(
      rig.device->DrawPrimitive(kPtTriangleList, kFvfTLVertex, tris.data(), uint32_t(tris.size())),
      kOk);
  for (int32_t y = 0; y < 64; ++y)
    for (int32_t x = 0; x < 64; ++x) {
      bool inside = x > x0 && x < x1 && y > y0 && y < y1;
      ASSERT_EQ(rig.At(x, y), inside ? 0x01010101u : 0u) << x << "," << y;
    }
}

// Axis-aligned rectangles meeting on pixel centres: the top-left rule gives each pixel on a
// shared edge to exactly one of them, and the outer edges keep only their top and left pixels.
TEST_P(RasterPathsTest, AxisAlignedEdgesOnPixelCentres) {
  TRenderRig rig(16, 16, 0);
  rig.device->SetRenderState(kRsSrcBlend, kBlendOne);
  rig.device->SetRenderState(kRsDestBlend, kBlendOne);
  rig.device->SetRenderState(kRsAlphaTestEnable, 0);
  const float xs[3] = {2, 7, 12}, ys[3] = {3, 8, 11};
  for (int j = 0; j < 2; ++j)
    for (int i = 0; i < 2; ++i) {
      float l = xs[i], r = xs[i + 1], t = ys[j], b = ys[j + 1];
      TLVertex q[4] = {{l, t, 0, 1, 0x01010101, 0, 0, 0},
                       {r, t, 0, 1, 0x01010101, 0, 0, 0},
                       {r, b, 0, 1, 0x01010101, 0, 0, 0},
                       {l, b, 0, 1, 0x01010101, 0, 0, 0}};
      ASSERT_EQ(rig.device->DrawPrimitive(kPtTriangleFan, kFvfTLVertex, q, 4), kOk);
    }
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < 16; ++x) {
      bool inside = x >= 2 && x < 12 && y >= 3 && y < 11;
      ASSERT_EQ(rig.At(x, y), inside ? 0x01010101u : 0u) << x << "," << y;
    }
}

TEST_P(RasterPathsTest, BlendPairsApplyToColourAndAlpha) {
  struct Case {
    uint32_t src, dst;
    bool blend;
    uint32_t srcBlend, destBlend, want;
  };
  // Expected values worked out from round(c * f / 255), summed and saturated per channel.
  const Case cases[] = {
      {0x80FF4020, 0xFF102030, true, kBlendSrcAlpha, kBlendInvSrcAlpha, 0xBF883028},
      {0x80FF4020, 0xFF102030, true, kBlendOne, kBlendOne, 0xFFFF6050},
      {0x80FF4020, 0xFF102030, true, kBlendSrcAlpha, kBlendOne, 0xFF904040},
      {0x80FF4020, 0xFF102030, true, kBlendInvSrcAlpha, kBlendInvSrcColor, 0xBF7F383A},
      {0x40C0C0C0, 0x80808080, true, kBlendSrcAlpha, kBlendInvSrcAlpha, 0x70909090},
      {0x40C0C0C0, 0x80808080, true, kBlendOne, kBlendOne, 0xC0FFFFFF},
      {0x40C0C0C0, 0x80808080, true, kBlendSrcAlpha, kBlendOne, 0x90B0B0B0},
      {0x00FFFFFF, 0x12345678, true, kBlendSrcAlpha, kBlendInvSrcAlpha, 0x12345678},
      {0x00FFFFFF, 0x12345678, true, kBlendOne, kBlendOne, 0x12FFFFFF},
      {0xFF0A1424, 0xF0F0F0F0, true, kBlendInvSrcAlpha, kBlendInvSrcColor, 0x00E7DDCE},
      {0x80FF4020, 0xFF102030, false, kBlendOne, kBlendZero, 0x80FF4020},
  };
  for (const Case& c : cases) {
    TRenderRig rig(16, 8, c.dst);
    rig.device->SetRenderState(kRsAlphaTestEnable, 0);
    rig.device->SetRenderState(kRsAlphaBlendEnable, c.blend);
    rig.device->SetRenderState(kRsSrcBlend, c.srcBlend);
    rig.device->SetRenderState(kRsDestBlend, c.destBlend);
    ASSERT_EQ(rig.Quad(0, 0, 16, 8, c.src), kOk);
    for (int32_t x = 0; x < 16; ++x)  // spans of 16: the SIMD part and the scalar tail
      ASSERT_EQ(rig.At(x, 3), c.want) << std::hex << c.src << " over " << c.dst << " pair "
                                      << c.srcBlend << "/" << c.destBlend << " x " << x;
  }
}

TEST_P(RasterPathsTest, AlphaTestDiscardsWhatTheReferenceRejects) {
  struct Case {
    uint32_t func, ref, blend;
  };
  for (Case c : {Case{kCmpGreaterEqual, 1, 0}, Case{kCmpGreaterEqual, 1, 1},
                 Case{kCmpGreater, 0x80, 0}, Case{kCmpGreaterEqual, 1, 2}}) {
    TRenderRig rig(8, 1, 0xFF000000);
    std::vector<uint32_t> texels = {0x00FF0000, 0x01FF0000, 0x7FFF0000, 0x80FF0000,
                                    0x81FF0000, 0xFFFF0000, 0x00FFFFFF, 0xFF00FF00};
    rig.device->SetTexture(0, MakeTexture(*rig.display, 8, 1, texels));
    rig.device->SetRenderState(kRsAlphaFunc, c.func);
    rig.device->SetRenderState(kRsAlphaRef, c.ref);
    rig.device->SetRenderState(kRsAlphaBlendEnable, c.blend != 0);
    rig.device->SetRenderState(kRsSrcBlend, c.blend == 2 ? kBlendOne : kBlendSrcAlpha);
    rig.device->SetRenderState(kRsDestBlend, c.blend == 2 ? kBlendOne : kBlendInvSrcAlpha);
    rig.SetFilter(false);
    ASSERT_EQ(rig.Quad(0, 0, 8, 1, 0xFFFFFFFF), kOk);
    for (int32_t x = 0; x < 8; ++x) {
      uint32_t a = texels[x] >> 24;
      bool pass = c.func == kCmpGreater ? a > c.ref : a >= c.ref;
      uint32_t dst = 0xFF000000;
      uint32_t want = dst;
      if (pass) {
        if (c.blend == 0)
          want = texels[x];
        else if (c.blend == 2)
          want = 0xFF000000 | (texels[x] & 0xFFFFFF);
        else {
          want = 0;
          for (int s = 0; s < 32; s += 8)
            want |= std::min<uint32_t>(
                        255, Mul255((texels[x] >> s) & 255, a) + Mul255((dst >> s) & 255, 255 - a))
                    << s;
        }
      }
      ASSERT_EQ(rig.At(x, 0), want) << "func " << c.func << " blend " << c.blend << " x " << x;
    }
  }
}

TEST_P(RasterPathsTest, AddressingModesRepeatMirrorAndClamp) {
  // A 4 x 1 texture drawn 1:1 over 12 pixels with u from -1 to 2 (point sampling).
  std::vector<uint32_t> texels = {0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004};
  struct Case {
    uint32_t mode;
    uint32_t want[12];
  };
  const Case cases[] = {
      {kTaddressWrap, {1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4}},
      {kTaddressMirror, {4, 3, 2, 1, 1, 2, 3, 4, 4, 3, 2, 1}},
      {kTaddressClamp, {1, 1, 1, 1, 1, 2, 3, 4, 4, 4, 4, 4}},
  };
  for (const Case& c : cases) {
    TRenderRig rig(12, 2, 0);
    rig.device->SetTexture(0, MakeTexture(*rig.display, 4, 1, texels));
    rig.device->SetTextureStageState(0, kTssAddressU, c.mode);
    rig.device->SetTextureStageState(0, kTssAddressV, c.mode);
    rig.SetFilter(false);
    ASSERT_EQ(rig.Quad(0, 0, 12, 2, 0xFFFFFFFF, -1, 0, 2, 1), kOk);
    for (int32_t x = 0; x < 12; ++x)
      ASSERT_EQ(rig.At(x, 1), 0xFF000000 | c.want[x]) << "mode " << c.mode << " x " << x;
  }
}

TEST_P(RasterPathsTest, BilinearSamplesBetweenTexelCentres) {
  // Texels 0 and 255 drawn at twice their size: pixel centres fall at quarter texels.
  TRenderRig rig(4, 1, 0);
  rig.device->SetTexture(0, MakeTexture(*rig.display, 2, 1, {0xFF000000, 0xFF0000FF}));
  rig.device->SetRenderState(kRsAlphaBlendEnable, 0);
  ASSERT_EQ(rig.Quad(0, 0, 4, 1, 0xFFFFFFFF), kOk);
  // u W - 0.5 at the pixel centres: -0.25 (clamped to texel 0), 0.25, 0.75, 1.25 (clamped).
  EXPECT_EQ(rig.At(0, 0) & 0xFF, 0u);
  EXPECT_EQ(rig.At(1, 0) & 0xFF, 64u);   // (255 * 64 + 128) >> 8
  EXPECT_EQ(rig.At(2, 0) & 0xFF, 191u);  // (255 * 192 + 128) >> 8
  EXPECT_EQ(rig.At(3, 0) & 0xFF, 255u);
}

TEST_P(RasterPathsTest, CombinerOperationsWithTheTextureFactor) {
  struct Case {
    uint32_t colorOp, colorArg1, colorArg2, alphaOp, alphaArg1, alphaArg2, want;
  };
  // Texel 0x80FF8040, vertex colour 0x40808080, texture factor 0xC0204060.
  const Case cases[] = {
      // The engine's alpha blend: texture times vertex colour, alpha too.
      {kTopModulate, kTaTexture, kTaCurrent, kTopModulate, kTaTexture, kTaDiffuse, 0x20804020},
      // A negative draw alpha: the vertex alpha alone.
      {kTopModulate, kTaTexture, kTaCurrent, kTopSelectArg2, kTaTexture, kTaDiffuse, 0x40804020},
      // Opaque: alpha from the texture factor.
      {kTopModulate, kTaTexture, kTaCurrent, kTopSelectArg1, kTaTFactor, kTaDiffuse, 0xC0804020},
      {kTopSelectArg1, kTaTFactor, kTaCurrent, kTopSelectArg1, kTaTexture, kTaDiffuse, 0x80204060},
      {kTopModulate, kTaTexture, kTaTFactor, kTopModulate, kTaTFactor, kTaDiffuse, 0x30202018},
      {kTopDisable, kTaTexture, kTaCurrent, kTopModulate, kTaTexture, kTaDiffuse, 0x40808080},
  };
  for (const Case& c : cases) {
    TRenderRig rig(4, 1, 0);
    rig.device->SetTexture(0,
                           MakeTexture(*rig.display, 4, 1, std::vector<uint32_t>(4, 0x80FF8040)));
    rig.device->SetRenderState(kRsAlphaBlendEnable, 0);
    rig.device->SetRenderState(kRsAlphaTestEnable, 0);
    rig.device->SetRenderState(kRsTextureFactor, 0xC0204060);
    rig.device->SetTextureStageState(0, kTssColorOp, c.colorOp);
    rig.device->SetTextureStageState(0, kTssColorArg1, c.colorArg1);
    rig.device->SetTextureStageState(0, kTssColorArg2, c.colorArg2);
    rig.device->SetTextureStageState(0, kTssAlphaOp, c.alphaOp);
    rig.device->SetTextureStageState(0, kTssAlphaArg1, c.alphaArg1);
    rig.device->SetTextureStageState(0, kTssAlphaArg2, c.alphaArg2);
    ASSERT_EQ(rig.Quad(0, 0, 4, 1, 0x40808080), kOk);
    for (int32_t x = 0; x < 4; ++x)
      ASSERT_EQ(rig.At(x, 0), c.want) << std::hex << c.want << " " << x;
  }
}

TEST_P(RasterPathsTest, MipLevelFollowsTheScreenSizeWhenMipFilteringIsOn) {
  TRenderRig rig(8, 8, 0);
  TSurfaceDesc d;
  d.flags = kDescCaps | kDescWidth | kDescHeight | kDescPixelFormat | kDescMipMapCount;
  d.width = d.height = 16, d.format = kFmtA8R8G8B8, d.mipMapCount = 3;
  d.caps = kCapsTexture | kCapsMipMap | kCapsComplex;
  TSurfacePtr tex;
  ASSERT_EQ(rig.display->CreateSurface(d, &tex), kOk);
  const uint32_t colours[3] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
  int level = 0;
  for (TSurfacePtr l = tex; l; l = l->GetAttachedSurface(kCapsMipMap), ++level)
    FillArgb(*l, std::vector<uint32_t>(size_t(l->Width()) * l->Height(), colours[level]));
  ASSERT_EQ(level, 3);
  rig.device->SetTexture(0, tex);
  rig.device->SetRenderState(kRsAlphaBlendEnable, 0);
  for (uint32_t mip : {kTfpNone, kTfpPoint, kTfpLinear}) {
    rig.device->SetTextureStageState(0, kTssMipFilter, mip);
    ASSERT_EQ(rig.Quad(0, 0, 8, 8, 0xFFFFFFFF), kOk);  // 16 texels onto 8 pixels: level 1
    EXPECT_EQ(rig.At(3, 3), mip == kTfpNone ? colours[0] : colours[1]) << mip;
    ASSERT_EQ(rig.Quad(0, 0, 4, 4, 0xFFFFFFFF), kOk);  // onto 4 pixels: level 2
    EXPECT_EQ(rig.At(1, 1), mip == kTfpNone ? colours[0] : colours[2]) << mip;
  }
}

TEST_P(RasterPathsTest, PerspectiveCorrectTexturesWhenRhwVaries) {
  // Red then blue texel; w = 1 at the left edge, 3 at the right. Texture coordinate 0.5 (the
  // colour change) lies three quarters of the way across, not half way.
  TRenderRig rig(8, 1, 0);
  rig.device->SetTexture(0, MakeTexture(*rig.display, 2, 1, {0xFFFF0000, 0xFF0000FF}));
  rig.device->SetRenderState(kRsAlphaBlendEnable, 0);
  rig.SetFilter(false);
  const float q = 1.0f / 3;
  TLVertex v[4] = {{-0.5f, -0.5f, 0, 1, 0xFFFFFFFF, 0, 0, 0},
                   {7.5f, -0.5f, 0, q, 0xFFFFFFFF, 0, 1, 0},
                   {7.5f, 0.5f, 0, q, 0xFFFFFFFF, 0, 1, 1},
                   {-0.5f, 0.5f, 0, 1, 0xFFFFFFFF, 0, 0, 1}};
  ASSERT_EQ(rig.device->DrawPrimitive(kPtTriangleFan, kFvfTLVertex, v, 4), kOk);
  for (int32_t x = 0; x < 8; ++x) EXPECT_EQ(rig.At(x, 0), x < 6 ? 0xFFFF0000u : 0xFF0000FFu) << x;
}

TEST_P(RasterPathsTest, SpecularAddsToTheColourOnlyWhenEnabled) {
  TRenderRig rig(4, 1, 0);
  rig.device->SetRenderState(kRsAlphaBlendEnable, 0);
  TLVertex v[4] = {{-0.5f, -0.5f, 0, 1, 0x80404040, 0x00F02030, 0, 0},
                   {3.5f, -0.5f, 0, 1, 0x80404040, 0x00F02030, 1, 0},
                   {3.5f, 0.5f, 0, 1, 0x80404040, 0x00F02030, 1, 1},
                   {-0.5f, 0.5f, 0, 1, 0x80404040, 0x00F02030, 0, 1}};
  ASSERT_EQ(rig.device->DrawPrimitive(kPtTriangleFan, kFvfTLVertex, v, 4), kOk);
  EXPECT_EQ(rig.At(1, 0), 0x80404040u);
  rig.device->SetRenderState(kRsSpecularEnable, 1);
  ASSERT_EQ(rig.device->DrawPrimitive(kPtTriangleFan, kFvfTLVertex, v, 4), kOk);
  EXPECT_EQ(rig.At(1, 0), 0x80FF6070u);  // saturated red, alpha untouched
}

// Slivers, enormous positions and texture coordinates, and NaN must draw something defined (the
// sanitized build checks the arithmetic) and never outside the viewport.
TEST_P(RasterPathsTest, DegenerateInputStaysDefinedAndInside) {
  TRenderRig rig(16, 16, 0);
  rig.device->SetTexture(0, MakeTexture(*rig.display, 4, 4, std::vector<uint32_t>(16, 0xFF808080)));
  rig.device->SetTextureStageState(0, kTssAddressU, kTaddressWrap);
  rig.device->SetTextureStageState(0, kTssAddressV, kTaddressMirror);
  rig.device->SetViewport(TViewport{2, 2, 12, 12});
  const float big = 1e30f, nan = std::nanf("");
  const TLVertex tris[][3] = {
      {{-big, -big, 0, 1, 0xFF000000, 0, big, -big},
       {big, 0, 0, 1, 0xFFFFFFFF, 0, -big, big},
       {0, big, 0, 1, 0x00FFFFFF, 0, 1, 1}},
      {{3, 3, 0, 1, 0xFF000000, 0, 0, 0},
       {13, 3.0001f, 0, 1, 0xFFFFFFFF, 0, 1e9f, 0},
       {3, 3.0002f, 0, 1, 0x00FFFFFF, 0, 0, 1e9f}},
      {{3, 3, 0, 1e-30f, 0xFF000000, 0, 1e20f, 0},
       {13, 3, 0, 1e30f, 0xFFFFFFFF, 0, 0, 1},
       {3, 13, 0, 1, 0x00FFFFFF, 0, 5, 5}},
      {{nan, 3, 0, 1, 0xFF000000, 0, 0, 0},
       {13, 3, 0, 1, 0xFFFFFFFF, 0, nan, 0},
       {3, 13, 0, 1, 0x00FFFFFF, 0, 0, 1}},
      {{3, 3, 0, 1, 0xFF000000, 0, nan, nan},
       {13, 3, 0, 1, 0xFFFFFFFF, 0, 0, 0},
       {3, 13, 0, nan, 0x00FFFFFF, 0, 0, 1}},
  };
  for (const auto& t : tris) {
    ASSERT_EQ(rig.device->DrawPrimitive(kPtTriangleList, kFvfTLVertex, t, 3), kOk);
    ASSERT_EQ(rig.device->DrawPrimitive(kPtLineStrip, kFvfTLVertex, t, 3), kOk);
  }
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < 16; ++x)
      if (x < 2 || x >= 14 || y < 2 || y >= 14) {
        ASSERT_EQ(rig.At(x, y), 0u) << x << "," << y;
      }
}

TEST_P(RasterPathsTest, ViewportAlwaysClips) {
  TRenderRig rig(32, 32, 0);
  rig.device->SetRenderState(kRsClipping, 0);
  TViewport vp{10, 12, 6, 5};
  ASSERT_EQ(rig.device->SetViewport(vp), kOk);
  ASSERT_EQ(rig.Quad(-100, -100, 300, 300, 0xFFFFFFFF), kOk);
  for (int32_t y = 0; y < 32; ++y)
    for (int32_t x = 0; x < 32; ++x) {
      bool inside = x >= 10 && x < 16 && y >= 12 && y < 17;
      ASSERT_EQ(rig.At(x, y), inside ? 0xFFFFFFFFu : 0u) << x << "," << y;
    }
}

TEST_P(RasterPathsTest, LinesLightTheDesignedPixels) {
  TRenderRig rig(16, 16, 0);
  rig.device->SetRenderState(kRsAlphaBlendEnable, 0);
  // The text rasteriser's run: one pixel per run with its measured offsets (-0.75, -0.75, 0).
  TLVertex run[2] = {{1 - 0.75f, 1, 0.1f, 0.5f, 0xFFFFFFFF, 0, 0, 0},
                     {2 - 0.75f, 1, 0.1f, 0.5f, 0xFFFFFFFF, 0, 0, 0}};
  // A longer run, a diagonal and a steep line.
  TLVertex more[6] = {{3.0f, 5.4f, 0.1f, 0.5f, 0xFF00FF00, 0, 0, 0},
                      {9.0f, 5.4f, 0.1f, 0.5f, 0xFF00FF00, 0, 0, 0},
                      {0.0f, 8.0f, 0.1f, 0.5f, 0xFFFF0000, 0, 0, 0},
                      {4.0f, 12.0f, 0.1f, 0.5f, 0xFFFF0000, 0, 0, 0},
                      {14.2f, 2.0f, 0.1f, 0.5f, 0xFF0000FF, 0, 0, 0},
                      {14.2f, 6.0f, 0.1f, 0.5f, 0xFF0000FF, 0, 0, 0}};
  ASSERT_EQ(rig.device->DrawPrimitive(kPtLineList, kFvfTLVertex, run, 2), kOk);
  ASSERT_EQ(rig.device->DrawPrimitive(kPtLineList, kFvfTLVertex, more, 6), kOk);
  std::vector<std::pair<int, int>> lit;
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < 16; ++x)
      if (rig.At(x, y)) lit.push_back({x, y});
  std::vector<std::pair<int, int>> want = {{1, 1}, {14, 2}, {14, 3}, {14, 4}, {14, 5},
                                           {3, 5}, {4, 5},  {5, 5},  {6, 5},  {7, 5},
                                           {8, 5}, {0, 8},  {1, 9},  {2, 10}, {3, 11}};
  std::sort(want.begin(), want.end(), [](auto a, auto b) {
    return a.second != b.second ? a.second < b.second : a.first < b.first;
  });
  EXPECT_EQ(lit, want);
  EXPECT_EQ(rig.At(1, 1), 0xFFFFFFFFu);
  EXPECT_EQ(rig.At(5, 5), 0xFF00FF00u);
}

TEST_P(RasterPathsTest, LevelLinesShadeLikeNearlyLevelOnes) {
  // A level line is shaded as one span; a line a hair off level takes the per-pixel walk.
  // Blended, gouraud, clipped at both ends by the viewport: the two rows must agree.
  TRenderRig rig(20, 4, 0);
  ASSERT_EQ(rig.Quad(-1, -1, 40, 10, 0xFF204060), kOk);
  rig.device->SetRenderState(kRsAlphaBlendEnable, 1);
  rig.device->SetRenderState(kRsSrcBlend, kBlendSrcAlpha);
  rig.device->SetRenderState(kRsDestBlend, kBlendInvSrcAlpha);
  rig.device->SetRenderState(kRsShadeMode, kShadeGouraud);
  ASSERT_EQ(rig.device->SetViewport(TViewport{3, 0, 12, 4}), kOk);
  TLVertex level[2] = {{-2.25f, 1.0f, 0.1f, 0.5f, 0x80FF0000, 0, 0, 0},
                       {18.5f, 1.0f, 0.1f, 0.5f, 0x2000FF80, 0, 0, 0}};
  TLVertex tilted[2] = {{-2.25f, 2.0f, 0.1f, 0.5f, 0x80FF0000, 0, 0, 0},
                        {18.5f, 2.001f, 0.1f, 0.5f, 0x2000FF80, 0, 0, 0}};
  ASSERT_EQ(rig.device->DrawPrimitive(kPtLineList, kFvfTLVertex, level, 2), kOk);
  ASSERT_EQ(rig.device->DrawPrimitive(kPtLineList, kFvfTLVertex, tilted, 2), kOk);
  for (int32_t x = 0; x < 20; ++x) {
    EXPECT_EQ(rig.At(x, 1), rig.At(x, 2)) << x;
    const bool inside = x >= 3 && x < 15;
    EXPECT_EQ(rig.At(x, 1) != rig.At(x, 0), inside) << x;
  }
  EXPECT_NE(rig.At(3, 1), rig.At(14, 1));  // the colour really changes along the line
}

TEST_P(RasterPathsTest, CoverageGlyphsLightWhatLevelLinesLight) {
  // The same random coverage glyphs drawn as glyphs on one target and, pixel by pixel, as level
  // lines of the covered colour on another, over the same random pixels, under every write the
  // engine uses and a few it does not: the two must agree on every bit. Glyphs read no texture
  // (one is bound on the glyph side only) and ignore depth; some lie inside the viewport, some
  // are clipped by it, some lie outside. Their rows overlap, in any slot; coverage comes in
  // stretches of none, full and random, so that whole groups of pixels are skipped, stored or
  // blended; some colours are opaque, some transparent.
  struct TCase {
    bool blend;
    uint32_t srcBlend, destBlend, alphaRef, alphaFunc, colorOp, alphaArg1, alphaOp;
  };
  const TCase cases[] = {
      {true, kBlendSrcAlpha, kBlendInvSrcAlpha, 1, kCmpGreaterEqual, kTopModulate, kTaTexture,
       kTopModulate},
      {true, kBlendSrcAlpha, kBlendOne, 1, kCmpGreaterEqual, kTopModulate, kTaTexture,
       kTopModulate},
      {true, kBlendOne, kBlendOne, 1, kCmpGreaterEqual, kTopModulate, kTaTexture, kTopModulate},
      {false, kBlendOne, kBlendZero, 1, kCmpGreaterEqual, kTopModulate, kTaTexture, kTopModulate},
      {false, kBlendOne, kBlendZero, 0, kCmpAlways, kTopSelectArg1, kTaTFactor, kTopSelectArg1},
      {true, kBlendInvSrcAlpha, kBlendInvSrcColor, 1, kCmpGreaterEqual, kTopModulate, kTaTexture,
       kTopModulate},
      {true, kBlendSrcAlpha, kBlendInvSrcAlpha, 0x80, kCmpGreater, kTopModulate, kTaTexture,
       kTopModulate},
      {true, kBlendSrcAlpha, kBlendInvSrcAlpha, 0, kCmpAlways, kTopModulate, kTaDiffuse,
       kTopSelectArg1},
  };
  constexpr int kWidth = 72, kHeight = 24;
  TRandom random(11);
  std::vector<TRasterCoverageGlyph> glyphs(160);
  std::vector<std::vector<TRasterGlyphRow>> rows(glyphs.size());
  std::vector<std::vector<uint8_t>> coverage(glyphs.size());
  for (size_t g = 0; g < glyphs.size(); ++g) {
    TRasterCoverageGlyph& glyph = glyphs[g];
    glyph.x = int32_t(random.Next() % (kWidth + 12)) - 8;
    glyph.y = int32_t(random.Next() % (kHeight + 6)) - 4;
    for (uint32_t& colour : glyph.colours) {
      colour =
          uint32_t(random.Next()) << 17 ^ uint32_t(random.Next()) << 2 ^ uint32_t(random.Next());
      if (random.Next() % 5 == 0) colour &= 0x00FFFFFF;
      if (random.Next() % 3 == 0) colour |= 0xFF000000;
    }
    std::vector<uint8_t>& bytes = coverage[g];
    for (uint32_t n = 1 + random.Next() % 8; n > 0; --n) {
      const TRasterGlyphRow row{int16_t(int(random.Next() % 14) - 4), int16_t(random.Next() % 6),
                                uint16_t(random.Next() % 40), uint8_t(random.Next() % 4)};
      rows[g].push_back(row);
      const size_t end = bytes.size() + row.count;
      while (bytes.size() < end) {
        const uint32_t kind = random.Next() % 3, stretch = 1 + random.Next() % 12;
        for (uint32_t k = 0; k < stretch; ++k)
          bytes.push_back(kind == 0 ? 0 : kind == 1 ? 16 : uint8_t(random.Next() % 17));
      }
      bytes.resize(end);
      glyph.box.left = std::min(glyph.box.left, row.x0);
      glyph.box.right = std::max(glyph.box.right, int16_t(row.x0 + row.count));
      glyph.box.bottom = std::max(glyph.box.bottom, int16_t(row.row + 1));
    }
    // A box too small for the rows must not let them past the target: they are clipped.
    if (g % 9 == 0) glyph.box = {0, 0, 1, 1};
    bytes.resize(bytes.size() + kCoverageReadSlack, 0xEE);  // the slack is ignored
    glyph.rows = rows[g].data();
    glyph.rowCount = uint32_t(rows[g].size());
    glyph.coverage = bytes.data();
  }
  const std::vector<uint32_t> background = RandomPixels(kWidth * kHeight, 5);
  for (const TCase& c : cases) {
    TRenderRig asRows(kWidth, kHeight), asLines(kWidth, kHeight);
    asRows.device->SetTexture(0, MakeTexture(*asRows.display, 2, 2, RandomPixels(4, 3)));
    TSurfacePtr z = MakeSurface(*asRows.display, kWidth, kHeight, kFmtZ16, kCapsZBuffer);
    ASSERT_EQ(asRows.target->AddAttachedSurface(z), kOk);
    asRows.device->Clear(0, nullptr, kClearZBuffer, 0, 0.0f);
    asRows.device->SetRenderState(kRsZEnable, 1);
    for (TRenderRig* rig : {&asRows, &asLines}) {
      FillArgb(*rig->target, background);
      TDevice3d& d = *rig->device;
      d.SetRenderState(kRsAlphaBlendEnable, c.blend);
      d.SetRenderState(kRsSrcBlend, c.srcBlend);
      d.SetRenderState(kRsDestBlend, c.destBlend);
      d.SetRenderState(kRsAlphaRef, c.alphaRef);
      d.SetRenderState(kRsAlphaFunc, c.alphaFunc);
      d.SetRenderState(kRsTextureFactor, 0xC0FFFFFF);
      d.SetTextureStageState(0, kTssColorOp, c.colorOp);
      d.SetTextureStageState(0, kTssAlphaArg1, c.alphaArg1);
      d.SetTextureStageState(0, kTssAlphaOp, c.alphaOp);
      ASSERT_EQ(d.SetViewport(TViewport{1, 2, kWidth - 3, 20}), kOk);
    }
    ASSERT_EQ(asRows.device->DrawCoverage(glyphs.data(), uint32_t(glyphs.size())), kOk);
    for (const TRasterCoverageGlyph& g : glyphs) {
      const uint8_t* covered = g.coverage;
      for (uint32_t k = 0; k < g.rowCount; ++k) {
        const TRasterGlyphRow& r = g.rows[k];
        const uint32_t rowColour = g.colours[r.slot];
        for (int32_t i = 0; i < r.count; ++i, ++covered) {
          if (*covered == 0) continue;
          const uint32_t colour = (rowColour & 0x00FFFFFF) | ((rowColour >> 24) * *covered >> 4)
                                                                 << 24;
          const float x = float(g.x + r.x0 + i), y = float(g.y + r.row);
          TLVertex line[2] = {{x - 0.5f, y, 0.1f, 0.5f, colour, 0, 0, 0},
                              {x + 0.5f, y, 0.1f, 0.5f, colour, 0, 0, 0}};
          ASSERT_EQ(asLines.device->DrawPrimitive(kPtLineList, kFvfTLVertex, line, 2), kOk);
        }
      }
    }
    ASSERT_EQ(asRows.Pixels(), asLines.Pixels()) << c.srcBlend << "/" << c.destBlend;
  }
  // Outside a scene nothing is drawn; null glyphs, and glyphs with rows but without row records
  // or coverage, are refused.
  TRenderRig rig(4, 4);
  rig.device->EndScene();
  EXPECT_EQ(rig.device->DrawCoverage(glyphs.data(), 1), kErrFail);
  rig.device->BeginScene();
  EXPECT_EQ(rig.device->DrawCoverage(nullptr, 1), kErrInvalidArg);
  EXPECT_EQ(rig.device->DrawCoverage(nullptr, 0), kOk);
  TRasterCoverageGlyph bare = glyphs[0];
  bare.coverage = nullptr;
  EXPECT_EQ(rig.device->DrawCoverage(&bare, 1), kErrInvalidArg);
  bare = glyphs[0];
  bare.rows = nullptr;
  EXPECT_EQ(rig.device->DrawCoverage(&bare, 1), kErrInvalidArg);
}

TEST_P(RasterPathsTest, NoTextureReadsOpaqueWhiteAndGouraudInterpolates) {
  TRenderRig rig(16, 1, 0);
  rig.device->SetRenderState(kRsAlphaBlendEnable, 0);
  rig.device->SetRenderState(kRsShadeMode, kShadeGouraud);
  // Red 0 at the left edge (x = -0.5) to 255 at the right (x = 15.5): 255 (i + 0.5) / 16.
  TLVertex q[4] = {{-0.5f, -0.5f, 0, 1, 0xFF000000, 0, 0, 0},
                   {15.5f, -0.5f, 0, 1, 0xFFFF0000, 0, 0, 0},
                   {15.5f, 0.5f, 0, 1, 0xFFFF0000, 0, 0, 0},
                   {-0.5f, 0.5f, 0, 1, 0xFF000000, 0, 0, 0}};
  ASSERT_EQ(rig.device->DrawPrimitive(kPtTriangleFan, kFvfTLVertex, q, 4), kOk);
  for (int32_t x = 0; x < 16; ++x)
    EXPECT_EQ(rig.At(x, 0), 0xFF000000u | uint32_t(std::lround(255.0 * (x + 0.5) / 16)) << 16) << x;
  rig.device->SetRenderState(kRsShadeMode, kShadeFlat);
  ASSERT_EQ(rig.device->DrawPrimitive(kPtTriangleFan, kFvfTLVertex, q, 4), kOk);
  // Flat: each fan triangle takes its first outer vertex (here both red).
  EXPECT_EQ(rig.At(0, 0), 0xFFFF0000u);
}

TEST_P(RasterPathsTest, DepthTestKeepsTheNearerSurface) {
  TRenderRig rig(8, 8, 0);
  TSurfacePtr z = MakeSurface(*rig.display, 8, 8, kFmtZ16, kCapsZBuffer);
  ASSERT_EQ(rig.target->AddAttachedSurface(z), kOk);
  rig.device->Clear(0, nullptr, kClearZBuffer, 0, 1.0f);
  rig.device->SetRenderState(kRsZEnable, 1);
  rig.device->SetRenderState(kRsZWriteEnable, 1);
  rig.device->SetRenderState(kRsAlphaBlendEnable, 0);
  auto quad = [&](float x, float z, uint32_t c) {
    TLVertex q[4] = {{x - 0.5f, -0.5f, z, 1, c, 0, 0, 0},
                     {x + 3.5f, -0.5f, z, 1, c, 0, 0, 0},
                     {x + 3.5f, 7.5f, z, 1, c, 0, 0, 0},
                     {x - 0.5f, 7.5f, z, 1, c, 0, 0, 0}};
    return rig.device->DrawPrimitive(kPtTriangleFan, kFvfTLVertex, q, 4);
  };
  ASSERT_EQ(quad(0, 0.25f, 0xFFFF0000), kOk);
  ASSERT_EQ(quad(2, 0.75f, 0xFF00FF00), kOk);  // behind the red one where they overlap
  ASSERT_EQ(quad(4, 0.5f, 0xFF0000FF), kOk);   // in front of the green one
  uint32_t want[8] = {0xFFFF0000, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000,
                      0xFF0000FF, 0xFF0000FF, 0xFF0000FF, 0xFF0000FF};
  for (int32_t x = 0; x < 8; ++x) EXPECT_EQ(rig.At(x, 4), want[x]) << x;
}

std::string PathsName(const ::testing::TestParamInfo<TRasterPaths>& info) {
  switch (info.param) {
    case TRasterPaths::kGeneral:
      return "General";
    case TRasterPaths::kSse2:
      return "Sse2";
    case TRasterPaths::kAvx2:
      return "Avx2";
    default:
      return "Avx512";
  }
}

INSTANTIATE_TEST_SUITE_P(AllPaths, RasterPathsTest,
                         ::testing::Values(TRasterPaths::kGeneral, TRasterPaths::kSse2,
                                           TRasterPaths::kAvx2, TRasterPaths::kAvx512),
                         PathsName);

// A busy scene drawn on every set of paths must give the same bytes.
TEST(Raster, FastPathsGiveTheGeneralPathsPixels) {
  auto render = [](TRasterPaths paths) {
    SetRasterPaths(paths);
    TRenderRig rig(160, 120, 0xFF202830);
    std::vector<uint32_t> texels = RandomPixels(64 * 64, 3);
    for (size_t i = 0; i < texels.size(); i += 7) texels[i] &= 0x00FFFFFF;  // some alpha 0
    TSurfacePtr tex = MakeTexture(*rig.display, 64, 64, texels);
    rig.device->SetTexture(0, tex);
    TRandom r(5);
    const uint32_t pairs[][3] = {{1, kBlendSrcAlpha, kBlendInvSrcAlpha},
                                 {1, kBlendOne, kBlendOne},
                                 {1, kBlendSrcAlpha, kBlendOne},
                                 {1, kBlendInvSrcAlpha, kBlendInvSrcColor},
                                 {0, kBlendOne, kBlendZero}};
    for (int i = 0; i < 120; ++i) {
      const uint32_t* p = pairs[i % 5];
      rig.device->SetRenderState(kRsAlphaBlendEnable, p[0]);
      rig.device->SetRenderState(kRsSrcBlend, p[1]);
      rig.device->SetRenderState(kRsDestBlend, p[2]);
      rig.SetFilter(i % 3 != 0);
      bool opaque = i % 5 == 4;
      rig.device->SetTextureStageState(0, kTssAlphaArg1, opaque ? kTaTFactor : kTaTexture);
      rig.device->SetTextureStageState(0, kTssAlphaOp, opaque ? kTopSelectArg1 : kTopModulate);
      rig.device->SetRenderState(kRsTextureFactor, 0xFFFFFFFF);
      uint32_t colour = i % 4 == 0 ? 0xFFFFFFFF : (uint32_t(r.Next()) << 17 | uint32_t(r.Next()));
      float x = float(r.Next() % 200) - 20, y = float(r.Next() % 160) - 20;
      if (i % 2) {
        // 1:1 quads at whole pixels (the fast texel rows) with part of the texture.
        float u0 = float(r.Next() % 32) / 64, v0 = float(r.Next() % 32) / 64;
        rig.Quad(std::floor(x), std::floor(y), 32, 24, colour, u0, v0, u0 + 0.5f, v0 + 24.f / 64);
      } else {
        // Rotated, scaled quads with Gouraud colours.
        float a = float(r.Next() % 628) / 100, s = 0.5f + float(r.Next() % 100) / 50;
        float c = std::cos(a) * 32 * s, sn = std::sin(a) * 32 * s;
        TLVertex q[4] = {{x - c + sn, y - sn - c, 0.1f, 0.5f, colour, 0, 0, 0},
                         {x + c + sn, y + sn - c, 0.1f, 0.5f, 0xFF80FF80, 0, 1, 0},
                         {x + c - sn, y + sn + c, 0.1f, 0.5f, colour, 0, 1, 1},
                         {x - c - sn, y - sn + c, 0.1f, 0.5f, 0x80FFFFFF, 0, 0, 1}};
        rig.device->DrawPrimitive(kPtTriangleFan, kFvfTLVertex, q, 4);
      }
    }
    SetRasterPaths(BestRasterPaths());
    return rig.Pixels();
  };
  std::vector<uint32_t> general = render(TRasterPaths::kGeneral);
  for (TRasterPaths paths : {TRasterPaths::kSse2, TRasterPaths::kAvx2, BestRasterPaths()}) {
    std::vector<uint32_t> fast = render(paths);
    ASSERT_EQ(fast.size(), general.size());
    size_t differ = 0;
    for (size_t i = 0; i < fast.size(); ++i) differ += fast[i] != general[i];
    EXPECT_EQ(differ, 0u) << "paths " << int(paths);
  }
}

// Textures scaled by constant colours (fading particles, sprites and text with alpha): every
// stage that is the texel times a constant, the texel or a constant gives the general path's
// bytes on every set of paths, bilinear and point, 1:1 and scaled, with each fast write.
TEST(Raster, TexturesScaledByConstantColoursGiveTheGeneralPathsPixels) {
  struct TStages {
    uint32_t colourOp, colourArg1, colourArg2, alphaOp, alphaArg1, alphaArg2;
  };
  const TStages stages[] = {
      {kTopModulate, kTaTexture, kTaDiffuse, kTopModulate, kTaTexture, kTaDiffuse},
      {kTopModulate, kTaDiffuse, kTaTexture, kTopSelectArg1, kTaTexture, kTaDiffuse},
      {kTopModulate, kTaTexture, kTaTFactor, kTopSelectArg2, kTaTexture, kTaDiffuse},
      {kTopSelectArg1, kTaTexture, kTaDiffuse, kTopModulate, kTaTFactor, kTaTexture},
      {kTopSelectArg2, kTaTexture, kTaDiffuse, kTopModulate, kTaTexture, kTaCurrent},
      {kTopModulate, kTaDiffuse, kTaTFactor, kTopModulate, kTaTexture, kTaDiffuse},
  };
  const uint32_t blends[][3] = {{1, kBlendSrcAlpha, kBlendInvSrcAlpha},
                                {1, kBlendSrcAlpha, kBlendOne},
                                {1, kBlendOne, kBlendOne},
                                {0, kBlendOne, kBlendZero}};
  auto render = [&](TRasterPaths paths) {
    SetRasterPaths(paths);
    TRenderRig rig(96, 80, 0xFF405060);
    std::vector<uint32_t> texels = RandomPixels(32 * 32, 11);
    TSurfacePtr tex = MakeTexture(*rig.display, 32, 32, texels);
    rig.device->SetTexture(0, tex);
    rig.device->SetRenderState(kRsTextureFactor, 0xC080FF40);
    TRandom r(17);
    for (int i = 0; i < 96; ++i) {
      const TStages& st = stages[i % 6];
      rig.device->SetTextureStageState(0, kTssColorOp, st.colourOp);
      rig.device->SetTextureStageState(0, kTssColorArg1, st.colourArg1);
      rig.device->SetTextureStageState(0, kTssColorArg2, st.colourArg2);
      rig.device->SetTextureStageState(0, kTssAlphaOp, st.alphaOp);
      rig.device->SetTextureStageState(0, kTssAlphaArg1, st.alphaArg1);
      rig.device->SetTextureStageState(0, kTssAlphaArg2, st.alphaArg2);
      const uint32_t* b = blends[(i / 6) % 4];
      rig.device->SetRenderState(kRsAlphaBlendEnable, b[0]);
      rig.device->SetRenderState(kRsSrcBlend, b[1]);
      rig.device->SetRenderState(kRsDestBlend, b[2]);
      rig.SetFilter(i % 3 != 0);
      const uint32_t colour = uint32_t(r.Next()) << 17 ^ uint32_t(r.Next()) << 2;
      const float x = float(r.Next() % 90) - 8, y = float(r.Next() % 74) - 8;
      if (i % 2)
        rig.Quad(std::floor(x), std::floor(y), 21, 13, colour, 0.25f, 0.125f, 0.25f + 21 / 32.f,
                 0.125f + 13 / 32.f);
      else
        rig.Quad(x + 0.3f, y + 0.6f, 27.5f, 19.25f, colour);  // scaled, at fractions of pixels
    }
    SetRasterPaths(BestRasterPaths());
    return rig.Pixels();
  };
  const std::vector<uint32_t> general = render(TRasterPaths::kGeneral);
  for (TRasterPaths paths : {TRasterPaths::kSse2, TRasterPaths::kAvx2, BestRasterPaths()}) {
    if (paths > BestRasterPaths()) continue;
    EXPECT_EQ(render(paths), general) << "paths " << int(paths);
  }
}

}  // namespace
}  // namespace sd::test
