// Device loss and restore: the trouble interval, the restore ladders, the one-time switch to
// low video memory and its file; the 3-D matrices, picking and the embedded vertex path.
#include <cmath>

#include "tests/render/DisplayFixture.h"
#include "tvlib/core/TXmlNode.h"
#include "tvlib/render/TLightRecords.h"

namespace {

// Three frames: enough for a restore in place.
void RunFrames(TDisplayHandler& handler, int count) {
  for (int i = 0; i < count; ++i) {
    ASSERT_TRUE(handler.BeginDraw(false));
    handler.EndDraw(true);
  }
}

bool Near(const TMat4& m, const float expected[16]) {
  const float* got = &m.rows[0].x;
  for (int i = 0; i < 16; ++i)
    if (std::fabs(got[i] - expected[i]) > 1e-4f) return false;
  return true;
}

}  // namespace

TEST_F(DisplayTest, TroubleMarksTheDeviceAtMostOncePerQuarterSecond) {
  Display();
  handler->NoteDeviceTrouble();
  EXPECT_TRUE(HandlerData().broken);
  uint32_t first = HandlerData().brokenTime;
  clock.now += 100;
  handler->NoteDeviceTrouble();
  EXPECT_EQ(HandlerData().brokenTime, first);
  clock.now += 200;
  handler->NoteDeviceTrouble();
  EXPECT_EQ(HandlerData().brokenTime, first + 300);
}

TEST_F(DisplayTest, LostSurfacesAfterSteadyFramesAreRestoredInPlace) {
  Display();
  RunFrames(*handler, 3);
  sd::TDevice3d* device = HandlerData().device;
  HandlerData().context.GetBackBuffer()->MarkLost();
  EXPECT_TRUE(handler->BeginDraw(false));
  EXPECT_TRUE(Logged("TPlatform::BeginDraw: DDERR_SURFACELOST on BeginScene"));
  EXPECT_EQ(HandlerData().device, device);  // restored, not re-created
  EXPECT_EQ(HandlerData().workingCount, 1u);
  EXPECT_TRUE(data->restorePending);
}

TEST_F(DisplayTest, EarlyRestoreSetsTheModeAgainUnlessMinimised) {
  Display();
  RunFrames(*handler, 2);
  handler->Restore();
  EXPECT_TRUE(Logged("Working count too small (2). Calling SetDisplay()"));
  EXPECT_TRUE(handler->IsDeviceValid());
  data->visible = false;
  handler->Restore();
  EXPECT_TRUE(HandlerData().broken);
}

TEST_F(DisplayTest, CooperativeLevelLadders) {
  struct Case {
    sd::HR lost;
    std::vector<uint32_t> sleeps;
    bool setsDisplay;
  };
  const Case cases[] = {
      {sd::kErrWrongMode, {500, 500, 500, 500, 500}, true},
      {sd::kErrExclusiveModeAlreadySet, {500}, false},
      {sd::kErrNoExclusiveMode, {500}, true},  // the level is regained at once
      {sd::kErrSurfaceBusy, {500, 500, 500, 500, 500}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.lost);
    SetLogDirectory(dir.Path().c_str());
    MakeHandler();
    handler->SetDisplay(800, 600, false, false, false, false);
    RunFrames(*handler, 3);
    HandlerData().directDraw->LoseSurfaces(c.lost);
    handler->MarkDeviceBroken();
    clock.sleeps.clear();
    handler->Restore();
    EXPECT_EQ(clock.sleeps, c.sleeps);
    EXPECT_EQ(Logged("Restore: Test Cooperative level failed. Calling SetDisplay"), c.setsDisplay);
    EXPECT_EQ(handler->IsDeviceValid(), c.setsDisplay);
  }
}

TEST_F(DisplayTest, FailedSurfaceRestoreSetsTheModeAgain) {
  Display();
  RunFrames(*handler, 3);
  {
    sd::TFaultScope fault([](sd::TCall call) {
      return call == sd::TCall::kRestoreAllSurfaces ? sd::kErrWrongMode : sd::kOk;
    });
    handler->Restore();
  }
  EXPECT_TRUE(
      Logged("Restore: RestoreAllSurfaces resulted in DDERR_WRONGMODE. Calling SetDisplay."));
  EXPECT_TRUE(handler->IsDeviceValid());
}

