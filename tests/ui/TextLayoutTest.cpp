// Mark-up and layout of text blocks against a face with round metrics: run boundaries and
// styles, pen positions, wraps, alignment, fallback runs, bounds, link hit tests, scrolling.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/ui/TextTestSupport.h"
#include "tvlib/ui/TTextBlock.h"
#include "tvlib/ui/TTextMarkup.h"

namespace {

constexpr float kWhite[4] = {1, 1, 1, 1};

struct TBlockDeleter {
  void operator()(TTextBlock* block) const { TTextBlock::Delete(block); }
};
using TBlockPtr = std::unique_ptr<TTextBlock, TBlockDeleter>;

class TextLayoutTest : public ::testing::Test {
 protected:
  TBlockPtr Make(const char* text, int width = 1000, int height = 100, int flags = 0) {
    return TBlockPtr(TTextBlock::Create(text, width, height, flags, "round", 10, kWhite));
  }
  // "first-last:left-right" per run, runs separated by blanks, lines by " | ".
  static std::string Runs(const TTextBlock& block) {
    std::string out;
    for (const TTextLine& line : block.GetLines()) {
      if (!out.empty()) out += " | ";
      for (size_t i = 0; i < line.runs.size(); ++i) {
        const TTextRun& r = line.runs[i];
        if (i) out += ' ';
        out += std::to_string(r.first) + "-" + std::to_string(r.last) + ":" +
               std::to_string(r.left) + "-" + std::to_string(r.right);
      }
    }
    return out;
  }
  TTestTextServices mServices;
};

TEST_F(TextLayoutTest, StylesSplitRunsAndThePenMovesInQuarterPixels) {
  TBlockPtr block = Make("<b>bold</b> and <i>italic</i>");
  ASSERT_EQ(block->GetLineCount(), 1);
  const TTextLine& line = block->GetLines()[0];
  // An empty run before the first tag; the lead of 1 pixel; italic makes room for its slant.
  EXPECT_EQ(Runs(*block), "0--1:0-0 3-6:0-33 11-15:33-65 19-24:65-113");
  EXPECT_TRUE(line.runs[1].bold);
  EXPECT_FALSE(line.runs[2].bold);
  EXPECT_TRUE(line.runs[3].italic);
  EXPECT_EQ(line.runs[0].fontSize, 0);  // counted no character
  EXPECT_EQ(line.runs[1].fontSize, 10);
  EXPECT_FLOAT_EQ(line.runs[1].scale, 4.0f);
  EXPECT_EQ(line.runs[1].baseline, 30);
  EXPECT_EQ(line.height, 10);
  EXPECT_EQ(line.baseline, 30);
  EXPECT_EQ(line.left, 0);
  EXPECT_FLOAT_EQ(line.subLeft, 1.5f);
}

TEST_F(TextLayoutTest, LineBreaksParagraphsAndNewlinesEndLines) {
  TBlockPtr block = Make("ab<br pad='6'>cd</p>e\nf");
  ASSERT_EQ(block->GetLineCount(), 4);
  EXPECT_EQ(block->GetLines()[0].height, 16);
  EXPECT_EQ(block->GetLines()[1].height, 10);
  EXPECT_EQ(Runs(*block), "0-1:0-17 | 14-15:0-17 | 20-20:0-9 | 22-22:0-9");
  // A break alone still makes a line of the font's height.
  TBlockPtr empty = Make("<br><br>x");
  ASSERT_EQ(empty->GetLineCount(), 3);
  EXPECT_EQ(empty->GetLines()[1].height, 10);
}

TEST_F(TextLayoutTest, AlignmentAppliesFromTheNextLine) {
  TBlockPtr block = Make("<center>Title</center>Body", 200);
  ASSERT_EQ(block->GetLineCount(), 3);
  const std::vector<TTextLine>& lines = block->GetLines();
  EXPECT_EQ(lines[0].height, 0);
  // "Title" is 41 pixels with its lead: centred on 100.
  EXPECT_EQ(lines[1].left, 100);
  EXPECT_FLOAT_EQ(lines[1].subLeft, -20.5f + 1.5f);
  EXPECT_EQ(lines[2].left, 0);
  EXPECT_FLOAT_EQ(lines[2].subLeft, 1.5f);

  struct TCase {
    int flags;
    int left;
    float subLeft;
  };
  // "ab" is 17 pixels with its lead.
  for (const TCase& c : {TCase{0, 0, 1.5f}, TCase{1, 50, -8.5f + 1.5f}, TCase{2, 99, -17 + 1.5f}}) {
    SCOPED_TRACE(c.flags);
    TBlockPtr ab = Make("ab", 100, 100, c.flags);
    EXPECT_EQ(ab->GetLines()[0].left, c.left);
    EXPECT_FLOAT_EQ(ab->GetLines()[0].subLeft, c.subLeft);
  }
  TBlockPtr right = Make("<right>ab", 100);
  EXPECT_EQ(right->GetLines()[1].left, 99);
}

TEST_F(TextLayoutTest, VerticalFlagsPlaceTheLines) {
  struct TCase {
    int flags;
    TRect bounds;
  };
  // Two lines of "ab" (0.5 to 17.5 pixels) in a box 100 x 50.
  const TCase cases[] = {{0, {0, 0, 18, 20}}, {4, {0, 15, 18, 35}}, {8, {0, 30, 18, 50}}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.flags);
    TBlockPtr block = Make("ab<br>ab", 100, 50, c.flags);
    const TRect bounds = block->GetBounds();
    EXPECT_EQ(bounds.left, c.bounds.left);
    EXPECT_EQ(bounds.top, c.bounds.top);
    EXPECT_EQ(bounds.right, c.bounds.right);
    EXPECT_EQ(bounds.bottom, c.bounds.bottom);
  }
  TBlockPtr none = Make("");
  EXPECT_EQ(none->GetLineCount(), 0);
  EXPECT_EQ(none->GetBounds().left, 0);
  EXPECT_EQ(none->GetBounds().right, 0);
}

