// The hiscore screen with local scores, its submit dialog and the global view after the
// submission, drawn in a real window on the test command's X server; the pictures are kept in
// the test's folder (hiscore_local.png, hiscore_submit.png, hiscore_global.png) for a person to
// look at.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "tests/game/frontend/HiscoreFixture.h"
#include "tests/render/XScreen.h"
#include "tvlib/platform/headless/TPngWriter.h"
#include "tvlib/platform/sdl/SdlBackend.h"

namespace {

class HiscoreWindowXTest : public HiscoreTest {
 protected:
  // The real window and its display handler in place of the headless ones.
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
    ASSERT_TRUE(XScreenOpen());
    DisplayTest::SetUp();
    std::filesystem::create_directories(dir / "user");
    SetDataFolders((dir / "user").c_str(), (dir / "user").c_str());
    for (const char* package : {"festravask.tvp", "fonts.tvp"}) {
      std::filesystem::create_symlink(std::string(TV_GAME_DIR) + "/assets/" + package,
                                      std::filesystem::path(dir / "assets") / package);
    }
    Mount();
    platform->CreateMainWindow(CreateSdlWindowBackend());
    ASSERT_TRUE(data->window);
    platform->CreateDisplayHandler();
    handler = dynamic_cast<TDx3dDisplayHandler*>(platform->GetDisplayHandler());
    ASSERT_NE(handler, nullptr);
    Prepare();
  }
  // Runs frames until the whole window is drawn with dark text in the rectangle (a label's
  // band), at most
  // about two seconds; keeps the window's picture in the file `picture`.
  bool ShowsInWindow(const char* picture, const TRect& band) {
    const sd::TRect client = HandlerData().context.display.GetScreenRect();
    std::vector<uint32_t> shot;
    auto drawn = [&] {
      shot = XScreenGrab(client.left, client.top, kWidth, kHeight);
      if (shot.size() != size_t(kWidth) * kHeight) return false;
      // The whole window is drawn: no black left (the screens have none).
      int black = 0;
      for (uint32_t p : shot) black += (p & 0xFFFFFFu) == 0;
      if (black > kWidth * kHeight / 100) return false;
      int ink = 0;
      for (int y = band.top; y < band.bottom; ++y) {
        for (int x = band.left; x < band.right; ++x) {
          const uint32_t p = shot[size_t(y) * kWidth + size_t(x)];
          ink += ((p >> 16) & 0xFF) < 120 && ((p >> 8) & 0xFF) < 100;
        }
      }
      return ink > 30;
    };
    bool shown = false;
    for (int i = 0; i < 100 && !shown; ++i) {
      // The window's own events (its resize among them), then a frame.
      TPlatformEvent event;
      platform->GetEvent(&event);
      Manager().HandleEvent(&event);
      Manager().RequestFullRedraw();
      Tick();
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      shown = drawn();
    }
    if (!shot.empty()) sd::WriteArgbPng(picture, shot.data(), kWidth, kHeight, kWidth);
    return shown;
  }
  void TearDown() override {
    if (!data) return;  // skipped
    HiscoreTest::TearDown();
    XScreenClose();
  }
};

TEST_F(HiscoreWindowXTest, TheLocalTableIsDrawnInTheWindow) {
  ASSERT_TRUE(handler->IsDeviceValid());
  Scripted();
  for (const char* player : {"Velka", "Dora", "Milan"}) {
    Settings().CreateNewUser(player);
    AddLocalScores({player[0] * 37, player[1] * 53});
  }
  Settings().SetCurrentUser(0);
  ASSERT_NE(Open(), nullptr);
  ASSERT_TRUE(Shows("name6"));
  EXPECT_TRUE(ShowsInWindow("hiscore_local.png", TRect{180, 212, 400, 232}))
      << "the first row's name is not in the window";
  Click("submit");
  ASSERT_TRUE(Shows("nameedit"));
  EXPECT_TRUE(ShowsInWindow("hiscore_submit.png", TRect{170, 85, 320, 109}))
      << "the submit form is not in the window";
  // The global view after a submission that placed.
  service->categories = {"This week"};
  service->FillOnline(12);
  service->ownRank = 3;
  Click("submittoserver");
  service->Answer(0, "", true);
  service->Answer(0);
  service->Answer(0);
  Ticks(4);
  ASSERT_EQ(hiscore->GetState(), THiscore::kGlobal);
  EXPECT_TRUE(ShowsInWindow("hiscore_global.png", TRect{180, 212, 400, 232}))
      << "the global table is not in the window";
}

}  // namespace
