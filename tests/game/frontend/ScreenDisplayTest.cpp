// The options and the credits drawn into a real window on the test X server (the SDL window
// backend's presenter under Xvfb), read back from the X server and written beside the test's
// output as xvfb_*.png for looking at.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "tests/game/frontend/MenuScreenFixture.h"
#include "tvlib/platform/sdl/TSdlPresenter.h"

// Last: Xlib's macros (SDL_syswm.h brings Xlib in).
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

class ScreenDisplayTest : public MenuScreenTest {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    window = SDL_CreateWindow("FestraVask screens", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                              kWidth, kHeight, SDL_WINDOW_SHOWN);
    ASSERT_NE(window, nullptr) << SDL_GetError();
    MenuScreenTest::SetUp();
  }
  void TearDown() override {
    if (!window) return;
    MenuScreenTest::TearDown();
    SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  void MakeDisplay() override {
    handler = new TDx3dDisplayHandler(sd::TSdlPresenter::Create(window), platform.get());
    platform->SetDisplayHandler(handler);
  }

  // Draws the whole frame, then reads the window back from the X server and writes it as
  // `name`; answers the number of colours seen on a grid of every 8th pixel (0: unreadable).
  size_t Capture(const std::string& name) {
    Manager().RequestFullRedraw();
    Tick(16);
    SDL_PumpEvents();
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return 0;
    ::Display* display = info.info.x11.display;
    XSync(display, False);
    XImage* image =
        XGetImage(display, info.info.x11.window, 0, 0, kWidth, kHeight, AllPlanes, ZPixmap);
    if (!image) return 0;
    const bool written = WriteFramePng(name, kWidth, kHeight, [image](int x, int y) {
      return static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFFu;
    });
    std::set<unsigned long> colours;
    for (int y = 0; y < kHeight; y += 8) {
      for (int x = 0; x < kWidth; x += 8) colours.insert(XGetPixel(image, x, y) & 0xFFFFFFu);
    }
    region.clear();
    for (int y = 140; y < 480; y += 2) {
      for (int x = 190; x < 560; x += 2) region += std::to_string(XGetPixel(image, x, y)) + ",";
    }
    XDestroyImage(image);
    return written ? colours.size() : 0;
  }

  SDL_Window* window = nullptr;
  std::string region;  // the credits' viewport at the last capture
};

TEST_F(ScreenDisplayTest, TheOptionsOnTheXServer) {
  Settings().CreateNewUser("Ada");
  Open("scripts/options.lua");
  ASSERT_NE(Find<TOptions>("options"), nullptr);
  EXPECT_GT(Capture("xvfb_options.png"), 20u);
}

TEST_F(ScreenDisplayTest, TheCreditsOnTheXServer) {
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::copy_file(TV_CREDITS_FILE, dir / "credits.txt");
  std::filesystem::current_path(dir.Path());
  Open("scripts/credits.lua");
  std::filesystem::current_path(previous);
  ASSERT_NE(Find<TCredits>("credits"), nullptr);
  EXPECT_GT(Capture("xvfb_credits_standing.png"), 20u);
  const std::string standing = region;
  Tick(8000 + 6000);
  EXPECT_GT(Capture("xvfb_credits_scrolled.png"), 20u);
  EXPECT_NE(region, standing);
}

}  // namespace
