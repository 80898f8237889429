// Frames: the frame-rate ring, the overlay, guards, restores, display set-up and the host.
#include <gtest/gtest.h>

#include "tests/app/PlatformFixture.h"
#include "tests/render/FakeCoverageDevice.h"
#include "tests/support/TempDir.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/render/TTvMiniVecDraw.h"
#include "tvlib/ui/TScreen.h"
#include "tvlib/ui/TTextBlock.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

class FrameTest : public PlatformTest {
 protected:
  explicit FrameTest(const char* commandLine = "") : PlatformTest(commandLine) {
    SetLogDirectory(mLogDir.Path().c_str());
  }
  std::string Log() { return ReadWholeFile(mLogDir / "logfile.txt"); }
  TTempDir mLogDir;
};

TEST_F(FrameTest, FrameRateComesFromTheRingOfFifteenFrames) {
  for (int i = 0; i < 14; ++i) {
    mPlatform->EndFrame(true);
    mClock.Advance(20);
  }
  EXPECT_EQ(mData.framesPerSecond, 0.0f);
  mPlatform->EndFrame(true);  // the 15th: ring position 0 was 280 ms ago
  EXPECT_FLOAT_EQ(mData.framesPerSecond, 15000.0f / 280.0f);
  EXPECT_EQ(mDisplay->Count("EndDraw"), 15);
}

TEST_F(FrameTest, FifteenFramesInOneMillisecondKeepTheLastRate) {
  for (int i = 0; i < 15; ++i) mPlatform->EndFrame(true);
  EXPECT_EQ(mData.framesPerSecond, 0.0f);  // no division by a zero span
  for (int i = 0; i < 15; ++i) {
    mClock.Advance(10);
    mPlatform->EndFrame(true);
  }
  EXPECT_FLOAT_EQ(mData.framesPerSecond, 15000.0f / 140.0f);
}

TEST_F(FrameTest, OverlayIsDrawnBetweenBegin2dAndEnd2d) {
  // The overlay's spans go to a device of our own, so its pixels can be read.
  TFakeCoverageDevice device;
  mData.vectorRasteriser = std::make_unique<TTvMiniVecDraw>(device.Drawer());
  mData.fpsOverlay = true;
  mPlatform->EndFrame(true);
  ASSERT_NE(mData.fpsText, nullptr);
  EXPECT_EQ(mData.fpsText->GetWidth(), 512);
  EXPECT_EQ(mData.fpsText->GetLineCount(), 2);
  // Red text in the two lines over the black box, nothing below them.
  int red = 0, below = 0;
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 300; ++x) {
      const uint8_t* p = &device.Pixels()[(y * TFakeCoverageDevice::kWidth + x) * 4];
      const bool lit = p[2] > 128 && p[1] == 0 && p[0] == 0;
      (y < 40 ? red : below) += lit;
    }
  }
  EXPECT_GT(red, 100);
  EXPECT_EQ(below, 0);
  EXPECT_EQ(mData.fpsText->GetText(),
            TString("Wrenfold Version 3.5.0.9<br>FPS<tab pos='200'>0.000000<br>"));
  EXPECT_EQ(mDisplay->mCalls,
            Calls({"Begin2d", "FillRect(0,0,300,40,0.000000,1.000000)", "End2d", "EndDraw"}));
  EXPECT_FALSE(mPlatform->IsIn2d());
  TTextBlock* first = mData.fpsText;
  mPlatform->EndFrame(true);
  EXPECT_EQ(mData.fpsText, first);  // made once
}

TEST_F(FrameTest, GuardsLogMisuseAndDropTheCall) {
  TVertexSet vertices(nullptr, 0);
  mPlatform->End2d();
  mPlatform->DrawVertices(4, vertices);
  mPlatform->DrawIndexedVertices(4, vertices, nullptr, 0);
  EXPECT_TRUE(mPlatform->Begin2d());
  EXPECT_FALSE(mPlatform->Begin2d());
  mPlatform->DrawVertices(4, vertices);
  mPlatform->End2d();
  mData.in3d = true;
  EXPECT_FALSE(mPlatform->Begin2d());
  mData.in3d = false;
  mDisplay->mBeginAnswer = false;
  EXPECT_FALSE(mPlatform->Begin2d());  // the handler said no: still outside
  EXPECT_FALSE(mPlatform->IsIn2d());
  EXPECT_EQ(mDisplay->mCalls, Calls({"Begin2d", "DrawVertices", "End2d", "Begin2d"}));
  std::string log = Log();
  for (const char* text : {"End2d called when not in Begin2d state",
                           "DrawVertices called when not in Begin2d or Begin3d state",
                           "DrawIndexedVertices called when not in Begin2d or Begin3d state",
                           "Begin2d called when already in Begin2d state",
                           "Begin2d called when already in Begin3d state"}) {
    EXPECT_NE(log.find(text), std::string::npos) << text;
  }
}