TEST_F(DisplayTest, OutOfVideoMemorySwitchesOnceAndIsRememberedNextStart) {
  Display();
  {
    // Any device call running out of video memory leads here.
    sd::TFaultScope fault([](sd::TCall call) {
      return call == sd::TCall::kSetRenderState ? sd::kErrOutOfVideoMemory : sd::kOk;
    });
    handler->SetShadeMode(2);
  }
  EXPECT_TRUE(HandlerData().lowMemoryVideo);
  EXPECT_TRUE(HandlerData().broken);
  std::string file = ReadWholeFile(dir / "common/display.xml");
  TXmlNode document;
  document.LoadBuffer(file.c_str());
  TXmlNode* settings = document.FindChild("Settings");
  ASSERT_NE(settings, nullptr) << file;
  EXPECT_EQ(settings->GetAttribute("LowMemoryVideo"), TString("1"));

  std::filesystem::remove(dir / "common/display.xml");
  handler->HandleOutOfVideoMemory();
  EXPECT_FALSE(std::filesystem::exists(dir / "common/display.xml"));

  // The next restore sets the mode again: the box, then 16 bits in full screen.
  handler->Restore();
  ASSERT_FALSE(boxes.empty());
  EXPECT_EQ(boxes[0].caption, "Reconfiguring");
  EXPECT_TRUE(handler->IsFullscreen());
  EXPECT_TRUE(Logged("Created screen at 16 bpp."));

  WriteWholeFile(dir / "common/display.xml", file);
  Mount();
  MakeHandler();
  EXPECT_TRUE(HandlerData().lowMemoryVideo);
}

TEST_F(DisplayTest, NewDevicesGetTheDefaultCameraAndMaterial) {
  Display();
  TMat4 projection;
  handler->GetProjectionMatrix(&projection);
  // Field of view pi / 4, aspect 0 read as viewport height / width (0.75), near 0.1, far 1000.
  float y = 1.0f / std::tan(0.7853982f / 2), q = 1000.0f / (1000.0f - 0.1f);
  const float expected[16] = {y / 0.75f, 0, 0, 0, 0, y, 0, 0, 0, 0, q, 1, 0, 0, -0.1f * q, 0};
  EXPECT_TRUE(Near(projection, expected));
  EXPECT_EQ(RenderState(sd::kRsAmbient), 0xFFFFFFFFu);
  sd::TMaterial material;
  Device().GetMaterial(&material);
  EXPECT_FLOAT_EQ(material.ambient.r, 0.5f);
  EXPECT_FLOAT_EQ(material.power, 1.0f);
}

TEST_F(DisplayTest, LookAtAndOrthographicGiveTheStandardMatrices) {
  Display();
  const float eye[3] = {0, 0, -10}, at[3] = {0, 0, 0}, up[3] = {0, 1, 0};
  handler->SetViewLookAt(eye, at, up);
  TMat4 view;
  handler->GetViewMatrix(&view);
  const float lookAt[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 10, 1};
  EXPECT_TRUE(Near(view, lookAt));
  handler->SetOrthographic(1, 11);
  TMat4 ortho;
  handler->GetProjectionMatrix(&ortho);
  const float expected[16] = {2.0f / 800, 0, 0,    0, 0, 2.0f / 600, 0,     0,
                              0,          0, 0.1f, 0, 0, 0,          -0.1f, 1};
  EXPECT_TRUE(Near(ortho, expected));
  EXPECT_TRUE(Near(HandlerData().projection, expected));
  handler->SetCullMode(7);
  EXPECT_EQ(RenderState(sd::kRsCullMode), sd::kCullNone);
  handler->SetCullMode(2);
  EXPECT_EQ(RenderState(sd::kRsCullMode), sd::kCullCw);
  // Ambient components outside 0..1 clamp instead of wrapping.
  handler->SetAmbientColor(2.0f, -1.0f, 0.5f, 1.5f);
  EXPECT_EQ(RenderState(sd::kRsAmbient), 0xFFFF007Fu);
}

