// Reading characters and tags of the text mark-up, and the style state the tags change.
#include "tvlib/ui/TTextMarkup.h"

#include <algorithm>
#include <climits>

namespace {

struct TTagName {
  std::string_view name;
  TTextTagKind kind;
};
// "br" before "b": the first name the tag text begins with wins.
constexpr TTagName kTagNames[] = {
    {"br", TTextTagKind::kLineBreak},
    {"/p", TTextTagKind::kParagraphEnd},
    {"a", TTextTagKind::kLink},
    {"/a", TTextTagKind::kLinkEnd},
    {"b", TTextTagKind::kBold},
    {"/b", TTextTagKind::kBoldEnd},
    {"i", TTextTagKind::kItalic},
    {"/i", TTextTagKind::kItalicEnd},
    {"u", TTextTagKind::kUnderline},
    {"/u", TTextTagKind::kUnderlineEnd},
    {"cursor", TTextTagKind::kCursor},
    {"center", TTextTagKind::kCenter},
    {"left", TTextTagKind::kLeft},
    {"right", TTextTagKind::kRight},
    {"/center", TTextTagKind::kCenterEnd},
    {"/left", TTextTagKind::kLeftEnd},
    {"/right", TTextTagKind::kRightEnd},
    {"font", TTextTagKind::kFont},
    {"/font", TTextTagKind::kFontEnd},
    {"outline", TTextTagKind::kOutline},
    {"/outline", TTextTagKind::kOutlineEnd},
    {"tab", TTextTagKind::kTab},
};

constexpr float kDefaultOutlineSize = 2.0f;
// Sizes beyond this (or below 0) would only make glyphs the rasteriser cuts off anyway.
constexpr int kMaxFontSize = 4096;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void CopyColour(float to[4], const float from[4]) {
  std::copy(from, from + 4, to);
}

}  // namespace

uint32_t DecodeTextChar(const char* text, size_t length, size_t* pos) {
  size_t at = *pos;
  if (text[at] == '\\' && at + 1 < length) ++at;
  const auto* bytes = reinterpret_cast<const uint8_t*>(text);
  const uint8_t lead = bytes[at];
  size_t count = 1;
  if (lead >= 0xF0) {
    count = 4;
  } else if (lead >= 0xE0) {
    count = 3;
  } else if (lead >= 0xC0) {
    count = 2;
  }
  if (length - at < count) {
    // Cut short by the end of the text: the rest is one replacement character.
    *pos = length;
    return kReplacementChar;
  }
  *pos = at + count;
  switch (count) {
    case 1:
      return lead;
    case 2:
      return ((lead & 31u) << 6) + (bytes[at + 1] & 63u);
    case 3:
      return ((lead & 15u) << 12) + ((bytes[at + 1] & 63u) << 6) + (bytes[at + 2] & 63u);
    default:
      return ((lead & 7u) << 18) + ((bytes[at + 1] & 63u) << 12) + ((bytes[at + 2] & 63u) << 6) +
             (bytes[at + 3] & 63u);
  }
}

TTextTagEnds::TTextTagEnds(const char* text, size_t length) {
  // Scanning a tag from a position in one of the three quote states ends at the same ">" for
  // every start that reaches that position in that state; one pass from the end therefore
  // knows, at each position, where a scan starting there in each state would stop.
  enum { kOutside, kDouble, kSingle, kStates };
  size_t next[kStates] = {npos, npos, npos};
  for (size_t at = length; at-- > 0;) {
    const char c = text[at];
    if (c == '<') mEnds.emplace_back(at, next[kOutside]);  // its scan starts at at + 1
    const size_t outside = c == '>'    ? at
                           : c == '"'  ? next[kDouble]
                           : c == '\'' ? next[kSingle]
                                       : next[kOutside];
    next[kDouble] = c == '"' ? next[kOutside] : next[kDouble];
    next[kSingle] = c == '\'' ? next[kOutside] : next[kSingle];
    next[kOutside] = outside;
  }
  std::reverse(mEnds.begin(), mEnds.end());
}

size_t TTextTagEnds::EndOf(size_t pos) const {
  const auto found = std::lower_bound(mEnds.begin(), mEnds.end(), std::make_pair(pos, size_t{0}));
  return found != mEnds.end() && found->first == pos ? found->second : npos;
}

bool ReadTextTag(const char* text, const TTextTagEnds& ends, size_t pos, TTextTag* tag) {
  const size_t end = ends.EndOf(pos);
  if (end == TTextTagEnds::npos) return false;
  tag->textLength = 0;
  char quote = 0;
  for (size_t at = pos + 1; at < end; ++at) {
    const char c = text[at];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ' ' || c == '\t') {
      continue;
    }
    if (tag->textLength < TTextTag::kMaxText) tag->text[tag->textLength++] = c;
  }
  tag->length = end - pos + 1;
  tag->kind = TTextTagKind::kUnknown;
  for (const TTagName& name : kTagNames) {
    if (tag->Text().starts_with(name.name)) {
      tag->kind = name.kind;
      break;
    }
  }
  return true;
}

bool TTextTag::FindAttribute(std::string_view name, std::string_view* value) const {
  const std::string_view all = Text();
  const size_t at = all.find(name);
  if (at == std::string_view::npos) return false;
  // The value runs from the first quote after the name to the next quote of the same kind.
  const size_t open = all.find_first_of("\"'", at + name.size());
  if (open == std::string_view::npos) return false;
  const size_t close = all.find(all[open], open + 1);
  if (close == std::string_view::npos) return false;
  *value = all.substr(open + 1, close - open - 1);
  return true;
}

