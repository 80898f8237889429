// The display: modes, flips, windowed presents and writes from other threads.
#include "tvlib/platform/render/TDisplay.h"

#include <gtest/gtest.h>

#include <thread>

#include "tests/platform/render/RenderTestUtil.h"
#include "tvlib/platform/render/TFaultHook.h"

namespace sd::test {
namespace {

struct DisplayTest : ::testing::Test {
  THeadlessPresenter presenter{TDisplayMode{1280, 1024, 24}};
  TDisplayPtr display = TDisplay::Create(&presenter, nullptr);

  TSurfacePtr Primary(bool withBackBuffer) {
    TSurfaceDesc d;
    d.flags = kDescCaps | (withBackBuffer ? kDescBackBufferCount : 0);
    d.caps = kCapsPrimarySurface | (withBackBuffer ? kCapsFlip | kCapsComplex | kCaps3dDevice : 0);
    d.backBufferCount = withBackBuffer ? 1 : 0;
    TSurfacePtr s;
    EXPECT_EQ(display->CreateSurface(d, &s), kOk);
    return s;
  }
};

TEST_F(DisplayTest, OnlyThirtyTwoBitModesAndTheRulesForSettingThem) {
  std::vector<TDisplayMode> modes;
  display->EnumDisplayModes([&](const TDisplayMode& m) {
    modes.push_back(m);
    return true;
  });
  ASSERT_FALSE(modes.empty());
  bool has800 = false;
  for (const auto& m : modes) {
    EXPECT_EQ(m.bitCount, 32u);
    has800 |= m.width == 800 && m.height == 600;
  }
  EXPECT_TRUE(has800);
  EXPECT_EQ(display->SetDisplayMode(800, 600, 32), kErrNoExclusiveMode);
  ASSERT_EQ(display->SetCooperativeLevel(kCoopExclusive | kCoopFullScreen), kOk);
  EXPECT_EQ(display->SetDisplayMode(800, 600, 16), kErrUnsupportedMode);
  EXPECT_EQ(display->SetDisplayMode(801, 600, 32), kErrUnsupportedMode);
  ASSERT_EQ(display->SetDisplayMode(800, 600, 32), kOk);
  EXPECT_TRUE(presenter.IsFullScreen());
  TSurfaceDesc mode;
  display->GetDisplayMode(&mode);
  EXPECT_EQ(mode.width, 800);
  EXPECT_EQ(mode.format.bitCount, 32u);
  ASSERT_EQ(display->RestoreDisplayMode(), kOk);
  EXPECT_FALSE(presenter.IsFullScreen());
}

TEST_F(DisplayTest, FullScreenFlipShowsTheBackBuffer) {
  ASSERT_EQ(display->SetCooperativeLevel(kCoopExclusive | kCoopFullScreen), kOk);
  ASSERT_EQ(display->SetDisplayMode(800, 600, 32), kOk);
  TSurfacePtr primary = Primary(true);
  ASSERT_TRUE(primary);
  TSurfacePtr back = primary->GetAttachedSurface(kCapsBackBuffer);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->Format(), kFmtA8R8G8B8);
  EXPECT_EQ(back->Width(), 800);
  TRect r{10, 20, 30, 40};
  back->Blt(&r, nullptr, nullptr, kBltColorFill, 0xFF00FF00);
  ASSERT_EQ(primary->Flip(), kOk);
  EXPECT_EQ(presenter.FrameWidth(), 800);
  EXPECT_EQ(presenter.Pixel(15, 25), 0xFF00FF00u);
  EXPECT_EQ(presenter.Pixel(5, 25), 0u);
  EXPECT_EQ(primary->GetFlipStatus(kFlipStatusIsFlipDone), kOk);
  {
    TFaultScope f([](TCall c) { return c == TCall::kGetFlipStatus ? kErrWasStillDrawing : kOk; });
    EXPECT_EQ(primary->GetFlipStatus(kFlipStatusIsFlipDone), kErrWasStillDrawing);
  }
}

TEST_F(DisplayTest, WindowedPresentShowsTheClientAreaAndOnlyWhatChanged) {
  presenter.SetClientRect(TRect{100, 50, 420, 290});
  ASSERT_EQ(display->SetCooperativeLevel(kCoopNormal), kOk);
  TSurfacePtr primary = Primary(false);
  ASSERT_EQ(primary->Width(), 1280);  // the desktop
  EXPECT_EQ(primary->Format(), kFmtX8R8G8B8);
  TSurfacePtr back =
      MakeSurface(*display, 320, 240, kFmtX8R8G8B8, kCapsOffscreenPlain | kCaps3dDevice);
  back->Blt(nullptr, nullptr, nullptr, kBltColorFill, 0x00123456);
  TRect screen{100, 50, 420, 290};
  ASSERT_EQ(primary->Blt(&screen, back.get(), nullptr, kBltDdFx | kBltWait), kOk);
  EXPECT_EQ(presenter.FrameWidth(), 320);
  EXPECT_EQ(presenter.Pixel(0, 0), 0x00123456u);
  EXPECT_EQ(presenter.Pixel(319, 239), 0x00123456u);
  // A small change uploads only its rectangle.
  TRect dot{110, 60, 112, 61};
  primary->Blt(&dot, nullptr, nullptr, kBltColorFill, 0x00FFFFFF);
  EXPECT_EQ(presenter.LastCopied(), (TRect{10, 10, 12, 11}));
  EXPECT_EQ(presenter.Pixel(11, 10), 0x00FFFFFFu);
}

TEST_F(DisplayTest, WritesFromOtherThreadsWaitForTheMainThread) {
  presenter.SetClientRect(TRect{0, 0, 64, 64});
  display->SetCooperativeLevel(kCoopNormal);
  TSurfacePtr primary = Primary(false);
  int shows = presenter.ShowCount();
  std::thread cursor([&] {
    TRect r{5, 5, 8, 8};
    primary->Blt(&r, nullptr, nullptr, kBltColorFill, 0x00ABCDEF);
  });
  cursor.join();
  EXPECT_EQ(presenter.ShowCount(), shows);
  display->ShowPending();
  EXPECT_EQ(presenter.ShowCount(), shows + 1);
  EXPECT_EQ(presenter.Pixel(6, 6), 0x00ABCDEFu);
}

TEST_F(DisplayTest, VideoMemoryRunsOutAndSystemMemoryTakesOver) {
  display->SetCooperativeLevel(kCoopNormal);
  display->SetVideoMemory(64 * 64 * 4 + 100);
  uint32_t total = 0, free = 0;
  TSurfacePtr a = MakeSurface(*display, 64, 64, kFmtA8R8G8B8, kCapsTexture | kCapsVideoMemory);
  display->GetAvailableVidMem(kCapsVideoMemory, &total, &free);
  EXPECT_EQ(free, 100u);
  TSurfaceDesc d;
  d.flags = kDescCaps | kDescWidth | kDescHeight | kDescPixelFormat;
  d.width = d.height = 64, d.format = kFmtA8R8G8B8, d.caps = kCapsTexture | kCapsVideoMemory;
  TSurfacePtr b;
  EXPECT_EQ(display->CreateSurface(d, &b), kErrOutOfVideoMemory);
  d.caps = kCapsTexture;  // no memory named: falls back to system memory
  ASSERT_EQ(display->CreateSurface(d, &b), kOk);
  EXPECT_TRUE(b->Desc().caps & kCapsSystemMemory);
  a.reset();
  display->GetAvailableVidMem(kCapsVideoMemory, &total, &free);
  EXPECT_EQ(free, total);
}

TEST_F(DisplayTest, LostSurfacesComeBackAfterTheLevelIsRegained) {
  display->SetCooperativeLevel(kCoopExclusive | kCoopFullScreen);
  display->SetDisplayMode(800, 600, 32);
  TSurfacePtr primary = Primary(true);
  display->LoseSurfaces(kErrNoExclusiveMode);
  EXPECT_EQ(display->TestCooperativeLevel(), kErrNoExclusiveMode);
  EXPECT_EQ(primary->Flip(), kErrSurfaceLost);
  EXPECT_EQ(display->RestoreAllSurfaces(), kErrNoExclusiveMode);
  ASSERT_EQ(display->SetCooperativeLevel(kCoopExclusive | kCoopFullScreen), kOk);
  EXPECT_EQ(display->TestCooperativeLevel(), kOk);
  ASSERT_EQ(display->RestoreAllSurfaces(), kOk);
  EXPECT_EQ(primary->Flip(), kOk);
  {
    TFaultScope f([](TCall c) { return c == TCall::kTestCooperativeLevel ? kErrWrongMode : kOk; });
    EXPECT_EQ(display->TestCooperativeLevel(), kErrWrongMode);
  }
}

TEST_F(DisplayTest, CapabilitiesFormatsAndIdentifier) {
  TDisplayCaps caps;
  ASSERT_EQ(display->GetCaps(&caps), kOk);
  EXPECT_TRUE(caps.colorKeyCaps & kColorKeyCapsSrcBlt);
  EXPECT_GE(caps.vidMemFree, 16u << 20);
  int devices = 0;
  display->EnumDevices([&](const TDeviceDesc& d) {
    ++devices;
    EXPECT_TRUE(d.devCaps & kDevCapsHwRasterization);
    EXPECT_TRUE(d.renderBitDepth & kBitDepth32);
    EXPECT_TRUE(d.shadeCaps & kShadeCapsColorGouraudRgb);
    EXPECT_FALSE(d.textureCaps & kTextureCapsSquareOnly);
    EXPECT_GE(d.maxTextureWidth, 1024u);
    EXPECT_GE(d.maxTextureAspectRatio, 64u);
    return true;
  });
  EXPECT_EQ(devices, 1);
  std::vector<TPixelFormat> tex, z;
  display->EnumTextureFormats([&](const TPixelFormat& f) { return tex.push_back(f), true; });
  display->EnumZBufferFormats([&](const TPixelFormat& f) { return z.push_back(f), true; });
  EXPECT_EQ(tex.size(), 6u);
  ASSERT_EQ(z.size(), 3u);
  EXPECT_EQ(z[0].flags, kPfZBuffer);
  TDeviceIdentifier id;
  ASSERT_EQ(display->GetDeviceIdentifier(&id), kOk);
  EXPECT_STRNE(id.description, "");
}

TEST_F(DisplayTest, DevicesRenderOnlyThirtyTwoBits) {
  display->SetCooperativeLevel(kCoopNormal);
  TSurfacePtr rt = MakeSurface(*display, 8, 8, kFmtA8R8G8B8, kCapsTexture | kCaps3dDevice);
  TSurfacePtr rt16 = MakeSurface(*display, 8, 8, kFmtR5G6B5, kCapsTexture | kCaps3dDevice);
  TSurfacePtr plain = MakeSurface(*display, 8, 8, kFmtA8R8G8B8, kCapsTexture);
  TDevicePtr dev;
  EXPECT_EQ(display->CreateDevice(rt16, &dev), kErrInvalidArg);
  ASSERT_EQ(display->CreateDevice(rt, &dev), kOk);
  EXPECT_EQ(dev->SetRenderTarget(rt16), kErrCurrentlyNotAvail);
  EXPECT_EQ(dev->SetRenderTarget(plain), kErrInvalidArg);
  EXPECT_EQ(dev->GetRenderTarget(), rt);
}

}  // namespace
}  // namespace sd::test
