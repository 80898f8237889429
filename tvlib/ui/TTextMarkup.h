// The mark-up language of every text the player sees: UTF-8 characters with a backslash
// escape, and tags in angle brackets that change the style (bold, italic, underline, font
// face, size and colour, outline, links), break lines, align them, move the pen to a tab
// position or mark the caret.
//
// Reads from a byte range: nothing here reads past `length`, and no text needs a terminator.
// The state's stacks are bounded (32 entries): deeper nesting is counted but stores nothing,
// so its closing tags pop nothing either, and a closing tag without an opening one is ignored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "tvlib/core/TString.h"

// The character shown for a sequence cut short by the end of the text.
inline constexpr uint32_t kReplacementChar = 0xFFFD;

// Decodes the character at *pos (a backslash takes the next character literally, itself
// taking no space) and moves *pos past it; *pos must be before length.
uint32_t DecodeTextChar(const char* text, size_t length, size_t* pos);

// In the order tags are matched: a tag's name matches when the tag text begins with it.
enum class TTextTagKind : uint8_t {
  kLineBreak,  // "br"
  kParagraphEnd,
  kLink,
  kLinkEnd,
  kBold,
  kBoldEnd,
  kItalic,
  kItalicEnd,
  kUnderline,
  kUnderlineEnd,
  kCursor,
  kCenter,
  kLeft,
  kRight,
  kCenterEnd,
  kLeftEnd,
  kRightEnd,
  kFont,
  kFontEnd,
  kOutline,
  kOutlineEnd,
  kTab,
  kUnknown,
};

struct TTextTag {
  static constexpr int kMaxText = 128;
  TTextTagKind kind = TTextTagKind::kUnknown;
  size_t length = 0;  // bytes from "<" to ">" inclusive
  // The text between "<" and ">" without blanks outside quotes, at most kMaxText bytes.
  char text[kMaxText] = {};
  int textLength = 0;

  std::string_view Text() const { return {text, static_cast<size_t>(textLength)}; }
  // The quoted value after the attribute's name; false when there is none.
  bool FindAttribute(std::string_view name, std::string_view* value) const;
  bool EndsLine() const;
};

// Where each "<" of a text has its closing ">" (the first one outside quotes), found for the
// whole text in one pass from its end, so that laying out a text with many unclosed "<" stays
// linear in its length.
class TTextTagEnds {
 public:
  TTextTagEnds(const char* text, size_t length);
  // The index of the ">" closing the tag that begins at `pos`, or `npos` when there is none.
  size_t EndOf(size_t pos) const;

  static constexpr size_t npos = static_cast<size_t>(-1);

 private:
  std::vector<std::pair<size_t, size_t>> mEnds;  // (the "<", its ">"), by position
};

// Reads the tag starting at text[pos] ("<"); false when there is no ">" before the end, so
// the "<" is an ordinary character.
bool ReadTextTag(const char* text, const TTextTagEnds& ends, size_t pos, TTextTag* tag);

// Six hexadecimal digits, with or without "#", to opaque red, green, blue; false otherwise.
// Eight digits ("rrggbbaa", as the credits write their heading colour) give the first six,
// opaque too.
bool ParseTextColour(std::string_view text, float rgba[4]);
// A decimal integer with an optional sign; digits past the int range saturate.
int ParseTextNumber(std::string_view text);

struct TTextFontEntry {
  TString face;
  int size = 0;
  float color[4] = {};
};

class TTextMarkupState {
 public:
  static constexpr int kStackSize = 32;

  // Back to the base font (entry 0) and no style, link, outline or alignment.
  void Reset(const TString& face, int size, const float color[4]);
  // The style changes of a tag; tags without any are ignored.
  void Apply(const TTextTag& tag);
  // A copy of another state's used entries (cheaper than a whole copy).
  void CopyFrom(const TTextMarkupState& other);

  const TTextFontEntry& Font() const { return mFonts[mFontTop]; }
  // -1 (the block's own flags) or 0 left, 1 centre, 2 right.
  int Alignment() const { return mAlignments[mAlignTop]; }
  int GetFontDepth() const { return mFontTop; }
  int GetAlignDepth() const { return mAlignTop; }

  bool bold = false, italic = false, underline = false;
  TString linkId;
  float linkColor[4] = {};
  float outlineSize = 0;
  float outlineColor[4] = {};

 private:
  void PushFont(const TTextTag& tag);
  void PushAlignment(int alignment);
  static void Pop(int* top, int* overflow);

  TTextFontEntry mFonts[kStackSize];
  int mFontTop = 0, mFontOverflow = 0;
  int mAlignments[kStackSize] = {-1};
  int mAlignTop = 0, mAlignOverflow = 0;
};
