// The pixel hit mask of buttons, made from generated images on the headless display: the
// point scales by mask size over window size, truncated and bounds-checked, and a press on a
// black pixel leaves the button alone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/render/DisplayFixture.h"
#include "tests/ui/RecordingWindow.h"
#include "tvlib/render/TDxTextureData.h"
#include "tvlib/render/TTexture.h"
#include "tvlib/ui/TButton.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

class ButtonMaskTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    Display(160, 120);
    mRoot = new TRecModal("root", &mLog);
    Manager().SetRootWindow(mRoot);
  }
  void TearDown() override {
    data->windowManager.reset();
    DisplayTest::TearDown();
  }
  TWindowManager& Manager() { return *data->windowManager; }
  // A 20 x 10 push button on the root.
  TButton* AddButton() {
    auto* button = new TButton(kButtonPush);
    button->SetName("m");
    button->SetSize(20, 10);
    mRoot->AddChild(button, true);
    return button;
  }
  int Clicks() {
    Manager().DrainQueue();
    int clicks = 0;
    for (const auto& note : mLog) clicks += note.rfind("msg3:", 0) == 0;
    return clicks;
  }

  Notes mLog;
  TRecModal* mRoot = nullptr;
};

// A mask of `w` x `h` whose left half is white and right half black; the pixel at (w/2 - 1, 0)
// is just dark enough to count and the one at (w/2 - 1, 1) just too dark.
std::shared_ptr<TTexture> MakeMask(int w, int h) {
  std::shared_ptr<TTexture> texture = TTexture::CreateBlank(w, h, false);
  if (!texture) return texture;
  std::vector<uint32_t> pixels(static_cast<size_t>(w * h));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      pixels[static_cast<size_t>(y * w + x)] = x < w / 2 ? 0xFFFFFFFFu : 0xFF000000u;
    }
  }
  pixels[static_cast<size_t>(w / 2 - 1)] = 0xFF141414u;
  pixels[static_cast<size_t>(w + w / 2 - 1)] = 0xFF131313u;
  texture->GetData()->WritePixels(w, h, pixels.data());
  return texture;
}

TEST_F(ButtonMaskTest, HitMaskScalesByMaskOverWindowSize) {
  struct TCase {
    int maskW, maskH;  // the button is 20 x 10
    TPoint point;
    bool outside;
  };
  const TCase cases[] = {
      {20, 10, {0, 0}, false}, {20, 10, {9, 0}, false},  {20, 10, {9, 1}, true},
      {20, 10, {10, 5}, true}, {20, 10, {20, 10}, true}, {20, 10, {-1, 5}, true},
      {10, 5, {8, 0}, false},  {10, 5, {8, 9}, false},   {10, 5, {9, 2}, true},
      {10, 5, {10, 2}, true},  {40, 20, {9, 0}, false},  {40, 20, {19, 9}, true},
      {40, 20, {4, 9}, false}, {40, 20, {20, 10}, true}, {20, 10, {21, 5}, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.maskW) + " " + std::to_string(c.point.x) + "," +
                 std::to_string(c.point.y));
    auto mask = MakeMask(c.maskW, c.maskH);
    ASSERT_TRUE(mask);
    TButton* button = AddButton();
    button->SetHitMask(mask.get());
    EXPECT_EQ(button->GetHitMaskWidth(), c.maskW);
    EXPECT_EQ(button->IsOutside(c.point), c.outside);
    mRoot->RemoveChild(button);
    delete button;
  }
}

TEST_F(ButtonMaskTest, APressOnABlackPixelLeavesTheButtonIdleAndFree) {
  auto mask = MakeMask(20, 10);
  ASSERT_TRUE(mask);
  TButton* button = AddButton();
  button->SetHitMask(mask.get());
  TPoint black{15, 5}, white{3, 5};
  button->OnMouseDown(&black);
  EXPECT_EQ(button->GetState(), kButtonIdle);
  EXPECT_TRUE(Manager().GetCapture().empty());
  button->OnMouseUp(&black);
  EXPECT_TRUE(Clicks() == 0);
  button->OnMouseDown(&white);
  button->OnMouseUp(&white);
  EXPECT_EQ(Clicks(), 1);
  button->SetHitMask(nullptr);  // no mask: the whole rectangle counts
  EXPECT_FALSE(button->IsOutside(black));
}

}  // namespace
