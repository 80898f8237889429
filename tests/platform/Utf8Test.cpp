// UTF-8 decoding of text input: scalar values and malformed bytes.
#include "tvlib/platform/window/Utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Utf8, DecodesScalarValuesAndDropsMalformedBytes) {
  struct TCase {
    std::string text;
    std::vector<uint32_t> points;
  } cases[] = {
      {"az", {'a', 'z'}},
      {"\xC3\xBC\xE2\x98\xBA\xF0\x9F\x8E\x89", {0xFC, 0x263A, 0x1F389}},
      {"\x80x", {'x'}},              // stray continuation byte
      {"\xC0\xAF!", {'!'}},          // overlong "/"
      {"\xED\xA0\x80.", {'.'}},      // surrogate
      {"\xF4\x90\x80\x80", {}},      // past U+10FFFF
      {"a\xE2\x98", {'a'}},          // cut short at the end
      {"\xE2(\xA1", {'('}},          // broken in the middle
      {"\xF8\x88\x80\x80\x80", {}},  // five-byte form
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(DecodeUtf8(c.text.data(), c.text.size()), c.points) << c.text;
  }
}

}  // namespace
