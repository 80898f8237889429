// The credits: the file's lines into three columns (a table), the heading colour's text, the
// layout with its closing lines, the eight-second hold and the scroll of one copy of the text
// per 30 seconds, and the faults the window guards against (size 0, nothing to scroll).
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "game/frontend/CreditsText.h"
#include "tests/game/frontend/MenuScreenFixture.h"
#include "tvlib/ui/TText.h"
#include "tvlib/ui/TTextBlock.h"

namespace {

constexpr char kTag[] = "<font color='7d4e7aff'>";

TEST(CreditsTextTest, LinesBecomeThreeColumnsInStep) {
  struct Case {
    std::string file, left, right, headings;
  };
  const std::string tag = kTag;
  const Case cases[] = {
      {"Music|Ann\n", "Music\n", "Ann\n", "\n"},
      {"[Fonts]\n", "\n", "\n", tag + "Fonts</font>\n"},
      {" \t[Fonts] and more\t \n", "\n", "\n", tag + "Fonts</font> and more\n"},
      {"  Art | Bea  Cy \n", "Art\n", "Bea  Cy\n", "\n"},
      {"a|b|c", "a\n", "b|c\n", "\n"},                                       // the first bar splits
      {"Role|Name\r\nNext|One\r\n", "Role\nNext\n", "Name\nOne\n", "\n\n"},  // CRLF
      {"\n\n", "\n\n", "\n\n", "\n\n"},  // empty lines are empty headings
      {"", "", "", ""},
      {"x[y]|[z", "x" + tag + "y</font>\n", tag + "z\n", "\n"},
      {std::string("Art|B\0c|d\nX\0|Y\n", 15), "Art\n\n", "B\n\n", "\nX\n"},  // NUL ends
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const TCreditsColumns columns = ParseCredits(c.file.data(), c.file.size(), "7d4e7aff");
    EXPECT_EQ(columns.left.c_str(), c.left);
    EXPECT_EQ(columns.right.c_str(), c.right);
    EXPECT_EQ(columns.headings.c_str(), c.headings);
  }
}

TEST(CreditsTextTest, ALongLineIsTakenInPiecesOf1023) {
  const std::string line = std::string(1023, 'a') + std::string(5, 'b') + "\n";
  const TCreditsColumns columns = ParseCredits(line.data(), line.size(), "ffffffff");
  EXPECT_EQ(columns.headings.c_str(), std::string(1023, 'a') + "\nbbbbb\n");
  EXPECT_EQ(columns.left.c_str(), std::string("\n\n"));
}

TEST(CreditsTextTest, TheHeadingColourIsEightHexDigits) {
  const float plum[4] = {125 / 255.0f, 78 / 255.0f, 122 / 255.0f, 1.0f};
  EXPECT_EQ(CreditsColourText(plum), TString("7d4e7aff"));
  const float wild[4] = {-1.0f, 2.0f, 0.0f, 0.5f};
  EXPECT_EQ(CreditsColourText(wild), TString("00ff007f"));
}

class CreditsTest : public MenuScreenTest {
 protected:
  // A credits window over the whole screen reading `text` from a file of the test's folder.
  TCredits* MakeCredits(const std::string& text, const std::string& size = "16") {
    const std::string file = (dir / "credits.txt").c_str();
    std::ofstream(file, std::ios::binary) << text;
    Lua("PushModal('creditstest') MakeDialog{ CreditsWindow{ name = 'credits', x = 0, y = 0, "
        "w = 800, h = 600, file = '" +
        file + "', fontsize = " + size +
        ", font = 'fonts/arial.mvec', headercolor = Color(125, 78, 122) }, "
        "Text{ name = 'version', label = '#', x = 0, y = 0, w = 100, h = 20 } }");
    return Find<TCredits>("credits");
  }
};

TEST_F(CreditsTest, TheColumnsEndInClosingLinesAndHoldTheTextTwice) {
  TCredits* credits = MakeCredits("[Team]\nMusic|Ann\nArt|Bea\n");
  ASSERT_NE(credits, nullptr);
  EXPECT_EQ(credits->GetHeadingColour(), TString("7d4e7aff"));
  // 3 lines and 350 / 16 = 21 closing ones, twice over.
  for (int column = 0; column < 3; ++column) {
    ASSERT_NE(credits->GetBlock(column), nullptr);
    EXPECT_EQ(credits->GetBlock(column)->GetLineCount(), 2 * (3 + 21)) << column;
  }
  EXPECT_EQ(credits->GetScrollHeight(), (3 + 21) * 16);
  // The version text of the screen.
  EXPECT_EQ(Find<TText>("version")->GetText(), platform->GetVersionString());
}

TEST_F(CreditsTest, HeldForEightSecondsThenScrolledOneCopyPer30Seconds) {
  TCredits* credits = MakeCredits("[Team]\nMusic|Ann\nArt|Bea\n");
  ASSERT_NE(credits, nullptr);
  const int64_t h = credits->GetScrollHeight();
  ASSERT_GT(h, 0);
  struct Case {
    uint32_t elapsed;
    int64_t offset;
  };
  const Case cases[] = {
      {0, 0},
      {7999, 0},
      {8000, 0},
      {8000 + 15000, h / 2},
      {8000 + 29999, 29999 * h / 30000},
      {8000 + 30000, 0},
      {8000 + 45000, h / 2},
      {0xFFFFFFFFu, ((0xFFFFFFFFu - 8000) % 30000) * h / 30000},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(credits->ScrollOffset(c.elapsed), c.offset) << c.elapsed;
  }
  // On the screen: the first draw starts the clock; drawn from the line the offset reaches.
  Tick(16);
  Tick(7900);
  EXPECT_EQ(credits->GetBlock(0)->GetFirstLine(), 0);
  Tick(100 + 15000);
  EXPECT_EQ(credits->GetBlock(0)->GetFirstLine(), static_cast<int>(h / 2 / 16));
  EXPECT_EQ(credits->GetBlock(2)->GetFirstLine(), static_cast<int>(h / 2 / 16));
}

TEST_F(CreditsTest, ASizeOfZeroOrLessIsTheDefault) {
  for (const char* size : {"0", "-4"}) {
    TCredits* credits = MakeCredits("Music|Ann\n", size);
    ASSERT_NE(credits, nullptr) << size;
    EXPECT_EQ(credits->GetFontSize(), 16) << size;
    EXPECT_EQ(credits->GetBlock(0)->GetLineCount(), 2 * (1 + 21)) << size;
    Manager().PopModal();
    Manager().DeletePending();
  }
}

TEST_F(CreditsTest, NothingToScrollStandsStill) {
  // Too large a size for a closing line, and no file: no height at all.
  Lua("PushModal('creditstest') MakeDialog{ CreditsWindow{ name = 'credits', x = 0, y = 0, "
      "w = 800, h = 600, file = 'no such credits.txt', fontsize = 400 } }");
  TCredits* credits = Find<TCredits>("credits");
  ASSERT_NE(credits, nullptr);
  EXPECT_EQ(credits->GetScrollHeight(), 0);
  EXPECT_EQ(credits->ScrollOffset(8000 + 12345), 0);
  Tick(16);
  Tick(20000);
  EXPECT_EQ(credits->GetBlock(0)->GetFirstLine(), 0);
}

}  // namespace
