// Narrowing the page's texts.
#include <gtest/gtest.h>

#include <string>

#include "webcontrol/PageText.h"

namespace {

std::string Narrow(const std::string& text) {
  return NarrowPageText(text.data(), text.size());
}

}  // namespace

TEST(PageTextTest, EachUtf16UnitGivesItsLowByte) {
  struct TCase {
    const char* name;
    std::string page;
    std::string narrow;
  } cases[] = {
      {"ascii", "http://example.org/a?b=1&c=2", "http://example.org/a?b=1&c=2"},
      {"latin-1", "caf\xC3\xA9", "caf\xE9"},
      {"euro sign U+20AC", "\xE2\x82\xAC", "\xAC"},
      {"U+0130 keeps 0x30", "\xC4\xB0", "0"},
      // U+1F600 is D83D DE00: 0x3D and a NUL, which is dropped with the control characters.
      {"surrogate pair", "\xF0\x9F\x98\x80", "="},
      {"control characters",
       "a\tb\nc\rd\x1F"
       "e\x7F"
       "f",
       "abcdef"},
      {"a unit whose low byte is a control character", "\xC4\x8A", ""},  // U+010A
      {"malformed bytes",
       "a\xFF"
       "b\x80"
       "c\xC3",
       "abc"},
      {"overlong and surrogate forms",
       "\xC0\xAF"
       "x\xED\xA0\x80"
       "y",
       "xy"},
      {"empty", "", ""},
  };
  for (const TCase& c : cases) EXPECT_EQ(Narrow(c.page), c.narrow) << c.name;
}

TEST(PageTextTest, TextsOfAMillionUnitsOrMoreAreEmpty) {
  EXPECT_EQ(Narrow(std::string(kPageTextMaxUnits - 1, 'a')).size(), kPageTextMaxUnits - 1);
  EXPECT_EQ(Narrow(std::string(kPageTextMaxUnits, 'a')), "");
  // Units, not bytes nor characters, count: half as many pairs reach the limit.
  std::string pairs;
  for (size_t i = 0; i < kPageTextMaxUnits / 2; ++i) pairs += "\xF0\x9F\x98\x80";
  EXPECT_EQ(Narrow(pairs), "");
  pairs.resize(pairs.size() - 4);
  EXPECT_EQ(Narrow(pairs).size(), kPageTextMaxUnits / 2 - 1);
  // Control characters count before they are dropped.
  EXPECT_EQ(Narrow(std::string(kPageTextMaxUnits, '\t')), "");
}