TEST_F(FrameTest, BeginFrameRunsTheRestoreListenersOnceAfterARestore) {
  struct TCount : TTask {
    int* runs;
    explicit TCount(int* r) : runs(r) {}
    bool Run() override { return ++*runs, true; }
  };
  int runs = 0;
  mPlatform->AddRestoreListener(new TCount(&runs));
  mPlatform->InitDisplay(800, 600, false);
  mDisplay->mDeviceValid = false;
  mPlatform->RestoreAssets();
  EXPECT_NE(Log().find("RestoreAssets: DX broken"), std::string::npos);
  mDisplay->mDeviceValid = true;
  mPlatform->RestoreAssets();
  EXPECT_TRUE(mPlatform->ConsumeRepaintRequest());
  EXPECT_TRUE(mPlatform->GetWindowManager()->GetRootWindow()->IsDirty());
  EXPECT_TRUE(mPlatform->BeginFrame(true));
  EXPECT_TRUE(mPlatform->BeginFrame(true));
  EXPECT_EQ(runs, 1);
}

TEST_F(FrameTest, InitDisplayMakesTheRootScreenAndSetsTheMode) {
  mPlatform->InitDisplay(800, 600, true);
  TModalWindow* root = mPlatform->GetWindowManager()->GetRootWindow();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->GetRect().right, 800);
  EXPECT_EQ(root->GetRect().bottom, 600);
  EXPECT_EQ(mDisplay->Count("SetDisplay(800,600,1,0)"), 1);
  EXPECT_EQ(mDisplay->Count("CalibrateTexelOffset"), 1);
  TTvMiniVecDraw* rasteriser = mData.vectorRasteriser.get();
  EXPECT_NE(rasteriser, nullptr);
  mPlatform->InitDisplay(640, 480, false);
  EXPECT_EQ(mPlatform->GetWindowManager()->GetRootWindow(), root);  // made once
  EXPECT_EQ(mData.vectorRasteriser.get(), rasteriser);
}

TEST_F(FrameTest, ScreensaverIsAlwaysFullScreen) {
  mData.screensaver = true;
  mPlatform->InitDisplay(800, 600, false);
  EXPECT_EQ(mDisplay->Count("SetDisplay(800,600,1,0)"), 1);
}

class EmbeddedFrameTest : public FrameTest {
 protected:
  explicit EmbeddedFrameTest(const char* commandLine = "game -wnd=77") : FrameTest(commandLine) {
    mData.embedded = true;
    mData.hostWindow = mData.parentWindow = 0x77;
    mBackend->mHostWindows.insert(0x77);
    mBackend->mHostWidth = 1000;
  }
};

TEST_F(EmbeddedFrameTest, GameAreaIsScaledToTheHostAndWindowed) {
  mPlatform->InitDisplay(800, 600, true);
  float scale = 0;
  EXPECT_TRUE(mData.GetDisplayScale(&scale));
  EXPECT_FLOAT_EQ(scale, 1.25f);
  EXPECT_EQ(mDisplay->Count("SetDisplay(800,600,0,1)"), 1);
  EXPECT_TRUE(mBackend->mSentToHost.empty());
}

class PqFrameTest : public EmbeddedFrameTest {
 protected:
  PqFrameTest() : EmbeddedFrameTest("game -wnd=77 -pq=1") {}
};

TEST_F(PqFrameTest, TheHostIsToldTheFullScreenWish) {
  mPlatform->InitDisplay(800, 600, true);
  ASSERT_EQ(mBackend->mSentToHost.size(), 1u);
  EXPECT_EQ(mBackend->mSentToHost[0].message, WM_USER);
  EXPECT_EQ(mBackend->mSentToHost[0].wParam, 1u);
  EXPECT_TRUE(mPlatform->IsFullscreen());  // as reported to the host
  EXPECT_TRUE(mPlatform->SetFullscreen(false));
  EXPECT_FALSE(mPlatform->IsFullscreen());
  EXPECT_EQ(mDisplay->Count("SetFullscreen(0)"), 1);
}

}  // namespace
