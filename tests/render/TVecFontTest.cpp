// Vector font parsing, metrics, refusal of damaged images, the built-in font and the name
// chain.
#include "tvlib/render/TVecFont.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "tests/render/VecFontBuilder.h"
#include "tests/support/MountedGameFolder.h"
#include "tests/support/TempDir.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TFileIndex.h"
#include "tvlib/render/TVecFontSource.h"

namespace {

// "A" tall, "W" the ascent, "_" deep (left out of the descent), "g" the descent.
std::vector<TTestGlyph> SmallFont() {
  return {
      {32, 0, 0, 0, 0, 640, {kOpEnd}},
      {65, 10, 1200, -30 * 128, 0, 1300, RectProgram(0, -30, 9, 0)},
      {87, 20, 1500, -20 * 128, 0, 1600, RectProgram(0, -20, 12, 0)},
      {95, 0, 1000, 0, 10 * 128, 1100, RectProgram(0, 0, 8, 10)},
      {103, 30, 900, -10 * 128, 5 * 128, 1000, RectProgram(0, -10, 7, 5)},
      {0x20AC, 0, 900, -20 * 128, 0, 1000, RectProgram(0, -20, 7, 0)},
  };
}

TEST(TVecFont, ParsesHandMadeImageExactly) {
  const std::vector<uint8_t> image = BuildFontImage(SmallFont());
  TVecFont font;
  ASSERT_TRUE(font.Load(image));
  EXPECT_EQ(font.GetGlyphCount(), 6);
  EXPECT_EQ(font.FindGlyph(32), 0);
  EXPECT_EQ(font.FindGlyph(87), 2);
  EXPECT_EQ(font.FindGlyph(0x20AC), 5);
  EXPECT_EQ(font.FindGlyph(31), -1);
  EXPECT_EQ(font.FindGlyph(0xFFFFFFFF), -1);
  EXPECT_FLOAT_EQ(font.GetGlyphAdvance(1), 1300 / 128.0f);
  EXPECT_FLOAT_EQ(font.GetGlyphLeft(1), 10 / 128.0f);
  EXPECT_FLOAT_EQ(font.GetGlyphRight(1), 1200 / 128.0f);
  EXPECT_EQ(*font.GetGlyphData(0), kOpEnd);
  const std::vector<uint8_t> a = RectProgram(0, -30, 9, 0);
  EXPECT_TRUE(std::equal(a.begin(), a.end(), font.GetGlyphData(1)));

  EXPECT_FLOAT_EQ(font.GetAscent(), 20);  // from "W"
  EXPECT_FLOAT_EQ(font.GetDescent(), 5);  // "g", not "_"
  EXPECT_FLOAT_EQ(font.GetBodyFraction(), 0.8f);
  EXPECT_FLOAT_EQ(font.GetLinePadding(true), 25 * 0.15f / 0.8f);
  EXPECT_FLOAT_EQ(font.GetLinePadding(false), 25 * 0.05f / 0.8f);
  EXPECT_EQ(font.GetFlag(), 0);
  EXPECT_EQ(font.GetScale(), 1.0f);
  // "A" reaches 30 above the baseline, beyond ascent plus padding; "_" 10 below.
  EXPECT_FLOAT_EQ(font.GetGlyphScale(1), 1 / (30 / (20 + 25 * 0.15f / 0.8f)));
  EXPECT_FLOAT_EQ(font.GetGlyphScale(3), 1 / (10 / (5 + 25 * 0.05f / 0.8f)));
  EXPECT_EQ(font.GetGlyphScale(2), 1.0f);
}

TEST(TVecFont, OutOfRangeAccessorsAreNeutral) {
  TVecFont font;
  ASSERT_TRUE(font.Load(BuildFontImage(SmallFont())));
  for (int glyph : {-1, 6, 1 << 30}) {
    EXPECT_EQ(font.GetGlyphData(glyph), nullptr);
    EXPECT_EQ(font.GetGlyphAdvance(glyph), 0.0f);
    EXPECT_EQ(font.GetGlyphLeft(glyph), 0.0f);
    EXPECT_EQ(font.GetGlyphRight(glyph), 0.0f);
    EXPECT_EQ(font.GetGlyphScale(glyph), 1.0f);
  }
}

// Each damage leaves an empty font whose lookups fail and whose metrics are zero.
TEST(TVecFont, RefusesDamagedImages) {
  const std::vector<uint8_t> good = BuildFontImage(SmallFont());
  const size_t programs = 12 + 18 * 6;
  auto with = [&](auto change) {
    std::vector<uint8_t> image = good;
    change(image);
    return image;
  };
  auto setU32 = [](std::vector<uint8_t>& image, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) image[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  const std::vector<std::pair<const char*, std::vector<uint8_t>>> cases = {
      {"empty", {}},
      {"short header", {'M', 'V', 'C', '4', 1}},
      {"bad magic", with([](auto& i) { i[3] = '3'; })},
      {"count past the end", with([](auto& i) {
         i[4] = 0xFF;
         i[5] = 0xFF;
       })},
      {"records cut off", std::vector<uint8_t>(good.begin(), good.begin() + 12 + 18 * 3)},
      {"offset into the records", with([&](auto& i) { setU32(i, 12 + 18 + 14, 12); })},
      {"offset past the end",
       with([&](auto& i) { setU32(i, 12 + 18 + 14, static_cast<uint32_t>(good.size())); })},
      {"codes out of order", with([&](auto& i) { setU32(i, 12 + 18 * 2, 10); })},
      {"program without end", std::vector<uint8_t>(good.begin(), good.end() - 1)},
      {"unknown opcode", with([&](auto& i) { i[programs + 1] = 9; })},
      {"operands cut off", with([&](auto& i) { i.back() = kOpLine; })},
  };
  for (const auto& [name, image] : cases) {
    SCOPED_TRACE(name);
    TVecFont font;
    EXPECT_FALSE(font.Load(image));
    EXPECT_EQ(font.GetGlyphCount(), 0);
    EXPECT_EQ(font.FindGlyph(65), -1);
    EXPECT_EQ(font.GetGlyphData(0), nullptr);
    EXPECT_EQ(font.GetAscent(), 0.0f);
    EXPECT_EQ(font.GetDescent(), 0.0f);
    EXPECT_EQ(font.GetScale(), 1.0f);
  }
}

TEST(TVecFont, FontWithoutWOrHeightGetsSaneMetrics) {
  TVecFont noW;
  ASSERT_TRUE(noW.Load(BuildFontImage({SmallFont()[1], SmallFont()[4]})));
  EXPECT_FLOAT_EQ(noW.GetAscent(), 30);  // the tallest ASCII ink
  EXPECT_FLOAT_EQ(noW.GetDescent(), 5);

  TVecFont flat;
  ASSERT_TRUE(
      flat.Load(BuildFontImage({{87, 0, 100, 0, 0, 100, RectProgram(0, 0, 1, 0)},
                                {120, 0, 100, -5 * 128, 0, 100, RectProgram(0, -5, 1, 0)}})));
  EXPECT_EQ(flat.GetAscent(), 0.0f);
  EXPECT_EQ(flat.GetDescent(), 0.0f);
  // A line without height shrinks nothing (and divides by nothing).
  EXPECT_EQ(flat.GetGlyphScale(0), 1.0f);
  EXPECT_EQ(flat.GetGlyphScale(1), 1.0f);
}

TEST(TVecFont, BuiltinFontCoversTheGameCharacters) {
  std::unique_ptr<TVecFont> font = LoadBuiltinVecFont();
  ASSERT_GT(font->GetGlyphCount(), 190);
  EXPECT_EQ(font->FindGlyph(32), 0);
  EXPECT_EQ(font->FindGlyph(31), -1);
  for (uint32_t code : {65u, 87u, 0xE9u, 0xFFu, 0x2019u, 0x2026u, 0x20ACu, 0x2122u}) {
    EXPECT_GE(font->FindGlyph(code), 0) << code;
  }
  // The space draws nothing and advances about a quarter em.
  EXPECT_EQ(*font->GetGlyphData(0), kOpEnd);
  EXPECT_NEAR(font->GetGlyphAdvance(0), 192 * 0.278f, 0.5f);
  // The ascent of a sans "W" is about 0.69 em.
  EXPECT_NEAR(font->GetAscent(), 192 * 0.69f, 3.0f);
  EXPECT_GT(font->GetDescent(), 0.0f);
}

TEST(TVecFontSource, NameChainFallsBackToDefaultThenBuiltin) {
  const std::vector<uint8_t> small = BuildFontImage(SmallFont());
  std::map<std::string, std::vector<uint8_t>> files;
  std::vector<std::string> asked;
  auto reader = [&](const TString& name, std::vector<uint8_t>& bytes) {
    asked.push_back(name.c_str());
    auto it = files.find(name.c_str());
    if (it == files.end()) return false;
    bytes = it->second;
    return true;
  };
  const int builtinCount = LoadBuiltinVecFont()->GetGlyphCount();

  EXPECT_EQ(LoadVecFontByName("__DEFAULT", reader)->GetGlyphCount(), builtinCount);
  EXPECT_TRUE(asked.empty());

  EXPECT_EQ(LoadVecFontByName("fonts/x.mvec", reader)->GetGlyphCount(), builtinCount);
  EXPECT_EQ(asked, (std::vector<std::string>{"fonts/x.mvec", "fonts/default.mvec"}));

  files["fonts/default.mvec"] = small;
  EXPECT_EQ(LoadVecFontByName("fonts/x.mvec", reader)->GetGlyphCount(), 6);
  files["fonts/x.mvec"] = BuildFontImage({SmallFont()[2]});
  EXPECT_EQ(LoadVecFontByName("fonts/x.mvec", reader)->GetGlyphCount(), 1);
  // Damaged files are passed over like missing ones: the default font, then the built-in one.
  files["fonts/x.mvec"] = {'d', 'a', 'm', 'a', 'g', 'e', 'd'};
  EXPECT_EQ(LoadVecFontByName("fonts/x.mvec", reader)->GetGlyphCount(), 6);
  files["fonts/default.mvec"] = {0};
  EXPECT_EQ(LoadVecFontByName("fonts/x.mvec", reader)->GetGlyphCount(), builtinCount);
}

TEST(TVecFontSource, ReadsFontsThroughTheFileLayer) {
  TTempDir dir;
  std::filesystem::create_directories(dir.Path() / "assets" / "fonts");
  SetLogDirectory(dir.Path().c_str());
  SetProgramFolder(dir.Path().c_str());
  SetDataFolders(dir.Path().c_str(), dir.Path().c_str());
  const std::vector<uint8_t> small = BuildFontImage(SmallFont());
  WriteWholeFile(dir / "assets/fonts/default.mvec", std::string(small.begin(), small.end()));
  ClearFileIndex();
  MountFileSystem();
  EXPECT_EQ(LoadVecFontByName("fonts/default.mvec")->GetGlyphCount(), 6);
  EXPECT_EQ(LoadVecFontByName("fonts/arial.mvec")->GetGlyphCount(), 6);
  EXPECT_EQ(LoadVecFontByName("__DEFAULT")->GetGlyphCount(), LoadBuiltinVecFont()->GetGlyphCount());
  ClearFileIndex();
}

// The fonts the build converts and packs beside the game, read the way the game reads them.
TEST(TVecFontSource, PackedAssetFontsLoadByName) {
  TMountedGameFolder game;
  std::vector<uint8_t> arial;
  ASSERT_TRUE(ReadFontFile("fonts/arial.mvec", arial));
  const std::span<const uint8_t> builtin = GetBuiltinFontImage();
  EXPECT_TRUE(std::equal(arial.begin(), arial.end(), builtin.begin(), builtin.end()));
  for (const char* name : kPackedFontNames) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadFontFile(name, bytes)) << name;
    TVecFont font;
    EXPECT_TRUE(font.Load(bytes)) << name;
    EXPECT_GT(font.GetGlyphCount(), 190) << name;
    EXPECT_GE(font.FindGlyph(0x20AC), 0) << name;
  }
}

}  // namespace
