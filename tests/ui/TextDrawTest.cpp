// Drawing text blocks through the real rasteriser into a canvas: a marked-up page against
// its reference image, link colours, rotation, scales, the caret and flat shading.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "tests/ui/TextTestSupport.h"
#include "tvlib/render/TVecFontSource.h"
#include "tvlib/ui/TTextBlock.h"

namespace {

constexpr float kWhite[4] = {1, 1, 1, 1};

struct TBlockDeleter {
  void operator()(TTextBlock* block) const { TTextBlock::Delete(block); }
};
using TBlockPtr = std::unique_ptr<TTextBlock, TBlockDeleter>;

class TextDrawTest : public ::testing::Test {
 protected:
  TextDrawTest() { mServices.fonts["__DEFAULT"] = LoadBuiltinVecFont(); }

  TBlockPtr Make(const char* text, int size = 20, int width = 240, int height = 90) {
    return TBlockPtr(TTextBlock::Create(text, width, height, 0, "", size, kWhite));
  }
  TTestCanvas Draw(const TTextBlock& block, float scale = 1.0f, int width = 240, int height = 90) {
    TTestCanvas canvas(width, height);
    TLockedPixels target = canvas.Lock();
    block.Draw(TRect{0, 0, width - 1, height - 1}, scale, 0, 1.0f, false, &target);
    return canvas;
  }
  static int CountColour(const TTestCanvas& canvas, uint32_t rgb) {
    int count = 0;
    for (int y = 0; y < canvas.height; ++y) {
      for (int x = 0; x < canvas.width; ++x) count += canvas.Rgb(x, y) == rgb;
    }
    return count;
  }
  // Pixels of the hue of `rgb` (each channel lit exactly where it is), at any coverage.
  static int CountHue(const TTestCanvas& canvas, uint32_t rgb) {
    int count = 0;
    for (int y = 0; y < canvas.height; ++y) {
      for (int x = 0; x < canvas.width; ++x) {
        const uint32_t p = canvas.Rgb(x, y);
        bool match = p != 0;
        for (int shift : {0, 8, 16})
          match &= (((p >> shift) & 0xFF) != 0) == (((rgb >> shift) & 0xFF) != 0);
        count += match;
      }
    }
    return count;
  }
  TTestTextServices mServices;
};

// The reference is a binary PPM of the canvas.
TEST_F(TextDrawTest, MarkedUpPageMatchesReferenceImage) {
  TBlockPtr block = Make(
      "Festra <b>Vask</b> <i>italic</i><br><u>under</u> <outline color='0000ff'>edge"
      "</outline> <a id='go' color='00ff00'>link</a><cursor><br><font size='14' "
      "color='ffcc00'>small \xC3\xA9t\xC3\xA9</font>");
  const TTextRun& link = block->GetLines()[1].runs[5];
  ASSERT_STREQ(link.linkId.c_str(), "go");
  const TPoint over{(link.left + link.right) / 2 + 2, 30};
  ASSERT_TRUE(block->SetHotLinkAt(&over, 0));
  const TTestCanvas canvas = Draw(*block);

  std::ostringstream actual;
  actual << "P6\n" << canvas.width << " " << canvas.height << "\n255\n";
  for (int y = 0; y < canvas.height; ++y) {
    for (int x = 0; x < canvas.width; ++x) {
      const uint32_t rgb = canvas.Rgb(x, y);
      actual.put(char(rgb >> 16)).put(char(rgb >> 8)).put(char(rgb));
    }
  }
  std::ifstream file(TV_TEST_DATA "/ui/text_page.ppm", std::ios::binary);
  const std::string reference((std::istreambuf_iterator<char>(file)),
                              std::istreambuf_iterator<char>());
  if (reference != actual.str()) {
    std::ofstream("text_page.actual.ppm", std::ios::binary) << actual.str();
    FAIL() << "differs from the reference; see text_page.actual.ppm in the test folder";
  }
}

TEST_F(TextDrawTest, HotLinkDrawsInItsLinkColour) {
  TBlockPtr block = Make("<a id='go' color='00ff00'>link</a>");
  EXPECT_EQ(CountColour(Draw(*block), 0x00FF00), 0);
  const TPoint over{20, 10};
  ASSERT_TRUE(block->SetHotLinkAt(&over, 0));
  EXPECT_GT(CountColour(Draw(*block), 0x00FF00), 20);
  block->SetHotLinkAt(nullptr, 0);
  EXPECT_EQ(CountColour(Draw(*block), 0x00FF00), 0);
}

TEST_F(TextDrawTest, RotationTurnsTheLinesAboutTheOrigin) {
  TBlockPtr block = Make("Rotated text", 20, 200, 200);
  const TRect flat = Draw(*block, 1.0f, 200, 200).Inked();
  EXPECT_GT(flat.right - flat.left, 3 * (flat.bottom - flat.top));
  // The line starts near (1, 19): turned a quarter about (50, 50) it runs down from (81, 1),
  // its ascent to the right of that.
  block->SetRotation(90, 50, 50);
  const TRect turned = Draw(*block, 1.0f, 200, 200).Inked();
  EXPECT_GT(turned.bottom - turned.top, 3 * (turned.right - turned.left));
  EXPECT_GE(turned.top, 0);
  EXPECT_GE(turned.left, 70);
  EXPECT_LE(turned.right, 100);
  // Within the snap, a rotation draws exactly as none.
  block->SetRotation(0.000001f, 0, 0);
  EXPECT_EQ(Draw(*block, 1.0f, 200, 200).pixels,
            Draw(*Make("Rotated text", 20, 200, 200), 1.0f, 200, 200).pixels);
}

TEST_F(TextDrawTest, ScalesAndTheRectangleLimitWhatIsDrawn) {
  TBlockPtr block = Make("Scale");
  const TRect one = Draw(*block).Inked();
  const TRect two = Draw(*block, 2.0f).Inked();
  EXPECT_NEAR(two.right - two.left, 2 * (one.right - one.left), 3);
  EXPECT_EQ(Draw(*block, -1.0f).Inked().left, -1);
  // An embedded game's display scale applies unless the caller keeps sizes integral.
  mServices.embedded = true;
  mServices.displayScale = 2.0f;
  const TRect embedded = Draw(*block).Inked();
  EXPECT_NEAR(embedded.right - embedded.left, 2 * (one.right - one.left), 3);
  TTestCanvas canvas(240, 90);
  TLockedPixels target = canvas.Lock();
  block->Draw(TRect{0, 0, 239, 89}, 1.0f, 0, 1.0f, true, &target);
  EXPECT_EQ(canvas.Inked().right, one.right);
  mServices.embedded = false;
  // Lines that do not fit in the rectangle are not drawn.
  TBlockPtr lines = Make("one<br>two<br>three");
  EXPECT_GT(Draw(*lines, 1.0f, 240, 41).Inked().bottom, 22);
  EXPECT_LT(Draw(*lines, 1.0f, 240, 39).Inked().bottom, 22);
}

TEST_F(TextDrawTest, CaretAndUnderlineTakeTheRunColour) {
  TBlockPtr caret = Make("<font color='ff0000'><cursor></font>");
  const TTestCanvas canvas = Draw(*caret);
  EXPECT_GT(CountHue(canvas, 0xFF0000), 10);
  EXPECT_EQ(CountHue(canvas, 0xFF0000), CountHue(canvas, 0xFFFFFF) + CountHue(canvas, 0xFF0000));
  const TRect bar = canvas.Inked();
  EXPECT_GT(bar.bottom - bar.top, 12);  // the font's ascent and descent
  TBlockPtr underline = Make("<font color='0000ff'><u>____</u></font>");
  EXPECT_GT(CountHue(Draw(*underline), 0x0000FF), 20);
}

TEST_F(TextDrawTest, FlatShadingDrawsWholePixelsOnly) {
  TBlockPtr block = Make("Flat");
  block->SetFlatShading(true);
  const TTestCanvas canvas = Draw(*block);
  const int white = CountColour(canvas, 0xFFFFFF);
  EXPECT_GT(white, 30);
  EXPECT_EQ(white + CountColour(canvas, 0), canvas.width * canvas.height);
}

}  // namespace
