// The software cursor: drawn over the screen with the background kept in save-unders, moved by
// the cursor thread's polls, drawn into every presented frame and never left behind.
#include "tests/render/DisplayFixture.h"
#include "tests/render/TestImages.h"
#include "tvlib/render/TTexture.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

class CursorTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    Display();
    UsePointer();
  }
  // The fake pointer, given in client pixels.
  void UsePointer() {
    context().pointerSource = [this](int* x, int* y) {
      sd::TRect client = presenter->IsFullScreen() ? sd::TRect{} : presenter->ClientRect();
      *x = client.left + pointer.x;
      *y = client.top + pointer.y;
      return true;
    };
  }
  TDXContext& context() { return HandlerData().context; }
  sd::TSurface& Primary() { return *context().GetPrimary(); }
  // The primary's pixel under client position (x, y).
  uint32_t PrimaryPixel(int x, int y) {
    sd::TRect client = presenter->IsFullScreen() ? sd::TRect{} : presenter->ClientRect();
    x += client.left;
    y += client.top;
    return reinterpret_cast<const uint32_t*>(Primary().Bits() + y * Primary().Pitch())[x] &
           0xFFFFFF;
  }
  // A pattern over the whole primary, so any stale pixel shows.
  std::vector<uint8_t> PaintPrimary() {
    for (int y = 0; y < Primary().Height(); ++y) {
      auto* row = reinterpret_cast<uint32_t*>(Primary().Bits() + y * Primary().Pitch());
      for (int x = 0; x < Primary().Width(); ++x) row[x] = (x * 2654435761u) ^ (y * 40503u);
    }
    return std::vector<uint8_t>(Primary().Bits(),
                                Primary().Bits() + Primary().Pitch() * Primary().Height());
  }
  bool PrimaryEquals(const std::vector<uint8_t>& bytes) {
    return std::equal(bytes.begin(), bytes.end(), Primary().Bits());
  }
  // An 8 x 8 cursor: a white square inside a magenta (transparent) frame.
  std::shared_ptr<TTexture> CursorImage() {
    TPngSpec spec;
    spec.width = spec.height = 8;
    spec.colourType = PNG_COLOR_TYPE_RGB;
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 8; ++x) {
        bool frame = x == 0 || y == 0 || x == 7 || y == 7;
        spec.bytes.insert(spec.bytes.end(), {255, uint8_t(frame ? 0 : 255), 255});
      }
    }
    EXPECT_TRUE(WritePng(dir / "assets/cursor.png", spec));
    Mount();
    return TTexture::GetSimple("cursor?colorkeyed");
  }
  void Poll(int x, int y) {
    pointer = TPoint{x, y};
    clock.now += 16;
    handler->UpdateCursor(-1, -1);
  }
  TPoint pointer{100, 100};
};

}  // namespace

TEST_F(CursorTest, WithoutAFrameSideCallPollsKnowNoPosition) {
  TPoint at = handler->UpdateCursor(-1, -1);
  EXPECT_EQ(at.x, -1);
  EXPECT_EQ(at.y, -1);
}

TEST_F(CursorTest, OverlappingMovesAndAHideLeaveTheScreenAsItWas) {
  auto image = CursorImage();
  ASSERT_TRUE(image);
  ASSERT_TRUE(handler->SetCursorTexture(image, 2, 2));
  std::vector<uint8_t> background = PaintPrimary();
  handler->UpdateCursor(100, 100);  // the frame side learns the position
  EXPECT_EQ(PrimaryPixel(101, 101), kWhite);
  EXPECT_NE(PrimaryPixel(98, 98), kWhite);  // the magenta frame is not drawn
  const TPoint moves[] = {{103, 101}, {105, 106}, {104, 104}, {300, 200}, {301, 199}, {97, 96}};
  for (TPoint m : moves) {
    Poll(m.x, m.y);
    EXPECT_EQ(PrimaryPixel(m.x + 1, m.y + 1), kWhite) << m.x << "," << m.y;
  }
  // A poll too soon after the last draw changes nothing.
  pointer = TPoint{150, 150};
  handler->UpdateCursor(-1, -1);
  EXPECT_NE(PrimaryPixel(151, 151), kWhite);
  EXPECT_EQ(PrimaryPixel(98, 97), kWhite);
  handler->HideCursor();
  EXPECT_TRUE(PrimaryEquals(background));
}

