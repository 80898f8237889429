// Whole frames through the real display handler on the headless presenter: a root screen
// with an image window and a modal dialog against a committed reference image, the idle
// frame that draws nothing, an image that redraws only its dirty part, and a text over a
// redrawn sibling that keeps its pixels.
#include <gtest/gtest.h>

#include <vector>

#include "tests/render/DisplayFixture.h"
#include "tests/render/ReferenceFrame.h"
#include "tvlib/render/TTexture.h"
#include "tvlib/ui/TImage.h"
#include "tvlib/ui/TScreen.h"
#include "tvlib/ui/TText.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

constexpr int kWidth = 160;
constexpr int kHeight = 120;

// A dialog that fills its dirty part with one colour.
struct TPanelDialog : TModalWindow {
  TColor32 colour{0xFF2050C0u};
  void Draw() override {
    const TRect screen = GetScreenRect();
    const TRect area = GetDirtyRect() ? *GetDirtyRect() : GetLocalRect();
    TPlatform::GetInstance()->FillRect(screen.left + area.left, screen.top + area.top,
                                       area.right - area.left, area.bottom - area.top, colour,
                                       nullptr);
  }
};

// Four quadrants of red, green, blue and white, with a one-pixel black frame.
uint32_t QuadrantColour(int x, int y, int w, int h) {
  if (x == 0 || y == 0 || x == w - 1 || y == h - 1) return 0xFF000000u;
  const bool right = x >= w / 2, bottom = y >= h / 2;
  if (!right && !bottom) return 0xFFFF0000u;
  if (right && !bottom) return 0xFF00FF00u;
  if (!right) return 0xFF0000FFu;
  return 0xFFFFFFFFu;
}

std::shared_ptr<TTexture> MakeTexture(int w, int h, uint32_t (*colour)(int, int, int, int)) {
  std::shared_ptr<TTexture> texture = TTexture::CreateBlank(w, h, false);
  if (!texture) return texture;
  std::vector<uint32_t> pixels(static_cast<size_t>(w * h));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) pixels[static_cast<size_t>(y * w + x)] = colour(x, y, w, h);
  }
  texture->GetData()->WritePixels(w, h, pixels.data());
  return texture;
}

class ImageFrameTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    Display(kWidth, kHeight);
    mScreen = new TScreen;
    const float grey[4] = {0.25f, 0.25f, 0.25f, 1.0f};
    mScreen->SetFill(true, grey);
    Manager().SetRootWindow(mScreen);
  }
  TWindowManager& Manager() { return *data->windowManager; }
  void Tick() {
    TPlatformEvent tick{kEventTick, 0, 0, 0, 0};
    Manager().HandleEvent(&tick);
  }
  uint32_t Shown(int x, int y) { return presenter->Pixel(x, y) & 0xFFFFFFu; }

  TScreen* mScreen = nullptr;
};

TEST_F(ImageFrameTest, AScreenWithAnImageAndADialogDrawsTheReferenceFrame) {
  auto* image = new TImage;
  image->SetTexture(MakeTexture(24, 16, QuadrantColour), 1.0f);
  image->SetPosition(16, 12);
  mScreen->AddChild(image, true);
  auto* dialog = new TPanelDialog;
  dialog->SetPosition(72, 56);
  dialog->SetSize(64, 40);
  Manager().PushModal(dialog);
  auto* picture = new TImage;
  picture->SetTexture(MakeTexture(24, 16, QuadrantColour), 0.5f);
  picture->SetPosition(8, 8);
  dialog->AddChild(picture, true);
  Tick();
  ASSERT_EQ(presenter->ShowCount(), 1);
  ASSERT_EQ(presenter->FrameWidth(), kWidth);

  const char* reference = TV_TEST_DATA "/ui/screen_image_dialog.png";
  const int differing = CountDifferingPixels(reference, kWidth, kHeight, 0,
                                             [this](int x, int y) { return Shown(x, y); });
  if (differing != 0) {
    presenter->WritePng("screen_image_dialog.actual.png");
    FAIL() << differing << " pixels differ from " << reference
           << "; see screen_image_dialog.actual.png in the test folder";
  }

  Tick();  // nothing dirty: nothing drawn, nothing shown
  EXPECT_EQ(presenter->ShowCount(), 1);
}

