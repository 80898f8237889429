// Frame drawing: the frame bracket, viewports and their stack, render targets and their stack,
// colour fills, blend modes, and what reaches the presented image.
#include "tests/render/DisplayFixture.h"
#include "tests/render/VecFontBuilder.h"
#include "tvlib/render/TTexture.h"
#include "tvlib/render/TTvMiniVecDraw.h"

namespace {

const float kRed[4] = {1, 0, 0, 1};
const float kBlue[4] = {0, 0, 1, 1};

}  // namespace

TEST_F(DisplayTest, AFrameFilledAndEndedIsWhatThePresenterShows) {
  Display();
  presenter->SetClientRect(sd::TRect{100, 50, 900, 650});
  ASSERT_TRUE(platform->BeginFrame(false));
  handler->FillRect(0, 0, -1, -1, kBlue, nullptr);
  handler->FillRect(10, 20, 30, 40, kRed, nullptr);
  platform->EndFrame(true);
  ASSERT_EQ(presenter->FrameWidth(), 800);
  for (int y = 0; y < 600; y += 7) {
    for (int x = 0; x < 800; x += 3) {
      bool inRed = x >= 10 && x < 30 && y >= 20 && y < 40;
      ASSERT_EQ(presenter->Pixel(x, y) & 0xFFFFFF, inRed ? 0xFF0000u : 0x0000FFu) << x << "," << y;
    }
  }
}