TEST_F(TextLayoutTest, LinesWrapAtTheLastBlankOrCutALongWord) {
  // 100 pixels hold the lead and twelve letters (the edge keeps one pixel).
  struct TCase {
    const char* text;
    const char* runs;
  };
  const TCase cases[] = {
      // The blank is dropped; the word moves whole.
      {"aaaa bbbbbbbb", "0-3:0-33 | 5-12:0-65"},
      // No blank: the letter that overflows starts the next line.
      {"cccccccccccccc", "0-11:0-97 | 12-13:0-17"},
      // A leading blank is no place to break.
      {" ccccccccccccc", "0-11:0-93 | 12-13:0-17"},
      // A blank before the line start is no place to break: the tag closes a run, "c" moves.
      {"aa b<b>bbbbbbbbbbb</b>c", "0-1:0-17 | 3-3:0-9 7-17:9-97 22-21:97-97 | 22-22:0-9"},
      // The blank is in an earlier run: the tags after it are read again on the next line.
      {"aa b<b>bbbbbbbbbbbbbb</b>", "0-1:0-17 | 3-3:0-9 7-17:9-97 | 18-20:0-25"},
      // Wider than the box on its own: it stays, the box cannot take less.
      {"<font size='200'>W</font>", "0--1:0-0 17-17:0-161 | 18-17:0-0"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.text);
    TBlockPtr block = Make(c.text, 100);
    EXPECT_EQ(Runs(*block), c.runs);
  }
  // In a box too narrow for anything each character still takes a line of its own, the
  // italic slant before the first one included.
  EXPECT_EQ(Make("<i>ab</i> c", 0)->GetLineCount(), 4);
  // The state at the break is restored: the font tag read again does not stack a second entry.
  TBlockPtr block = Make("aa <font size='20'>bbbbbbbbbbbbb</font>c", 100);
  const std::vector<TTextLine>& lines = block->GetLines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[1].runs[0].fontSize, 0);
  EXPECT_EQ(lines.back().runs.back().fontSize, 10);
}