bool TTextTag::EndsLine() const {
  switch (kind) {
    case TTextTagKind::kLineBreak:
    case TTextTagKind::kParagraphEnd:
    case TTextTagKind::kCenter:
    case TTextTagKind::kLeft:
    case TTextTagKind::kRight:
    case TTextTagKind::kCenterEnd:
    case TTextTagKind::kLeftEnd:
    case TTextTagKind::kRightEnd:
      return true;
    default:
      return false;
  }
}

bool ParseTextColour(std::string_view text, float rgba[4]) {
  if (text.starts_with('#')) text.remove_prefix(1);
  if (text.size() != 6 && text.size() != 8) return false;
  for (char c : text) {
    if (HexDigit(c) < 0) return false;
  }
  int channels[3];
  for (int i = 0; i < 3; ++i) {
    const int high = HexDigit(text[2 * i]), low = HexDigit(text[2 * i + 1]);
    if (high < 0 || low < 0) return false;
    channels[i] = high * 16 + low;
  }
  for (int i = 0; i < 3; ++i) rgba[i] = static_cast<float>(channels[i] / 255.0);
  rgba[3] = 1.0f;
  return true;
}

int ParseTextNumber(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = std::min<long long>(value * 10 + (c - '0'), 1LL << 32);
  }
  if (negative) value = -value;
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

void TTextMarkupState::Reset(const TString& face, int size, const float color[4]) {
  mFontTop = mFontOverflow = 0;
  mFonts[0].face = face;
  mFonts[0].size = size;
  CopyColour(mFonts[0].color, color);
  mAlignTop = mAlignOverflow = 0;
  mAlignments[0] = -1;
  bold = italic = underline = false;
  linkId = TString();
  std::fill(linkColor, linkColor + 4, 0.0f);
  outlineSize = 0;
  std::fill(outlineColor, outlineColor + 4, 0.0f);
}

void TTextMarkupState::CopyFrom(const TTextMarkupState& other) {
  std::copy(other.mFonts, other.mFonts + other.mFontTop + 1, mFonts);
  mFontTop = other.mFontTop;
  mFontOverflow = other.mFontOverflow;
  std::copy(other.mAlignments, other.mAlignments + other.mAlignTop + 1, mAlignments);
  mAlignTop = other.mAlignTop;
  mAlignOverflow = other.mAlignOverflow;
  bold = other.bold;
  italic = other.italic;
  underline = other.underline;
  linkId = other.linkId;
  CopyColour(linkColor, other.linkColor);
  outlineSize = other.outlineSize;
  CopyColour(outlineColor, other.outlineColor);
}

void TTextMarkupState::Apply(const TTextTag& tag) {
  std::string_view value;
  switch (tag.kind) {
    case TTextTagKind::kLink:
      if (tag.FindAttribute("id", &value)) linkId = TString(value.data(), int(value.size()));
      if (!tag.FindAttribute("color", &value) || !ParseTextColour(value, linkColor))
        CopyColour(linkColor, Font().color);
      break;
    case TTextTagKind::kLinkEnd:
      linkId = TString();
      CopyColour(linkColor, Font().color);
      break;
    case TTextTagKind::kBold:
    case TTextTagKind::kBoldEnd:
      bold = tag.kind == TTextTagKind::kBold;
      break;
    case TTextTagKind::kItalic:
    case TTextTagKind::kItalicEnd:
      italic = tag.kind == TTextTagKind::kItalic;
      break;
    case TTextTagKind::kUnderline:
    case TTextTagKind::kUnderlineEnd:
      underline = tag.kind == TTextTagKind::kUnderline;
      break;
    case TTextTagKind::kCenter:
      PushAlignment(1);
      break;
    case TTextTagKind::kLeft:
      PushAlignment(0);
      break;
    case TTextTagKind::kRight:
      PushAlignment(2);
      break;
    case TTextTagKind::kCenterEnd:
    case TTextTagKind::kLeftEnd:
    case TTextTagKind::kRightEnd:
      Pop(&mAlignTop, &mAlignOverflow);
      break;
    case TTextTagKind::kFont:
      PushFont(tag);
      break;
    case TTextTagKind::kFontEnd:
      Pop(&mFontTop, &mFontOverflow);
      break;
    case TTextTagKind::kOutline:
      if (tag.FindAttribute("color", &value)) ParseTextColour(value, outlineColor);
      // Bounded like font sizes, so pixel positions made from it stay in range.
      outlineSize =
          tag.FindAttribute("size", &value)
              ? static_cast<float>(std::clamp(ParseTextNumber(value), -kMaxFontSize, kMaxFontSize))
              : kDefaultOutlineSize;
      break;
    case TTextTagKind::kOutlineEnd:
      outlineSize = 0;
      std::fill(outlineColor, outlineColor + 4, 0.0f);
      break;
    default:
      break;
  }
}

void TTextMarkupState::PushFont(const TTextTag& tag) {
  if (mFontTop == kStackSize - 1) {
    ++mFontOverflow;
    return;
  }
  TTextFontEntry& entry = mFonts[mFontTop + 1];
  entry = mFonts[mFontTop];
  ++mFontTop;
  std::string_view value;
  if (tag.FindAttribute("size", &value))
    entry.size = std::clamp(ParseTextNumber(value), 0, kMaxFontSize);
  if (tag.FindAttribute("color", &value)) ParseTextColour(value, entry.color);
  if (tag.FindAttribute("face", &value)) entry.face = TString(value.data(), int(value.size()));
}

void TTextMarkupState::PushAlignment(int alignment) {
  if (mAlignTop == kStackSize - 1) {
    ++mAlignOverflow;
    return;
  }
  mAlignments[++mAlignTop] = alignment;
}

void TTextMarkupState::Pop(int* top, int* overflow) {
  if (*overflow > 0) {
    --*overflow;
  } else if (*top > 0) {
    --*top;
  }
}