TEST_F(DisplayTest, TextSpansDrawnInAFrameBlendIntoWhatThePresenterShows) {
  // The text rasteriser as the display set-up makes it, drawing through the display.
  Display();
  auto draw = std::make_unique<TTvMiniVecDraw>(PlatformCoverageDrawer());
  ASSERT_TRUE(platform->BeginFrame(false));
  handler->FillRect(0, 0, -1, -1, kBlue, nullptr);
  ASSERT_TRUE(platform->Begin2d());
  const float red[4] = {1, 0, 0, 1};
  draw->SetColor(1, red, 1.0f);
  draw->scaleX = draw->scaleY = 4;
  const std::vector<uint8_t> square = RectProgram(0, 0, 3, 3);
  draw->BeginDraw(10.5f, 20, nullptr);
  draw->FillOutline(square.data(), 0, 0);
  draw->EndDraw();
  platform->End2d();
  platform->EndFrame(true);
  // Whole pixels red, the half-covered left and right columns half way between (alpha 127
  // blended with the device's rounding), and blue around.
  EXPECT_EQ(presenter->Pixel(12, 21) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(presenter->Pixel(10, 21) & 0xFFFFFF, 0x7F0080u);
  EXPECT_EQ(presenter->Pixel(13, 22) & 0xFFFFFF, 0x7F0080u);
  EXPECT_EQ(presenter->Pixel(9, 21) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(presenter->Pixel(12, 23) & 0xFFFFFF, 0x0000FFu);
}

TEST_F(DisplayTest, FullScreenFramesFlipAndCarryTheLastFrameForward) {
  Display(800, 600, true);
  ASSERT_TRUE(platform->BeginFrame(true));
  handler->FillRect(0, 0, 400, -1, kRed, nullptr);
  platform->EndFrame(true);
  EXPECT_EQ(presenter->Pixel(10, 10) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(presenter->Pixel(500, 10) & 0xFFFFFF, 0u);
  // Prepared from the shown frame: drawing only the right half keeps the left.
  ASSERT_TRUE(platform->BeginFrame(true));
  handler->FillRect(400, 0, -1, -1, kBlue, nullptr);
  platform->EndFrame(true);
  EXPECT_EQ(presenter->Pixel(10, 10) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(presenter->Pixel(500, 10) & 0xFFFFFF, 0x0000FFu);
}

TEST_F(DisplayTest, EndWithoutABegunFrameDoesNothing) {
  Display();
  handler->MarkDeviceBroken();
  EXPECT_FALSE(handler->BeginDraw(false));
  int ends = 0;
  sd::TFaultScope count([&](sd::TCall call) {
    ends += call == sd::TCall::kEndScene;
    return sd::kOk;
  });
  handler->EndDraw(true);
  EXPECT_EQ(ends, 0);
}

TEST_F(DisplayTest, SceneEndFailureMarksTheDeviceBroken) {
  Display();
  ASSERT_TRUE(handler->BeginDraw(false));
  {
    sd::TFaultScope fault([](sd::TCall call) {
      return call == sd::TCall::kEndScene ? sd::kErrSceneEndFailed : sd::kOk;
    });
    handler->EndDraw(true);
  }
  EXPECT_TRUE(HandlerData().broken);
  EXPECT_FALSE(handler->BeginDraw(false));
}

TEST_F(DisplayTest, ViewportsClampOnTheDeviceAndKeepWhatWasAsked) {
  Display();
  struct Case {
    int l, t, r, b;
    uint32_t x, y, w, h;
  };
  const Case cases[] = {
      {-10, -10, 5000, 5000, 0, 0, 800, 600},
      {100, 100, 50, 300, 100, 100, 0, 200},  // right before left: empty, not an error
      {10, 20, 30, 40, 10, 20, 20, 20},
      {900, 700, 950, 750, 799, 599, 1, 1},
  };
  for (const Case& c : cases) {
    handler->SetViewport(c.l, c.t, c.r, c.b);
    sd::TViewport vp = DeviceViewport();
    EXPECT_EQ(vp.x, c.x);
    EXPECT_EQ(vp.y, c.y);
    EXPECT_EQ(vp.width, c.w);
    EXPECT_EQ(vp.height, c.h);
    int l, t, r, b;
    handler->GetViewport(&l, &t, &r, &b);
    EXPECT_EQ(l, c.l);
    EXPECT_EQ(b, c.b);
  }
}

TEST_F(DisplayTest, ViewportStackRestoresInOrderAndAnEmptyPopOnlyLogs) {
  Display();
  handler->SetViewport(0, 0, 800, 600);
  handler->PushViewport(10, 10, 100, 100);
  handler->PushViewport(20, 20, 50, 50);
  handler->PopViewport();
  int l, t, r, b;
  handler->GetViewport(&l, &t, &r, &b);
  EXPECT_EQ(r, 100);
  EXPECT_EQ(DeviceViewport().width, 90u);
  handler->PopViewport();
  handler->GetViewport(&l, &t, &r, &b);
  EXPECT_EQ(r, 800);
  handler->PopViewport();
  handler->GetViewport(&l, &t, &r, &b);
  EXPECT_EQ(r, 800);
  EXPECT_TRUE(Logged("PopViewport: the viewport stack is empty"));
}

TEST_F(DisplayTest, RenderTargetStackSwitchesTheDrawingSurface) {
  Display();
  auto plain = TTexture::CreateBlank(64, 64, false);
  EXPECT_FALSE(handler->PushRenderTarget(plain));
  EXPECT_TRUE(handler->IsRenderingToScreen());

  auto target = TTexture::CreateRenderTarget(256, 128);
  ASSERT_TRUE(target);
  ASSERT_TRUE(handler->BeginDraw(false));
  ASSERT_TRUE(handler->PushRenderTarget(target));
  EXPECT_FALSE(handler->IsRenderingToScreen());
  int w = 0, h = 0;
  handler->GetDisplaySize(&w, &h, nullptr);
  EXPECT_EQ(w, 256);
  EXPECT_EQ(h, 128);
  EXPECT_EQ(Device().GetRenderTarget(), target->GetData()->surface);
  EXPECT_TRUE(handler->PopRenderTarget());
  EXPECT_TRUE(handler->IsRenderingToScreen());
  handler->GetDisplaySize(&w, &h, nullptr);
  EXPECT_EQ(w, 800);
  // The frame on the back buffer stays open across the push and pop, and still presents.
  EXPECT_TRUE(HandlerData().inScene);
  int shows = presenter->ShowCount();
  handler->FillRect(0, 0, 10, 10, kRed, nullptr);
  handler->EndDraw(true);
  EXPECT_GT(presenter->ShowCount(), shows);
  EXPECT_FALSE(handler->PopRenderTarget());
}

TEST_F(DisplayTest, AFailedRenderTargetPushLeavesTheScreenAsTheTarget) {
  Display();
  auto target = TTexture::CreateRenderTarget(256, 128);
  ASSERT_TRUE(target);
  ASSERT_TRUE(handler->BeginDraw(false));
  const sd::TSurfacePtr screen = Device().GetRenderTarget();
  {
    sd::TFaultScope fault(
        [](sd::TCall call) { return call == sd::TCall::kBeginScene ? sd::kErrFail : sd::kOk; });
    EXPECT_FALSE(handler->PushRenderTarget(target));
  }
  EXPECT_TRUE(handler->IsRenderingToScreen());
  EXPECT_EQ(Device().GetRenderTarget(), screen);
  int w = 0, h = 0;
  handler->GetDisplaySize(&w, &h, nullptr);
  EXPECT_EQ(w, 800);
  EXPECT_TRUE(HandlerData().inScene);
  EXPECT_FALSE(handler->PopRenderTarget());
  handler->EndDraw(true);
}

TEST_F(DisplayTest, FillRectEdgesClampToTheSurfaceFilled) {
  Display();
  // A target wider than the display is filled to its own edge.
  auto target = TTexture::CreateRenderTarget(1024, 512);
  ASSERT_TRUE(target);
  handler->FillRect(0, 0, -1, -1, kRed, target);
  const sd::TSurfacePtr& surface = target->GetData()->surface;
  auto pixel = [&](int x, int y) {
    return reinterpret_cast<const uint32_t*>(surface->Bits() + y * surface->Pitch())[x];
  };
  EXPECT_EQ(pixel(1023, 511) & 0xFFFFFF, 0xFF0000u);
  // Edges past the surface stop at it; an inverted rectangle fills nothing.
  handler->FillRect(-5, -5, 4, 4, kBlue, nullptr);
  EXPECT_EQ(BackPixel(0, 0) & 0xFF, 0xFFu);
  EXPECT_EQ(BackPixel(4, 4), 0u);
  handler->FillRect(50, 50, 40, 60, kBlue, nullptr);
  EXPECT_EQ(BackPixel(45, 55), 0u);
}

TEST_F(DisplayTest, BlendModesSetTheirTableAndUnknownModesNothing) {
  Display();
  struct Case {
    int mode;
    uint32_t src, dest, blendOn, alphaOp, alphaArg1;
  };
  const Case cases[] = {
      {0, sd::kBlendSrcAlpha, sd::kBlendInvSrcAlpha, 1, sd::kTopModulate, sd::kTaTexture},
      {2, sd::kBlendOne, sd::kBlendOne, 1, sd::kTopModulate, sd::kTaTexture},
      {3, sd::kBlendSrcAlpha, sd::kBlendOne, 1, sd::kTopModulate, sd::kTaTexture},
      {4, sd::kBlendInvSrcAlpha, sd::kBlendInvSrcColor, 1, sd::kTopModulate, sd::kTaTexture},
  };
  for (const Case& c : cases) {
    handler->SetBlendMode(c.mode);
    EXPECT_EQ(RenderState(sd::kRsSrcBlend), c.src) << c.mode;
    EXPECT_EQ(RenderState(sd::kRsDestBlend), c.dest) << c.mode;
    EXPECT_EQ(RenderState(sd::kRsAlphaBlendEnable), c.blendOn) << c.mode;
    EXPECT_EQ(StageState(sd::kTssAlphaOp), c.alphaOp) << c.mode;
    EXPECT_EQ(StageState(sd::kTssAlphaArg1), c.alphaArg1) << c.mode;
  }
  handler->SetBlendMode(1);
  EXPECT_EQ(RenderState(sd::kRsAlphaBlendEnable), 0u);
  EXPECT_EQ(RenderState(sd::kRsTextureFactor), 0xFFFFFFFFu);
  EXPECT_EQ(StageState(sd::kTssAlphaArg1), sd::kTaTFactor);
  EXPECT_EQ(StageState(sd::kTssAlphaOp), sd::kTopSelectArg1);
  int changes = 0;
  sd::TFaultScope count([&](sd::TCall call) {
    changes += call == sd::TCall::kSetRenderState || call == sd::TCall::kSetTextureStageState;
    return sd::kOk;
  });
  handler->SetBlendMode(5);
  EXPECT_EQ(changes, 0);
}

TEST_F(DisplayTest, TwoDimensionalStateAndFilterAndAddressModes) {
  Display();
  platform->Begin2d();
  EXPECT_EQ(RenderState(sd::kRsZEnable), 0u);
  EXPECT_EQ(RenderState(sd::kRsCullMode), sd::kCullNone);
  EXPECT_EQ(StageState(sd::kTssAlphaArg2), sd::kTaDiffuse);
  EXPECT_EQ(StageState(sd::kTssAddressU), sd::kTaddressClamp);
  handler->SetBlendMode(0);
  EXPECT_EQ(RenderState(sd::kRsSpecularEnable), 0u);
  platform->End2d();
  handler->SetTextureFilter(0);
  EXPECT_EQ(StageState(sd::kTssMinFilter), sd::kTfnPoint);
  EXPECT_EQ(StageState(sd::kTssMagFilter), sd::kTfgPoint);
  handler->SetTextureFilter(7);
  EXPECT_EQ(StageState(sd::kTssMinFilter), sd::kTfnPoint);
  handler->SetTextureAddressMode(1, 2);
  EXPECT_EQ(StageState(sd::kTssAddressU), sd::kTaddressWrap);
  EXPECT_EQ(StageState(sd::kTssAddressV), sd::kTaddressMirror);
  handler->SetTextureAddressMode(9, 0);
  EXPECT_EQ(StageState(sd::kTssAddressU), sd::kTaddressClamp);
}

TEST_F(DisplayTest, FailedDrawMarksTheDeviceBroken) {
  Display();
  ASSERT_TRUE(handler->BeginDraw(false));
  sd::TFaultScope fault(
      [](sd::TCall call) { return call == sd::TCall::kDrawPrimitive ? sd::kErrFail : sd::kOk; });
  float vertices[3 * 8] = {};
  handler->DrawVertices(sd::kPtTriangleList, TVertexSet(vertices, 3));
  EXPECT_TRUE(HandlerData().broken);
}