TEST_F(TextLayoutTest, MarkupTable) {
  struct TCase {
    const char* text;
    const char* runs;
    int lastSize;
    uint32_t lastColour;  // 0xRRGGBB of the last run
  };
  const TCase cases[] = {
      {"\\<b>", "0-3:0-25", 10, 0xFFFFFF},  // the backslash takes no room
      {"a<b", "0-2:0-25", 10, 0xFFFFFF},    // a tag that never closes is text
      {"<font size='30'><font color='#ff0000'>x</font>y</font>z</font>w",
       "0--1:0-0 16-15:0-0 38-38:0-25 46-46:25-49 54-54:49-57 62-62:57-65", 10, 0xFFFFFF},
      {"<font size = '30' color=\"ff0000\">x", "0--1:0-0 33-33:0-25", 30, 0xFF0000},
      {"<font color='zz'>x", "0--1:0-0 17-17:0-9", 10, 0xFFFFFF},
      {"<font color='e8b64cff'>x", "0--1:0-0 23-23:0-9", 10, 0xE8B64C},  // the first six of eight
      {"<font color='e8b64cfg'>x", "0--1:0-0 23-23:0-9", 10, 0xFFFFFF},
      {"<font color='e8b64cf'>x", "0--1:0-0 22-22:0-9", 10, 0xFFFFFF},
      {"<p>x<unknown a='1'>y", "0--1:0-0 3-3:0-9 19-19:9-17", 10, 0xFFFFFF},
      // The first glyph's lead of 1 pixel counts after the tab too.
      {"<tab pos='100'>x", "0--1:0-0 15-15:100-109", 10, 0xFFFFFF},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.text);
    TBlockPtr block = Make(c.text);
    EXPECT_EQ(Runs(*block), c.runs);
    const TTextRun& last = block->GetLines().back().runs.back();
    EXPECT_EQ(last.fontSize, c.lastSize);
    const uint32_t rgb = uint32_t(last.color[0] * 255) << 16 | uint32_t(last.color[1] * 255) << 8 |
                         uint32_t(last.color[2] * 255);
    EXPECT_EQ(rgb, c.lastColour);
  }
  TBlockPtr tab = Make("<tab pos='100'>x");
  EXPECT_EQ(tab->GetLines()[0].runs[0].tabPos, 400);
  TBlockPtr outline = Make("<outline color='0000ff'>x</outline>y<outline size='3'>z");
  const std::vector<TTextRun>& runs = outline->GetLines()[0].runs;
  EXPECT_EQ(runs[1].outlineSize, 2.0f);
  EXPECT_EQ(runs[1].outlineColor[2], 1.0f);
  EXPECT_EQ(runs[2].outlineSize, 0.0f);
  EXPECT_EQ(runs[3].outlineSize, 3.0f);
}

TEST_F(TextLayoutTest, StacksStayWithinTheirBound) {
  std::string deep;
  for (int i = 0; i < 40; ++i) deep += "<font size='12'><center>";
  deep += "x";
  for (int i = 0; i < 40; ++i) deep += "</font></center>";
  deep += "y</font></right>z";
  TBlockPtr block = Make(deep.c_str());
  // Every alignment tag ends a line: "x" is on line 40, its run closed by "</font>".
  const TTextRun& x = block->GetLines()[40].runs[0];
  EXPECT_EQ(x.fontSize, 12);
  const TTextLine& last = block->GetLines().back();
  EXPECT_EQ(last.runs.back().fontSize, 10);  // every push undone, the extra pop ignored
  EXPECT_EQ(last.left, 0);
}

TEST_F(TextLayoutTest, MissingCharactersFallBackToTheDefaultFont) {
  TBlockPtr block = Make(
      "a\xC3\xA9"
      "b");
  // "a", then U+00E9 in the fallback face (12 units), then "b" back in the face.
  EXPECT_EQ(Runs(*block), "0-0:0-9 1-2:9-21 3-3:21-29");
  const std::vector<TTextRun>& runs = block->GetLines()[0].runs;
  EXPECT_EQ(runs[1].font, mServices.fonts["fonts/default.mvec"]);
  EXPECT_EQ(runs[1].ownFont, mServices.fonts["round"]);
  EXPECT_EQ(runs[2].ownFont, nullptr);
  // Missing in both: no room; a sequence cut short is one character and reads nothing more.
  TBlockPtr missing = Make(
      "a\x01"
      "b\xE2\x98");
  EXPECT_EQ(Runs(*missing), "0-4:0-17");
}

TEST_F(TextLayoutTest, LinksAreHitInsideTheirRuns) {
  TBlockPtr block = Make("xx<a id='ok' color='00ff00'>OK</a><br>yy", 100, 50);
  // "OK" runs from 17 to 33 on the line, which is drawn 1.5 pixels in.
  struct TCase {
    TPoint point;
    const char* link;
  };
  const TCase cases[] = {{{25, 5}, "ok"}, {{19, 0}, "ok"}, {{34, 10}, "ok"}, {{18, 5}, ""},
                         {{35, 5}, ""},   {{25, 15}, ""},  {{25, -1}, ""}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.point.x << "," << c.point.y);
    EXPECT_STREQ(block->GetLinkAt(c.point, 0).c_str(), c.link);
  }
  const TTextRun& link = block->GetLines()[0].runs[1];
  EXPECT_EQ(link.linkColor[1], 1.0f);
  EXPECT_EQ(link.linkColor[0], 0.0f);
  const TPoint over{25, 5};
  EXPECT_TRUE(block->SetHotLinkAt(&over, 0));
  EXPECT_FALSE(block->SetHotLinkAt(&over, 0));
  EXPECT_STREQ(block->GetHotLink().c_str(), "ok");
  EXPECT_TRUE(block->SetHotLinkAt(nullptr, 0));
  EXPECT_STREQ(block->GetHotLink().c_str(), "");
  // Scrolled by a line, the second line is where the first was.
  TBlockPtr scrolled = Make("yy<br>xx<a id='ok'>OK</a>", 100, 50);
  EXPECT_TRUE(scrolled->SetFirstLine(1));
  EXPECT_STREQ(scrolled->GetLinkAt({25, 5}, 0).c_str(), "ok");
}