TEST_F(DisplayTest, TrianglePickingIsTwoSided) {
  MakeHandler();
  const float a[3] = {0, 0, 5}, b[3] = {1, 0, 5}, c[3] = {0, 1, 5};
  const float origin[3] = {0.25f, 0.25f, 0}, forward[3] = {0, 0, 1};
  float t = 0, hit[3] = {};
  ASSERT_TRUE(handler->IntersectTriangle(origin, forward, a, b, c, &t, hit));
  EXPECT_FLOAT_EQ(t, 5.0f);
  EXPECT_FLOAT_EQ(hit[0], 0.25f);
  EXPECT_FLOAT_EQ(hit[1], 0.25f);
  EXPECT_FLOAT_EQ(hit[2], 5.0f);
  const float behind[3] = {0.25f, 0.25f, 10}, back[3] = {0, 0, -1};
  EXPECT_TRUE(handler->IntersectTriangle(behind, back, a, b, c, &t, hit));
  EXPECT_FLOAT_EQ(t, 5.0f);
  const float parallel[3] = {1, 0, 0}, outside[3] = {2, 2, 0};
  t = -1;
  EXPECT_FALSE(handler->IntersectTriangle(origin, parallel, a, b, c, &t, hit));
  EXPECT_FALSE(handler->IntersectTriangle(outside, forward, a, b, c, &t, hit));
  EXPECT_FLOAT_EQ(t, -1);  // untouched on a miss
}

TEST_F(DisplayTest, LightsAreSetAndClearedBySlot) {
  Display();
  TLight light;
  light.type = kLightTypeSpot;
  light.diffuse[0] = 0.5f;
  light.range = 12;
  handler->SetLight(3, &light);
  sd::TLight stored;
  ASSERT_EQ(Device().GetLight(3, &stored), sd::kOk);
  EXPECT_EQ(stored.type, sd::kLightSpot);
  EXPECT_FLOAT_EQ(stored.falloff, 1.0f);
  EXPECT_FLOAT_EQ(stored.range, 12.0f);
  int calls = 0;
  sd::TFaultScope count([&](sd::TCall call) {
    calls += call == sd::TCall::kSetLight;
    return sd::kOk;
  });
  handler->SetLight(3, nullptr);
  EXPECT_EQ(calls, 0);
}

TEST_F(DisplayTest, EmbeddedScreenVerticesAreScaledWithTheGameArea) {
  data->embedded = true;
  data->displayScale = 1.5f;
  MakeHandler();
  handler->SetDisplay(800, 600, false, false, false, true);
  ASSERT_TRUE(handler->IsDeviceValid());
  EXPECT_EQ(HandlerData().context.GetBackBuffer()->Width(), 1200);
  TMat4 world;
  world.rows[3] = TVec4{5, 6, 7, 1};
  handler->SetWorldMatrix(world);
  ASSERT_TRUE(handler->BeginDraw(false));
  platform->Begin2d();
  struct Vertex {
    float x, y, z, rhw;
    uint32_t diffuse, specular;
    float u, v;
  };
  const Vertex quad[4] = {{100, 100, 0.5f, 1, 0xFFFFFFFF, 0, 0, 0},
                          {200, 100, 0.5f, 1, 0xFFFFFFFF, 0, 0, 0},
                          {200, 200, 0.5f, 1, 0xFFFFFFFF, 0, 0, 0},
                          {100, 200, 0.5f, 1, 0xFFFFFFFF, 0, 0, 0}};
  handler->DrawVertices(sd::kPtTriangleFan, TVertexSet(quad, 4));
  platform->End2d();
  handler->EndDraw(false);
  EXPECT_EQ(BackPixel(225, 225) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(BackPixel(290, 290) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(BackPixel(140, 140) & 0xFFFFFF, 0u);
  // The caller's transforms are back afterwards.
  TMat4 after;
  handler->GetWorldMatrix(&after);
  EXPECT_FLOAT_EQ(after.rows[3].x, 5);
  EXPECT_EQ(handler->SelectVertexFormat(kVertexScreenScaled), sd::kFvfLVertex);
  handler->RestoreVertexTransforms(kVertexScreenScaled);
  data->embedded = false;
  EXPECT_EQ(handler->SelectVertexFormat(kVertexScreenScaled), sd::kFvfTLVertex);
  EXPECT_EQ(handler->SelectVertexFormat(kVertexScreen), sd::kFvfTLVertex);
  EXPECT_EQ(handler->SelectVertexFormat(9), sd::kFvfVertex);
}
