// The SDL presenter on a real window: windowed and full-screen frames.
#include "tvlib/platform/sdl/TSdlPresenter.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace sd {
namespace {

// Runs under the test command's private X server; skipped where there is no display.
TEST(SdlPresenter, ShowsWindowedAndFullScreenFrames) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
  {
    SDL_Window* window = SDL_CreateWindow("FestraVask test", SDL_WINDOWPOS_CENTERED,
                                          SDL_WINDOWPOS_CENTERED, 320, 240, SDL_WINDOW_HIDDEN);
    ASSERT_TRUE(window) << SDL_GetError();
    auto p = TSdlPresenter::Create(window);
    ASSERT_TRUE(p);
    TDisplayMode desk = p->Desktop();
    EXPECT_GT(desk.width, 0);
    EXPECT_GT(desk.height, 0);
    TRect client = p->ClientRect();
    EXPECT_EQ(client.Width(), 320);
    EXPECT_EQ(client.Height(), 240);
    std::vector<uint32_t> desktop(size_t(desk.width) * desk.height, 0xFF336699);
    p->Show(desktop.data(), desk.width, desk.width, desk.height,
            TRect{0, 0, desk.width, desk.height});
    EXPECT_TRUE(SDL_GetWindowFlags(p->Window()) & SDL_WINDOW_SHOWN);

    // Windowed at 1:1: the pointer over the window is the same point of the desktop image.
    p->PlaceClient(TRect{40, 30, 360, 270});
    p->Show(desktop.data(), desk.width, desk.width, desk.height,
            TRect{0, 0, desk.width, desk.height});
    int x = 100, y = 50;
    p->DesktopToImage(&x, &y);
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 50);

    // Full screen the image is scaled into the screen with its aspect kept.
    ASSERT_TRUE(p->EnterFullScreen(800, 600));
    EXPECT_TRUE(p->IsFullScreen());
    std::vector<uint32_t> screen(800 * 600, 0xFF00FF00);
    SDL_PumpEvents();
    p->Show(screen.data(), 800, 800, 600, TRect{10, 10, 20, 20});
    const TRect placed = p->ImageInWindow();
    EXPECT_EQ(int64_t{placed.Width()} * 600, int64_t{placed.Height()} * 800);
    p->LeaveFullScreen();
    EXPECT_FALSE(p->IsFullScreen());
    p.reset();
    SDL_DestroyWindow(window);
  }
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

}  // namespace
}  // namespace sd
