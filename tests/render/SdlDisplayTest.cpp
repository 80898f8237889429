// The display handler on the real presenter under the test command's X server: a frame shows
// in the window, and the cursor follows the pointer, drawn by a second thread.
#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

#include "tests/render/DisplayFixture.h"
#include "tests/render/TestImages.h"
#include "tests/render/XScreen.h"
#include "tvlib/platform/sdl/SdlBackend.h"
#include "tvlib/render/TTexture.h"

namespace {

// Waits until the server shows `colour` at the position, at most two seconds, running `step`
// (a frame, as the game loop would) between looks.
bool ShowsSoon(int px, int py, uint32_t colour, const std::function<void()>& step = {}) {
  for (int i = 0; i < 200; ++i) {
    if (XScreenPixel(px, py) == colour) return true;
    if (step) step();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

}  // namespace

TEST_F(DisplayTest, RealWindowShowsFramesAndTheCursorFollowsThePointer) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
  ASSERT_TRUE(XScreenOpen());
  platform->CreateMainWindow(CreateSdlWindowBackend());
  ASSERT_TRUE(data->window);
  platform->CreateDisplayHandler();
  handler = dynamic_cast<TDx3dDisplayHandler*>(platform->GetDisplayHandler());
  ASSERT_NE(handler, nullptr);
  handler->SetDisplay(800, 600, false, false, false, false);
  ASSERT_TRUE(handler->IsDeviceValid());
  ASSERT_FALSE(handler->IsFullscreen());

  const float green[4] = {0, 1, 0, 1};
  auto frame = [&] {
    ASSERT_TRUE(handler->BeginDraw(false));
    handler->FillRect(0, 0, -1, -1, green, nullptr);
    handler->EndDraw(true);
  };
  frame();
  sd::TRect client = HandlerData().context.display.GetScreenRect();
  EXPECT_TRUE(ShowsSoon(client.left + 400, client.top + 300, 0x00FF00, frame));

  TPngSpec spec = SolidRgba(8, 8, 0xFFFFFFFF);
  ASSERT_TRUE(WritePng(dir / "assets/arrow.png", spec));
  Mount();
  auto arrow = TTexture::GetSimple("arrow");
  ASSERT_TRUE(arrow);
  ASSERT_TRUE(handler->SetCursorTexture(arrow, 0, 0));
  XScreenMovePointer(client.left + 100, client.top + 100);
  handler->UpdateCursor(0, 0);  // the frame side learns where the pointer is
  HandlerData().directDraw->ShowPending();
  EXPECT_TRUE(ShowsSoon(client.left + 103, client.top + 103, 0xFFFFFF));

  // The cursor thread draws the move; the main thread shows it.
  XScreenMovePointer(client.left + 300, client.top + 200);
  clock.now += 20;  // past the thread's 16 ms poll interval
  std::thread cursorThread([&] { handler->UpdateCursor(-1, -1); });
  cursorThread.join();
  HandlerData().directDraw->ShowPending();
  EXPECT_TRUE(ShowsSoon(client.left + 303, client.top + 203, 0xFFFFFF));
  EXPECT_TRUE(ShowsSoon(client.left + 103, client.top + 103, 0x00FF00));
  XScreenClose();
}
