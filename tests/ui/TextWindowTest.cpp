// The text window: its block and size, scrolling, and links that fire on press and release.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ui/TextTestSupport.h"
#include "tvlib/ui/TText.h"
#include "tvlib/ui/TTextBlock.h"

namespace {

constexpr float kWhite[4] = {1, 1, 1, 1};

// The window takes points by address, as the window tree hands them on.
bool OnMouseDown(TText& text, int x, int y) {
  TPoint point{x, y};
  return text.OnMouseDown(&point);
}
bool OnMouseUp(TText& text, int x, int y) {
  TPoint point{x, y};
  return text.OnMouseUp(&point);
}
bool OnMouseMove(TText& text, int x, int y) {
  TPoint point{x, y};
  return text.OnMouseMove(&point);
}

class TRecordingText : public TText {
 public:
  std::vector<std::string> fired;

 protected:
  bool FireLinkCommand(const TString& linkId) override {
    fired.emplace_back(linkId.c_str());
    return true;
  }
};

class TextWindowTest : public ::testing::Test {
 protected:
  TTestTextServices mServices;
  TRecordingText mText;
};

TEST_F(TextWindowTest, InitMakesTheBlockAndSizesTheWindow) {
  EXPECT_FALSE(mText.InitText("x", 0, 10, 0, "round", 10, kWhite));
  EXPECT_EQ(mText.GetBlock(), nullptr);
  EXPECT_FALSE(OnMouseDown(mText, 1, 1));
  ASSERT_TRUE(mText.InitText("ab", 100, 30, 0, "round", 10, kWhite));
  EXPECT_EQ(mText.GetRect().right - mText.GetRect().left, 100);
  EXPECT_EQ(mText.GetRect().bottom - mText.GetRect().top, 30);
  EXPECT_STREQ(mText.GetText().c_str(), "ab");
  mText.SetText("cd");
  EXPECT_STREQ(mText.GetBlock()->GetText().c_str(), "cd");
  EXPECT_TRUE(mText.IsDirty());
  TRect area{5, 5, 6, 6};
  EXPECT_TRUE(mText.AddDirtyRect(&area));
  EXPECT_EQ(area.right, 100) << "the caller learns the text redraws whole";
  EXPECT_EQ(area.bottom, 30);
  ASSERT_NE(mText.GetDirtyRect(), nullptr);
  EXPECT_EQ(mText.GetDirtyRect()->right, 100);
  EXPECT_EQ(mText.GetDirtyRect()->left, 0);
  EXPECT_FALSE(mText.AddDirtyRect(nullptr));
}

// Labels filled in after their screen was drawn show at once, also where they were empty.
TEST_F(TextWindowTest, AnyChangeOfTheTextRedrawsIt) {
  ASSERT_TRUE(mText.InitText("", 100, 30, 0, "round", 10, kWhite));
  for (const char* text : {"ab", "", "cd"}) {
    mText.DrawTree(0);
    ASSERT_FALSE(mText.IsDirty());
    mText.SetText(text);
    EXPECT_TRUE(mText.IsDirty()) << "set to '" << text << "'";
  }
  mText.DrawTree(0);
  mText.SetText("cd");
  EXPECT_FALSE(mText.IsDirty()) << "the same text again";
}

TEST_F(TextWindowTest, LinksFireWhenPressedAndReleasedOverTheSameLink) {
  ASSERT_TRUE(
      mText.InitText("xx<a id='ok'>OK</a> <a id='no'>NO</a>", 200, 30, 0, "round", 10, kWhite));
  EXPECT_TRUE(OnMouseDown(mText, 25, 5));
  EXPECT_TRUE(OnMouseUp(mText, 26, 6));
  EXPECT_EQ(mText.fired, std::vector<std::string>{"ok"});
  // Released over another link or outside: nothing runs, the press is forgotten.
  EXPECT_TRUE(OnMouseDown(mText, 25, 5));
  EXPECT_TRUE(OnMouseUp(mText, 45, 5));
  EXPECT_FALSE(OnMouseUp(mText, 25, 5));
  EXPECT_FALSE(OnMouseDown(mText, 5, 5));
  EXPECT_EQ(mText.fired.size(), 1u);
  // Hovering makes the link hot until the mouse leaves.
  EXPECT_TRUE(OnMouseMove(mText, 25, 5));
  EXPECT_FALSE(OnMouseMove(mText, 26, 5));
  EXPECT_STREQ(mText.GetBlock()->GetHotLink().c_str(), "ok");
  EXPECT_TRUE(mText.OnMouseLeave());
  EXPECT_STREQ(mText.GetBlock()->GetHotLink().c_str(), "");
}

TEST_F(TextWindowTest, ScrollPositionRunsFromTheFirstLineToTheLimit) {
  ASSERT_TRUE(mText.InitText("a<br>b<br>c<br>d<br>e", 100, 25, 0, "round", 10, kWhite));
  struct TCase {
    float position;
    int first;
  };
  for (const TCase& c :
       {TCase{1.0f, 3}, TCase{0.0f, 0}, TCase{0.5f, 1}, TCase{7.0f, 4}, TCase{-2.0f, 0}}) {
    SCOPED_TRACE(c.position);
    mText.SetScrollPosition(c.position, 0);
    EXPECT_EQ(mText.GetBlock()->GetFirstLine(), c.first);
  }
}

}  // namespace