TEST_F(TextLayoutTest, ScrollLimitAndFirstLineStayWithinTheLines) {
  TBlockPtr block = Make("a<br>b<br>c<br>d<br>e", 100, 25);
  EXPECT_EQ(block->GetScrollLimit(1.0f, 0), 3);
  EXPECT_EQ(block->GetScrollLimit(1.0f, 5), 4);
  EXPECT_EQ(block->GetScrollLimit(0.6f, 0), 1);
  EXPECT_EQ(block->GetScrollLimit(0.1f, 0), 0);
  EXPECT_TRUE(block->SetFirstLine(99));
  EXPECT_EQ(block->GetFirstLine(), 4);
  EXPECT_FALSE(block->SetFirstLine(4));
  EXPECT_TRUE(block->SetFirstLine(-3));
  EXPECT_EQ(block->GetFirstLine(), 0);
  block->SetText("a");  // a shorter text keeps the first line within it
  EXPECT_EQ(block->GetFirstLine(), 0);
}

TEST_F(TextLayoutTest, TextAndRotationChangesLayOutAgain) {
  TBlockPtr block = Make("ab");
  block->SetText("ab<br>cd");
  EXPECT_EQ(block->GetLineCount(), 2);
  EXPECT_STREQ(block->GetText().c_str(), "ab<br>cd");
  block->SetRotation(90, 5, 5);
  EXPECT_EQ(block->GetLineCount(), 2);
  TBlockPtr fallback(TTextBlock::Create("x", 100, 100, 0, "", 10, kWhite));
  EXPECT_EQ(fallback->GetLineCount(), 1);
}

TEST(TextMarkupTest, Utf8DecodingStaysInsideTheText) {
  struct TCase {
    const char* bytes;
    size_t length;
    uint32_t code;
    size_t next;
  };
  const TCase cases[] = {
      {"A", 1, 'A', 1},
      {"\xC3\xA9", 2, 0xE9, 2},
      {"\xE2\x98\xBA", 3, 0x263A, 3},
      {"\xF0\x9F\x98\x80", 4, 0x1F600, 4},
      {"\\<", 2, '<', 2},
      {"\\", 1, '\\', 1},
      {"\xE2\x98", 2, kReplacementChar, 2},
      {"\xF0", 1, kReplacementChar, 1},
      {"\\\xC3", 2, kReplacementChar, 2},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.bytes);
    // A copy with nothing after it, so the sanitizer sees any read past the end.
    std::vector<char> bytes(c.bytes, c.bytes + c.length);
    size_t pos = 0;
    EXPECT_EQ(DecodeTextChar(bytes.data(), bytes.size(), &pos), c.code);
    EXPECT_EQ(pos, c.next);
  }
}

// Each "<" closes at the first ">" outside quotes after it, whatever the "<" before it did; a
// "<" with none is an ordinary character. Found for the whole text in one pass.
TEST(TextMarkupTest, TagEndsAreFoundForEveryOpening) {
  struct TCase {
    std::string text;
    std::vector<size_t> ends;  // for each "<" in order; npos for none
  };
  constexpr size_t kNone = TTextTagEnds::npos;
  const TCase cases[] = {
      {"<b>x</b>", {2, 7}},
      {"<<<", {kNone, kNone, kNone}},
      {"<a id='>'>x", {9}},
      {"<\"<>", {kNone, 3}},  // the first opens a quote that never closes
      {"<'\"'>", {4}},        // a quote of the other kind inside one is plain
      {"<x \"a>b\" y>", {10}},
      {"< >>", {2}},
      {"", {}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.text);
    const TTextTagEnds ends(c.text.data(), c.text.size());
    std::vector<size_t> got;
    for (size_t i = 0; i < c.text.size(); ++i)
      if (c.text[i] == '<') got.push_back(ends.EndOf(i));
    EXPECT_EQ(got, c.ends);
    TTextTag tag;
    if (!c.ends.empty() && c.ends[0] != kNone) {
      ASSERT_TRUE(ReadTextTag(c.text.data(), ends, c.text.find('<'), &tag));
      EXPECT_EQ(tag.length, c.ends[0] - c.text.find('<') + 1);
    }
  }
  EXPECT_EQ(TTextTagEnds("ab", 2).EndOf(0), kNone);  // no "<" there
}

}  // namespace
