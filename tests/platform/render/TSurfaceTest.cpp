// Surfaces: locks, colour fills, clipped and stretched copies.
#include "tvlib/platform/render/TSurface.h"

#include <gtest/gtest.h>

#include "tests/platform/render/RenderTestUtil.h"
#include "tvlib/platform/render/TFaultHook.h"

namespace sd::test {
namespace {

struct SurfaceTest : ::testing::Test {
  THeadlessPresenter presenter;
  TDisplayPtr display = TDisplay::Create(&presenter, nullptr);
  SurfaceTest() { display->SetCooperativeLevel(kCoopNormal); }
  TSurfacePtr Argb(int32_t w, int32_t h) {
    return MakeSurface(*display, w, h, kFmtA8R8G8B8, kCapsOffscreenPlain);
  }
};

TEST_F(SurfaceTest, LockWholeOrRectangleAndRefusals) {
  TSurfacePtr s = Argb(8, 4);
  TLocked l;
  TRect r{2, 1, 5, 3};
  ASSERT_EQ(s->Lock(&r, &l), kOk);
  EXPECT_EQ(l.bits, s->Bits() + s->Pitch() + 8);
  EXPECT_EQ(s->Lock(nullptr, &l), kErrSurfaceBusy);
  reinterpret_cast<uint32_t*>(l.bits)[0] = 0x12345678;
  ASSERT_EQ(s->Unlock(), kOk);
  EXPECT_EQ(PixelAt(*s, 2, 1), 0x12345678u);
  EXPECT_EQ(s->Unlock(), kErrNotLocked);
  for (TRect bad : {TRect{-1, 0, 2, 2}, TRect{0, 0, 9, 1}, TRect{0, 3, 1, 5}, TRect{3, 1, 3, 2}})
    EXPECT_EQ(s->Lock(&bad, &l), kErrInvalidRect);
}

TEST_F(SurfaceTest, ColourFillIsClippedToTheSurface) {
  TSurfacePtr s = MakeSurface(*display, 6, 3, kFmtR5G6B5, kCapsOffscreenPlain);
  TRect r{-4, 1, 4, 10};
  ASSERT_EQ(s->Blt(&r, nullptr, nullptr, kBltColorFill, 0xF81F), kOk);
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 6; ++x) {
      uint16_t v;
      memcpy(&v, s->Bits() + y * s->Pitch() + x * 2, 2);
      EXPECT_EQ(v, (y >= 1 && x < 4) ? 0xF81F : 0) << x << "," << y;
    }
}

TEST_F(SurfaceTest, BltFastClipsAtEveryEdge) {
  TSurfacePtr src = Argb(4, 4), dst = Argb(6, 6);
  std::vector<uint32_t> px(16);
  for (uint32_t i = 0; i < 16; ++i) px[i] = 0xFF000000 | i;
  FillArgb(*src, px);
  ASSERT_EQ(dst->BltFast(-1, 4, src.get(), nullptr, kBltFastWait), kOk);
  for (int32_t y = 0; y < 6; ++y)
    for (int32_t x = 0; x < 6; ++x) {
      bool in = x < 3 && y >= 4;
      EXPECT_EQ(PixelAt(*dst, x, y), in ? px[(y - 4) * 4 + x + 1] : 0u) << x << "," << y;
    }
  TRect part{1, 1, 3, 9};  // reaches past the source: only the part inside is copied
  ASSERT_EQ(dst->BltFast(0, 0, src.get(), &part, kBltFastWait), kOk);
  EXPECT_EQ(PixelAt(*dst, 0, 0), px[5]);
  EXPECT_EQ(PixelAt(*dst, 1, 2), px[14]);
}

TEST_F(SurfaceTest, StretchedColourKeyedCopyConvertsFormats) {
  // A 2 x 2 R5G6B5 source with magenta as its colour key, stretched onto 4 x 4 ARGB.
  TSurfacePtr src = MakeSurface(*display, 2, 2, kFmtR5G6B5, kCapsOffscreenPlain);
  const uint16_t raw[4] = {0xF81F, 0x07E0, 0x001F, 0xFFFF};
  for (int i = 0; i < 4; ++i)
    memcpy(src->Bits() + (i / 2) * src->Pitch() + (i % 2) * 2, &raw[i], 2);
  TColorKey key{0xF81F, 0xF81F};
  ASSERT_EQ(src->SetColorKey(kColorKeySrcBlt, &key), kOk);
  TSurfacePtr dst = Argb(4, 4);
  TRect fill{0, 0, 4, 4};
  dst->Blt(&fill, nullptr, nullptr, kBltColorFill, 0xFF808080);
  ASSERT_EQ(dst->Blt(nullptr, src.get(), nullptr, kBltKeySrc | kBltWait), kOk);
  const uint32_t want[4] = {0xFF808080, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 4; ++x)
      EXPECT_EQ(PixelAt(*dst, x, y), want[(y / 2) * 2 + x / 2]) << x << "," << y;
  // Without the key flag the keyed colour is copied too.
  ASSERT_EQ(dst->Blt(nullptr, src.get(), nullptr, kBltWait), kOk);
  EXPECT_EQ(PixelAt(*dst, 0, 0), 0xFFFF00FFu);
  TRect outside{0, 0, 3, 1};
  EXPECT_EQ(dst->Blt(nullptr, src.get(), &outside, 0), kErrInvalidRect);
}

TEST_F(SurfaceTest, StretchKeepsItsMappingWhenClipped) {
  // 4 source pixels onto 8 destination pixels starting at -2: each source pixel twice.
  TSurfacePtr src = Argb(4, 1), dst = Argb(6, 1);
  FillArgb(*src, {1, 2, 3, 4});
  TRect to{-2, 0, 6, 1};
  ASSERT_EQ(dst->Blt(&to, src.get(), nullptr, 0), kOk);
  const uint32_t want[6] = {2, 2, 3, 3, 4, 4};
  for (int32_t x = 0; x < 6; ++x) EXPECT_EQ(PixelAt(*dst, x, 0), want[x]) << x;
}

TEST_F(SurfaceTest, PalettisedSurfacesCopyThroughTheirPalette) {
  TSurfacePtr p8 = MakeSurface(*display, 2, 1, kFmtP8, kCapsOffscreenPlain | kCapsSystemMemory);
  uint32_t entries[256] = {};
  entries[3] = 0xFF0000FF;
  entries[9] = 0x80FF0000;
  std::shared_ptr<TPalette> pal;
  ASSERT_EQ(display->CreatePalette(kPaletteCaps8BitAllow256, entries, &pal), kOk);
  ASSERT_EQ(p8->SetPalette(pal), kOk);
  p8->Bits()[0] = 3, p8->Bits()[1] = 9;
  TSurfacePtr dst = Argb(2, 1);
  ASSERT_EQ(dst->BltFast(0, 0, p8.get(), nullptr, 0), kOk);
  EXPECT_EQ(PixelAt(*dst, 0, 0), 0xFF0000FFu);
  EXPECT_EQ(PixelAt(*dst, 1, 0), 0x80FF0000u);
  EXPECT_EQ(p8->BltFast(0, 0, dst.get(), nullptr, 0), kErrInvalidArg);  // no colours into P8
  EXPECT_EQ(dst->SetPalette(pal), kErrInvalidArg);
}

TEST_F(SurfaceTest, OverlappingCopyWithinOneSurface) {
  TSurfacePtr s = Argb(5, 1);
  FillArgb(*s, {1, 2, 3, 4, 5});
  ASSERT_EQ(s->BltFast(1, 0, s.get(), nullptr, 0), kOk);
  const uint32_t want[5] = {1, 1, 2, 3, 4};
  for (int32_t x = 0; x < 5; ++x) EXPECT_EQ(PixelAt(*s, x, 0), want[x]);
}

TEST_F(SurfaceTest, LostSurfacesRefuseUntilRestored) {
  TSurfacePtr s = Argb(2, 2), other = Argb(2, 2);
  FillArgb(*s, {1, 2, 3, 4});
  s->MarkLost();
  TLocked l;
  EXPECT_EQ(s->Lock(nullptr, &l), kErrSurfaceLost);
  EXPECT_EQ(s->Blt(nullptr, nullptr, nullptr, kBltColorFill, 0), kErrSurfaceLost);
  EXPECT_EQ(other->BltFast(0, 0, s.get(), nullptr, 0), kErrSurfaceLost);
  ASSERT_EQ(s->Restore(), kOk);
  EXPECT_EQ(s->Lock(nullptr, &l), kOk);
  EXPECT_EQ(PixelAt(*s, 1, 1), 0u);  // a restored surface starts cleared
  s->Unlock();
}

TEST_F(SurfaceTest, FaultHookMakesAnyCallFail) {
  TSurfacePtr s = Argb(2, 2);
  TFaultScope faults([](TCall c) { return c == TCall::kLock ? kErrOutOfVideoMemory : kOk; });
  TLocked l;
  EXPECT_EQ(s->Lock(nullptr, &l), kErrOutOfVideoMemory);
  EXPECT_EQ(s->Blt(nullptr, nullptr, nullptr, kBltColorFill, 0), kOk);
}

}  // namespace
}  // namespace sd::test
