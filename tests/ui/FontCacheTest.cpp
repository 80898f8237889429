// The font cache: each name loaded once, the fallbacks to "fonts/default.mvec" and the
// built-in font, and remembered failures.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "tests/ui/TextTestSupport.h"
#include "tvlib/ui/TFontCache.h"

namespace {

// Font files by name, counting the reads of each.
struct TFontFiles {
  std::map<std::string, std::vector<uint8_t>> files;
  std::map<std::string, int> reads;
  TFontFileReader Reader() {
    return [this](const TString& name, std::vector<uint8_t>& bytes) {
      ++reads[name.c_str()];
      auto found = files.find(name.c_str());
      if (found == files.end()) return false;
      bytes = found->second;
      return true;
    };
  }
};

TEST(FontCacheTest, EachNameIsLoadedOnceWithItsFallbacks) {
  TFontFiles disk;
  disk.files["fonts/default.mvec"] = BuildFontImage(RoundGlyphs({'W', 'x'}, 12 * 128));
  disk.files["round.mvec"] = BuildFontImage(RoundGlyphs({'W', 'a'}, 8 * 128));
  TFontCache cache;
  const auto round = GetVecFont(&cache, "round.mvec", disk.Reader());
  ASSERT_NE(round, nullptr);
  EXPECT_GE(round->FindGlyph('a'), 0);
  EXPECT_EQ(GetVecFont(&cache, "round.mvec", disk.Reader()), round);
  EXPECT_EQ(disk.reads["round.mvec"], 1);

  // A missing file is the default font, kept under the name asked for.
  const auto missing = GetVecFont(&cache, "fonts/missing.mvec", disk.Reader());
  ASSERT_NE(missing, nullptr);
  EXPECT_GE(missing->FindGlyph('x'), 0);
  EXPECT_EQ(GetVecFont(&cache, "fonts/missing.mvec", disk.Reader()), missing);
  EXPECT_EQ(disk.reads["fonts/default.mvec"], 1);

  // The built-in font never touches the files; nor does a damaged chain's last resort.
  const auto builtin = GetVecFont(&cache, "__DEFAULT", disk.Reader());
  ASSERT_NE(builtin, nullptr);
  EXPECT_GT(builtin->GetGlyphCount(), 90);
  EXPECT_EQ(disk.reads.count("__DEFAULT"), 0u);
  disk.files["fonts/default.mvec"] = {'M', 'V', 'C', '4'};
  disk.files["bad.mvec"] = {'n', 'o'};
  const auto bad = GetVecFont(&cache, "bad.mvec", disk.Reader());
  ASSERT_NE(bad, nullptr);
  EXPECT_EQ(bad->GetGlyphCount(), builtin->GetGlyphCount());

  ClearFontCache(&cache);
  EXPECT_TRUE(cache.empty());
  EXPECT_NE(GetVecFont(&cache, "round.mvec", disk.Reader()), round);  // loaded anew
  EXPECT_EQ(disk.reads["round.mvec"], 2);
}

}  // namespace