TEST_F(ImageFrameTest, AnImageRedrawsOnlyItsDirtyPart) {
  auto* image = new TImage;
  std::shared_ptr<TTexture> texture = MakeTexture(24, 16, QuadrantColour);
  image->SetTexture(texture, 1.0f);
  image->SetPosition(16, 12);
  mScreen->AddChild(image, true);
  Tick();
  ASSERT_EQ(Shown(20, 16), 0xFF0000u);
  // New pixels in the texture, but only a small part of the window is invalidated.
  std::vector<uint32_t> yellow(24 * 16, 0xFFFFFF00u);
  texture->GetData()->WritePixels(24, 16, yellow.data());
  TRect part{2, 2, 6, 5};
  image->Invalidate(&part);
  Tick();
  for (int y = 12; y < 28; ++y) {
    for (int x = 16; x < 40; ++x) {
      const bool inside = x >= 18 && x < 22 && y >= 14 && y < 17;
      if (inside) {
        EXPECT_EQ(Shown(x, y), 0xFFFF00u) << x << "," << y;
      } else {
        EXPECT_NE(Shown(x, y), 0xFFFF00u) << x << "," << y;
      }
    }
  }
}

// A text partly over a sibling that is redrawn is drawn again over everything under it, never
// over its own old pixels: its anti-aliased edges would thicken with every frame.
TEST_F(ImageFrameTest, ATextPartlyOverARedrawnSiblingKeepsItsPixels) {
  platform->InitDisplay(kWidth, kHeight, false);  // the text rasteriser
  auto* image = new TImage;
  image->SetTexture(MakeTexture(24, 16, QuadrantColour), 1.0f);
  image->SetPosition(16, 12);
  mScreen->AddChild(image, true);
  auto* text = new TText;
  mScreen->AddChild(text, true);  // in front of the image
  const float white[4] = {1, 1, 1, 1};
  ASSERT_TRUE(text->InitText("Wedding cake", 100, 30, 0, "", 20, white));
  text->SetPosition(30, 10);  // over the image's right part, and on past it
  Tick();
  const uint32_t fill = Shown(150, 110);
  std::vector<uint32_t> first;
  int inked = 0;
  for (int y = 10; y < 40; ++y) {
    for (int x = 30; x < 130; ++x) {
      first.push_back(Shown(x, y));
      inked += x >= 40 && Shown(x, y) != fill;  // beside the image
    }
  }
  ASSERT_GT(inked, 20) << "the text is drawn";
  for (int frame = 1; frame <= 3; ++frame) {
    image->Invalidate();
    Tick();
    int changed = 0;
    size_t i = 0;
    for (int y = 10; y < 40; ++y)
      for (int x = 30; x < 130; ++x) changed += Shown(x, y) != first[i++];
    EXPECT_EQ(changed, 0) << "frame " << frame;
  }
  presenter->WritePng("text_over_redrawn_sibling.png");
}

TEST_F(ImageFrameTest, ImageSizeFollowsTheTextureAndTheScale) {
  TImage image;
  image.SetTexture(TTexture::CreateBlank(101, 51, false), 0.5f);
  EXPECT_EQ(image.GetWidth(), 51);
  EXPECT_EQ(image.GetHeight(), 26);
  image.SetTexture(nullptr, 3.0f);  // keeps the size
  EXPECT_EQ(image.GetWidth(), 51);
  EXPECT_EQ(image.GetHeight(), 26);
  EXPECT_TRUE(image.IsKindOf(TWindow::GetClassId()));
  EXPECT_TRUE(image.IsKindOf(TImage::GetClassId()));
  EXPECT_FALSE(image.IsKindOf(TModalWindow::GetClassId()));
  TScreen screen;
  for (TWindowClassId id :
       {TScreen::GetClassId(), TModalWindow::GetClassId(), TWindow::GetClassId()}) {
    EXPECT_TRUE(screen.IsKindOf(id));
  }
  EXPECT_FALSE(screen.IsKindOf(TImage::GetClassId()));
}

}  // namespace