TEST_F(CursorTest, PresentDrawsTheCursorIntoTheFrameAndKeepsTheBackBufferClean) {
  auto image = CursorImage();
  ASSERT_TRUE(handler->SetCursorTexture(image, 0, 0));
  pointer = TPoint{50, 60};
  handler->UpdateCursor(50, 60);
  const float blue[4] = {0, 0, 1, 1};
  ASSERT_TRUE(handler->BeginDraw(false));
  handler->FillRect(0, 0, -1, -1, blue, nullptr);
  handler->EndDraw(true);
  EXPECT_EQ(PrimaryPixel(53, 63), kWhite);
  EXPECT_EQ(presenter->Pixel(53, 63) & 0xFFFFFF, kWhite);
  EXPECT_EQ(BackPixel(53, 63) & 0xFFFFFF, 0x0000FFu);
  // The cursor moves over the presented frame and is erased to it.
  Poll(400, 300);
  EXPECT_EQ(PrimaryPixel(53, 63) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(PrimaryPixel(403, 303), kWhite);
  handler->HideCursor();
  EXPECT_EQ(PrimaryPixel(403, 303) & 0xFFFFFF, 0x0000FFu);
}

TEST_F(CursorTest, FullScreenFramesCarryTheCursorAcrossFlips) {
  handler->SetDisplay(800, 600, true, false, false, false);
  UsePointer();
  auto image = CursorImage();
  ASSERT_TRUE(handler->SetCursorTexture(image, 0, 0));
  pointer = TPoint{10, 10};
  handler->UpdateCursor(10, 10);
  const float red[4] = {1, 0, 0, 1};
  for (int frame = 0; frame < 3; ++frame) {
    ASSERT_TRUE(handler->BeginDraw(true));
    // The prepared back buffer holds the last frame without the cursor.
    EXPECT_EQ(BackPixel(13, 13) & 0xFFFFFF, 0u);
    EXPECT_EQ(BackPixel(205, 205) & 0xFFFFFF, frame ? 0xFF0000u : 0u);
    handler->FillRect(200, 200, 210, 210, red, nullptr);
    handler->EndDraw(true);
    EXPECT_EQ(presenter->Pixel(13, 13) & 0xFFFFFF, kWhite);
  }
  handler->HideCursor();
  EXPECT_EQ(PrimaryPixel(13, 13), 0u);
}

TEST_F(CursorTest, ReplacingTheDeviceWaitsForTheCursorThread) {
  auto image = CursorImage();
  ASSERT_TRUE(handler->SetCursorTexture(image, 0, 0));
  std::unique_lock<std::recursive_timed_mutex> held(context().mouseMutex);
  std::atomic<bool> replaced{false};
  std::thread modeSet([&] {
    handler->SetDisplay(800, 600, false, true, false, false);
    replaced = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(replaced);  // the device is not released under a cursor draw
  held.unlock();
  modeSet.join();
  EXPECT_TRUE(replaced);
  EXPECT_NE(context().GetMutexName().Find("TDXContextMouseMutex:"), -1);
}

// The cursor thread draws into the screen image under the mouse mutex; a frame shows that
// image only once the mutex is free.
TEST_F(CursorTest, StartingAFrameWaitsForTheCursorThread) {
  auto image = CursorImage();
  ASSERT_TRUE(handler->SetCursorTexture(image, 0, 0));
  handler->UpdateCursor(100, 100);
  Poll(120, 110);
  std::unique_lock<std::recursive_timed_mutex> held(context().mouseMutex);
  std::atomic<bool> started{false};
  std::thread frame([&] { started = handler->BeginDraw(false); });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(started);
  held.unlock();
  frame.join();
  ASSERT_TRUE(started);
  handler->EndDraw(true);
  EXPECT_EQ(presenter->Pixel(121, 111) & 0xFFFFFF, kWhite);
}

TEST_F(CursorTest, ANewDeviceStartsTheCursorAfresh) {
  auto image = CursorImage();
  ASSERT_TRUE(handler->SetCursorTexture(image, 0, 0));
  handler->UpdateCursor(100, 100);
  ASSERT_TRUE(context().cursorDrawn);
  // Nothing is presented on the new screen, so the state seen is the one the device left.
  data->windowManager->mDrawingDisabled = true;
  handler->SetDisplay(1024, 768, false, true, false, false);
  // Nothing of the old screen is kept to be painted back under the cursor.
  EXPECT_FALSE(context().cursorDrawn);
  EXPECT_EQ(context().lastDrawnPos.x, -1);
  EXPECT_EQ(context().saveIndex, 0);
}

TEST_F(CursorTest, TheCursorImageComesBackAfterADeviceRestore) {
  auto image = CursorImage();
  ASSERT_TRUE(handler->SetCursorTexture(image, 0, 0));
  sd::TSurface* before = context().cursorSurface.Get();
  // A new mode rebuilds every texture; the cursor follows at the next frame.
  handler->SetDisplay(800, 600, false, true, false, false);
  ASSERT_NE(image->GetData()->surface.get(), before);
  EXPECT_TRUE(data->restorePending);
  ASSERT_TRUE(platform->BeginFrame(false));
  EXPECT_EQ(context().cursorSurface.Get(), image->GetData()->surface.get());
  EXPECT_TRUE(handler->HideSystemCursor());
  handler->EndDraw(false);
}

TEST_F(CursorTest, ThePlatformCreatesTheThreeDimensionalHandler) {
  platform->CreateDisplayHandler();  // no main window: frames stay in memory
  handler = nullptr;
  auto* created = dynamic_cast<TDx3dDisplayHandler*>(platform->GetDisplayHandler());
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(TDxDisplayHandler::GetInstance(), created);
  EXPECT_FALSE(created->IsDeviceValid());
}
