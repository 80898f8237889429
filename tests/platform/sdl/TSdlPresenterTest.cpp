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

    ASSERT_TRUE(p->EnterFullScreen(800, 600));
    EXPECT_TRUE(p->IsFullScreen());
    std::vector<uint32_t> screen(800 * 600, 0xFF00FF00);
    p->Show(screen.data(), 800, 800, 600, TRect{10, 10, 20, 20});
    int lw = 0, lh = 0;
    SDL_RenderGetLogicalSize(SDL_GetRenderer(p->Window()), &lw, &lh);
    EXPECT_EQ(lw, 800);
    EXPECT_EQ(lh, 600);
    p->LeaveFullScreen();
    EXPECT_FALSE(p->IsFullScreen());
    p.reset();
    SDL_DestroyWindow(window);
  }
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

}  // namespace
}  // namespace sd
