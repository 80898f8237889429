// Texture helpers: mip chains and their averaged levels.
#include "tvlib/platform/render/TTextureHelpers.h"

#include <gtest/gtest.h>

#include "tests/platform/render/RenderTestUtil.h"
#include "tvlib/platform/render/TFaultHook.h"

namespace sd::test {
namespace {

struct TextureHelpersTest : ::testing::Test {
  THeadlessPresenter presenter;
  TDisplayPtr display = TDisplay::Create(&presenter, nullptr);
};

TEST_F(TextureHelpersTest, FullMipChainOrOneLevel) {
  int32_t w = 64, h = 16;
  uint32_t format = kSfA8R8G8B8;
  TSurfacePtr t;
  ASSERT_EQ(CreateTexture(*display, 0, &w, &h, &format, &t), kOk);
  std::vector<std::pair<int, int>> sizes;
  for (TSurfacePtr l = t; l; l = l->GetAttachedSurface(kCapsMipMap))
    sizes.push_back({l->Width(), l->Height()});
  std::vector<std::pair<int, int>> want = {{64, 16}, {32, 8}, {16, 4}, {8, 2},
                                           {4, 1},   {2, 1},  {1, 1}};
  EXPECT_EQ(sizes, want);
  ASSERT_EQ(CreateTexture(*display, kTexNoMipMap, &w, &h, &format, &t), kOk);
  EXPECT_FALSE(t->GetAttachedSurface(kCapsMipMap));
  for (uint32_t f : {uint32_t(kSfX8R8G8B8), uint32_t(kSfR5G6B5), uint32_t(kSfA4R4G4B4)}) {
    format = f;
    ASSERT_EQ(CreateTexture(*display, kTexNoMipMap, &w, &h, &format, &t), kOk) << f;
  }
  EXPECT_EQ(t->Format(), kFmtA4R4G4B4);
  format = 99;
  EXPECT_EQ(CreateTexture(*display, 0, &w, &h, &format, &t), kErrInvalidArg);
  format = kSfA8R8G8B8;
  int32_t big = 4096;
  EXPECT_EQ(CreateTexture(*display, 0, &big, &h, &format, &t), kErrInvalidArg);
  TFaultScope f([](TCall c) { return c == TCall::kCreateTexture ? kErrOutOfVideoMemory : kOk; });
  EXPECT_EQ(CreateTexture(*display, 0, &w, &h, &format, &t), kErrOutOfVideoMemory);
}

TEST_F(TextureHelpersTest, LoadingFillsLevelZeroAndAveragesTheRest) {
  int32_t w = 4, h = 2;
  uint32_t format = kSfA8R8G8B8;
  TSurfacePtr t;
  ASSERT_EQ(CreateTexture(*display, 0, &w, &h, &format, &t), kOk);
  const uint32_t px[8] = {0xFF000000, 0xFF000004, 0x00FF0000, 0x00FF0000,
                          0xFF000008, 0xFF00000B, 0x00000000, 0x00000000};
  ASSERT_EQ(LoadTextureFromMemory(t.get(), -1, px, 0, nullptr, kFilterLinear), kOk);
  EXPECT_EQ(PixelAt(*t, 1, 1), 0xFF00000Bu);
  TSurfacePtr l1 = t->GetAttachedSurface(kCapsMipMap);
  EXPECT_EQ(PixelAt(*l1, 0, 0), 0xFF000006u);  // (0 + 4 + 8 + 11 + 2) / 4
  EXPECT_EQ(PixelAt(*l1, 1, 0), 0x00800000u);  // (255 + 255 + 0 + 0 + 2) / 4
  TRect outside{0, 0, 5, 1};
  EXPECT_EQ(LoadTextureFromMemory(t.get(), 0, px, 0, &outside, kFilterLinear), kErrInvalidRect);
  // Into one level of a 16-bit texture, converted.
  format = kSfR5G6B5;
  ASSERT_EQ(CreateTexture(*display, kTexNoMipMap, &w, &h, &format, &t), kOk);
  const uint32_t white = 0xFFFFFFFF;
  TRect one{3, 1, 4, 2};
  ASSERT_EQ(LoadTextureFromMemory(t.get(), 0, &white, 0, &one, kFilterPoint), kOk);
  uint16_t v;
  memcpy(&v, t->Bits() + t->Pitch() + 6, 2);
  EXPECT_EQ(v, 0xFFFF);
}

}  // namespace
}  // namespace sd::test
