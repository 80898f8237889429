// The software 3-D device: projection paths, near-plane clipping, lighting and culling.
#include "tvlib/platform/render/TDevice3d.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/platform/render/RenderTestUtil.h"
#include "tvlib/platform/render/TDeviceMath.h"
#include "tvlib/platform/render/TFaultHook.h"

namespace sd::test {
namespace {

// The engine's 0x1E2 layout: position, reserved, diffuse, specular, u, v.
struct LVertex {
  float x, y, z;
  uint32_t reserved, diffuse, specular;
  float u, v;
};
// The engine's 0x112 layout: position, normal, u, v.
struct Vertex {
  float x, y, z, nx, ny, nz, u, v;
};

TEST(Device3d, OrthographicPathDrawsWhatScreenSpaceDraws) {
  // The embedded path: screen-space quads sent as 0x1E2 under an off-centre orthographic
  // projection over the viewport land on the same pixels.
  TRenderRig screen(40, 30, 0), ortho(40, 30, 0);
  screen.Quad(3.25f, 4.75f, 20, 13, 0xFFFF8040);
  TMatrix p = MatrixOrthoOffCenterLH(0, 40, 30, 0, 0.1f, 1000);
  p.m[2][2] = 1, p.m[3][2] = 0;  // z passes unchanged, as the engine sets it
  ortho.device->SetTransform(kTransformProjection, p);
  float l = 3.25f - 0.5f, t = 4.75f - 0.5f, r = l + 20, b = t + 13;
  LVertex q[4] = {{l, t, 0.1f, 0, 0xFFFF8040, 0, 0, 0},
                  {r, t, 0.1f, 0, 0xFFFF8040, 0, 1, 0},
                  {r, b, 0.1f, 0, 0xFFFF8040, 0, 1, 1},
                  {l, b, 0.1f, 0, 0xFFFF8040, 0, 0, 1}};
  ASSERT_EQ(ortho.device->DrawPrimitive(kPtTriangleFan, kFvfLVertex, q, 4), kOk);
  EXPECT_EQ(ortho.Pixels(), screen.Pixels());
  EXPECT_EQ(ortho.At(10, 10), 0xFFFF8040u);
}

TEST(Device3d, PerspectiveTrianglesAreClippedAtTheNearPlane) {
  TRenderRig rig(32, 32, 0);
  rig.device->SetRenderState(kRsClipping, 1);
  rig.device->SetTransform(kTransformView, MatrixLookAtLH({0, 0, -5}, {0, 0, 0}, {0, 1, 0}));
  rig.device->SetTransform(kTransformProjection,
                           MatrixPerspectiveFovLH(0.7853982f, 1.0f, 1.0f, 100.0f));
  // A floor-like triangle reaching behind the eye: drawn without blowing up.
  LVertex t[3] = {{-2, -1, -20, 0, 0xFF00FF00, 0, 0, 0},
                  {2, -1, -20, 0, 0xFF00FF00, 0, 0, 0},
                  {0, -1, 20, 0, 0xFF00FF00, 0, 0, 0}};
  ASSERT_EQ(rig.device->DrawPrimitive(kPtTriangleList, kFvfLVertex, t, 3), kOk);
  int lit = 0;
  for (uint32_t p : rig.Pixels()) lit += p == 0xFF00FF00;
  EXPECT_GT(lit, 20);
  EXPECT_EQ(rig.At(16, 2), 0u);  // the top of the view sees nothing of a floor
}

TEST(Device3d, DirectionalLightOnTheMaterial) {
  TRenderRig rig(8, 8, 0);
  rig.device->SetRenderState(kRsLighting, 1);
  rig.device->SetRenderState(kRsAlphaBlendEnable, 0);
  rig.device->SetRenderState(kRsAmbient, 0xFF202020);
  for (uint32_t s : {kRsDiffuseMaterialSource, kRsAmbientMaterialSource, kRsSpecularMaterialSource,
                     kRsEmissiveMaterialSource})
    rig.device->SetRenderState(s, kMcsMaterial);
  TMaterial m;
  m.diffuse = {1.0f, 0.6f, 0.0f, 1.0f};
  m.ambient = {1.0f, 1.0f, 1.0f, 1.0f};
  rig.device->SetMaterial(m);
  TLight light;
  light.type = kLightDirectional;
  light.diffuse = {1, 1, 1, 1};
  light.direction = {0, 0, 1};  // shining along +z, onto a face whose normal is -z
  ASSERT_EQ(rig.device->SetLight(0, light), kOk);
  ASSERT_EQ(rig.device->LightEnable(0, true), kOk);
  rig.device->SetTransform(kTransformProjection, MatrixOrthoOffCenterLH(0, 8, 8, 0, 0, 1));
  Vertex v[3] = {{-1, -1, 0.5f, 0, 0, -1, 0, 0},
                 {20, -1, 0.5f, 0, 0, -1, 0, 0},
                 {-1, 20, 0.5f, 0, 0, -1, 0, 0}};
  ASSERT_EQ(rig.device->DrawPrimitive(kPtTriangleList, kFvfVertex, v, 3), kOk);
  // Red: 1 plus ambient, saturated; green: 0.6 plus ambient 32/255; blue: ambient only.
  uint32_t c = rig.At(2, 2);
  EXPECT_EQ((c >> 16) & 255, 255u);
  EXPECT_EQ((c >> 8) & 255, 185u);
  EXPECT_EQ(c & 255, 32u);
  rig.device->LightEnable(0, false);
  rig.device->DrawPrimitive(kPtTriangleList, kFvfVertex, v, 3);
  EXPECT_EQ(rig.At(2, 2), 0xFF202020u);
}

TEST(Device3d, CullingFollowsTheScreenWinding) {
  TRenderRig rig(8, 8, 0);
  rig.device->SetRenderState(kRsAlphaBlendEnable, 0);
  TLVertex cw[3] = {{0, 0, 0, 1, 0xFFFFFFFF, 0, 0, 0},
                    {8, 0, 0, 1, 0xFFFFFFFF, 0, 0, 0},
                    {0, 8, 0, 1, 0xFFFFFFFF, 0, 0, 0}};
  TLVertex ccw[3] = {cw[0], cw[2], cw[1]};
  rig.device->SetRenderState(kRsCullMode, kCullCcw);
  rig.device->DrawPrimitive(kPtTriangleList, kFvfTLVertex, ccw, 3);
  EXPECT_EQ(rig.At(1, 1), 0u);
  rig.device->DrawPrimitive(kPtTriangleList, kFvfTLVertex, cw, 3);
  EXPECT_EQ(rig.At(1, 1), 0xFFFFFFFFu);
  rig.device->Clear(0, nullptr, kClearTarget, 0, 1);
  rig.device->SetRenderState(kRsCullMode, kCullCw);
  rig.device->DrawPrimitive(kPtTriangleList, kFvfTLVertex, cw, 3);
  EXPECT_EQ(rig.At(1, 1), 0u);
}

TEST(Device3d, IndexedTrianglesAndArgumentChecks) {
  TRenderRig rig(8, 8, 0);
  rig.device->SetRenderState(kRsAlphaBlendEnable, 0);
  TLVertex v[4] = {{-0.5f, -0.5f, 0, 1, 0xFF0000FF, 0, 0, 0},
                   {7.5f, -0.5f, 0, 1, 0xFF0000FF, 0, 0, 0},
                   {7.5f, 7.5f, 0, 1, 0xFF0000FF, 0, 0, 0},
                   {-0.5f, 7.5f, 0, 1, 0xFF0000FF, 0, 0, 0}};
  const uint16_t idx[6] = {0, 1, 2, 0, 2, 3};
  ASSERT_EQ(rig.device->DrawIndexedPrimitive(kPtTriangleList, kFvfTLVertex, v, 4, idx, 6), kOk);
  for (uint32_t p : rig.Pixels()) ASSERT_EQ(p, 0xFF0000FFu);
  const uint16_t bad[3] = {0, 1, 4};
  EXPECT_EQ(rig.device->DrawIndexedPrimitive(kPtTriangleList, kFvfTLVertex, v, 4, bad, 3),
            kErrInvalidArg);
  EXPECT_EQ(rig.device->DrawPrimitive(kPtTriangleList, 0x1C5, v, 3), kErrInvalidArg);
  EXPECT_EQ(rig.device->DrawPrimitive(kPtPointList, kFvfTLVertex, v, 3), kErrInvalidArg);
  EXPECT_EQ(rig.device->DrawPrimitive(kPtTriangleList, kFvfTLVertex, v, 0), kOk);
  EXPECT_EQ(rig.device->DrawPrimitive(kPtTriangleList, kFvfTLVertex, nullptr, 3), kErrInvalidArg);
}

TEST(Device3d, SceneBracketViewportAndFaults) {
  TRenderRig rig(8, 8, 0);                   // one scene open
  ASSERT_EQ(rig.device->BeginScene(), kOk);  // a render-target switch nests another
  EXPECT_EQ(rig.device->EndScene(), kOk);
  EXPECT_EQ(rig.device->EndScene(), kOk);
  EXPECT_EQ(rig.device->EndScene(), kErrSceneEndFailed);
  EXPECT_EQ(rig.Quad(0, 0, 8, 8, 0xFFFFFFFF), kErrFail);  // outside a scene
  EXPECT_EQ(rig.device->SetViewport(TViewport{4, 4, 5, 1}), kErrInvalidArg);
  EXPECT_EQ(rig.device->SetViewport(TViewport{4, 4, 0, 0}), kOk);  // empty is allowed
  rig.target->MarkLost();
  EXPECT_EQ(rig.device->BeginScene(), kErrSurfaceLost);
  rig.target->Restore();
  TFaultScope f([](TCall c) { return c == TCall::kDrawPrimitive ? kErrOutOfVideoMemory : kOk; });
  ASSERT_EQ(rig.device->BeginScene(), kOk);
  EXPECT_EQ(rig.Quad(0, 0, 8, 8, 0xFFFFFFFF), kErrOutOfVideoMemory);
}

TEST(DeviceMath, StandardLeftHandedMatrices) {
  TMatrix p = MatrixPerspectiveFovLH(1.5707964f, 2.0f, 1.0f, 11.0f);
  EXPECT_FLOAT_EQ(p.m[0][0], 0.5f);
  EXPECT_FLOAT_EQ(p.m[1][1], 1.0f);
  EXPECT_FLOAT_EQ(p.m[2][2], 1.1f);
  EXPECT_FLOAT_EQ(p.m[2][3], 1.0f);
  EXPECT_FLOAT_EQ(p.m[3][2], -1.1f);
  TMatrix v = MatrixLookAtLH({0, 0, -5}, {0, 0, 0}, {0, 1, 0});
  EXPECT_FLOAT_EQ(v.m[3][2], 5.0f);
  EXPECT_FLOAT_EQ(v.m[0][0], 1.0f);
  TMatrix o = MatrixOrthoOffCenterLH(0, 800, 600, 0, 0, 1);
  EXPECT_FLOAT_EQ(o.m[0][0], 2.0f / 800);
  EXPECT_FLOAT_EQ(o.m[1][1], -2.0f / 600);
  EXPECT_FLOAT_EQ(o.m[3][0], -1.0f);
  EXPECT_FLOAT_EQ(o.m[3][1], 1.0f);
  TMatrix id = Multiply(v, TMatrix::Identity());
  EXPECT_FLOAT_EQ(id.m[3][2], 5.0f);
  TVector3 b = Vec3BaryCentric({0, 0, 0}, {4, 0, 0}, {0, 8, 0}, 0.25f, 0.5f);
  EXPECT_FLOAT_EQ(b.x, 1.0f);
  EXPECT_FLOAT_EQ(b.y, 4.0f);
}

// A depth clear that changes nothing is skipped (2-D frames clear a depth buffer they never
// write): every way depth can be written since the last clear must still be cleared away.
TEST(Device3d, DepthClearsAfterEveryWayOfWritingDepth) {
  enum class TWriteBy { kDraw, kLock, kClearToOtherValue };
  for (TWriteBy by : {TWriteBy::kDraw, TWriteBy::kLock, TWriteBy::kClearToOtherValue}) {
    TRenderRig rig(8, 8, 0);
    TSurfacePtr z = MakeSurface(*rig.display, 8, 8, kFmtZ16, kCapsZBuffer);
    ASSERT_EQ(rig.target->AddAttachedSurface(z), kOk);
    auto depthAt = [&](int32_t x, int32_t y) {
      uint16_t v;
      std::memcpy(&v, z->Bits() + size_t(y) * z->Pitch() + size_t(x) * 2, 2);
      return v;
    };
    ASSERT_EQ(rig.device->Clear(0, nullptr, kClearZBuffer, 0, 1.0f), kOk);
    ASSERT_EQ(rig.device->Clear(0, nullptr, kClearZBuffer, 0, 1.0f), kOk);  // nothing to do
    EXPECT_EQ(depthAt(7, 7), 0xFFFF);
    if (by == TWriteBy::kDraw) {
      rig.device->SetRenderState(kRsZEnable, 1);
      rig.device->SetRenderState(kRsZWriteEnable, 1);
      TLVertex q[4] = {{-0.5f, -0.5f, 0.25f, 1, 0xFFFFFFFF, 0, 0, 0},
                       {7.5f, -0.5f, 0.25f, 1, 0xFFFFFFFF, 0, 0, 0},
                       {7.5f, 7.5f, 0.25f, 1, 0xFFFFFFFF, 0, 0, 0},
                       {-0.5f, 7.5f, 0.25f, 1, 0xFFFFFFFF, 0, 0, 0}};
      ASSERT_EQ(rig.device->DrawPrimitive(kPtTriangleFan, kFvfTLVertex, q, 4), kOk);
    } else if (by == TWriteBy::kLock) {
      TLocked locked;
      ASSERT_EQ(z->Lock(nullptr, &locked), kOk);
      std::memset(locked.bits, 0x12, 2);
      ASSERT_EQ(z->Unlock(), kOk);
    } else {
      ASSERT_EQ(rig.device->Clear(0, nullptr, kClearZBuffer, 0, 0.0f), kOk);
    }
    ASSERT_NE(depthAt(0, 0), 0xFFFF) << int(by);
    ASSERT_EQ(rig.device->Clear(0, nullptr, kClearZBuffer, 0, 1.0f), kOk);
    for (int32_t y = 0; y < 8; ++y)
      for (int32_t x = 0; x < 8; ++x) ASSERT_EQ(depthAt(x, y), 0xFFFF) << int(by);
  }
}

}  // namespace
}  // namespace sd::test
