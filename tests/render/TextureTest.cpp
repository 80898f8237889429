// Textures: keys and caching, loading with its extension fallback, options and masks, the
// surface size rule, pixel conversion for every format, copies and drawing flags.
#include <cmath>

#include "tests/render/DisplayFixture.h"
#include "tests/render/TestImages.h"
#include "tests/render/VecFontBuilder.h"
#include "tvlib/render/TImageLoader.h"
#include "tvlib/render/TTexture.h"
#include "tvlib/render/TTvMiniVecDraw.h"

namespace {

class TextureTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    Display();
  }
  void PutPng(const std::string& name, const TPngSpec& spec) {
    std::filesystem::create_directories(
        std::filesystem::path(dir / ("assets/" + name)).parent_path());
    ASSERT_TRUE(WritePng(dir / ("assets/" + name), spec));
    Mount();
  }
  void PutJpeg(const std::string& name, int w, int h, uint8_t r, uint8_t g, uint8_t b) {
    ASSERT_TRUE(WriteJpeg(dir / ("assets/" + name), w, h, r, g, b));
    Mount();
  }
  // The raw 32-bit value of a surface pixel.
  static uint32_t Raw(TTexture& texture, int x, int y) {
    const sd::TSurfacePtr& s = texture.GetData()->surface;
    return reinterpret_cast<const uint32_t*>(s->Bits() + y * s->Pitch())[x];
  }
  // The texture's surface pixels as ARGB through Lock.
  std::vector<uint32_t> Pixels(TTexture& texture, int* width = nullptr) {
    uint8_t* bits = nullptr;
    int w = 0, h = 0, pitch = 0;
    EXPECT_TRUE(texture.Lock(&bits, &w, &h, &pitch));
    std::vector<uint32_t> out;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) out.push_back(reinterpret_cast<uint32_t*>(bits + y * pitch)[x]);
    texture.Unlock();
    if (width) *width = w;
    return out;
  }
};

}  // namespace

TEST_F(TextureTest, KeysFollowTheRequest) {
  EXPECT_EQ(TTexture::MakeKey("a\\b\\c", false, false, false), TString("a/b/c:tex"));
  EXPECT_EQ(TTexture::MakeKey("p", true, true, true), TString("p:a:m:s:tex"));
  EXPECT_EQ(TTexture::MakeKey("p", false, true, false), TString("p:m:tex"));
  EXPECT_EQ(TTexture::MakeKey("p", false, false, true), TString("p:s:tex"));
  EXPECT_EQ(TTexture::MakeMaskedKey("i\\x", "m\\y", true, false), TString("i\\x:m\\y:m:tex"));
  EXPECT_EQ(TTexture::MakeMaskedKey("i", "m", false, false), TString("i:m:tex"));
}

TEST_F(TextureTest, SameRequestFindsTheSameTextureAndFlagsMakeOthers) {
  PutPng("img/pic.png", SolidRgba(4, 4, 0xFF0000FF));
  auto slashed = TTexture::Get("img/pic", 0);
  ASSERT_TRUE(slashed);
  EXPECT_EQ(TTexture::Get("img\\pic", 0), slashed);
  auto alpha = TTexture::Get("img/pic", kLoadAlpha);
  auto both = TTexture::Get("img/pic", kLoadAlpha | kLoadMipmaps);
  EXPECT_NE(alpha, slashed);
  EXPECT_NE(both, alpha);
  EXPECT_EQ(TTexture::Find("img/pic:a:m:tex"), both);
  // A cached texture keeps its first flags.
  auto again = TTexture::Get("img/pic", kLoadOpaque);
  EXPECT_NE(again, nullptr);
  EXPECT_EQ(TTexture::Get("img/pic", 0), slashed);
  EXPECT_FALSE(slashed->GetData()->flags & kTextureMipmapped);
}

TEST_F(TextureTest, UnnamedTexturesRemoveOnlyTheirOwnKeys) {
  auto one = TTexture::CreateBlank(8, 8, false);
  auto two = TTexture::CreateBlank(8, 8, false);
  ASSERT_TRUE(one && two);
  TString oneKey = one->MakeAnonymousKey(), twoKey = two->MakeAnonymousKey();
  EXPECT_NE(oneKey, twoKey);
  EXPECT_NE(oneKey.Find(":tex:r"), -1);
  int before = Assets().GetCount();
  one.reset();
  EXPECT_EQ(Assets().GetCount(), before - 1);
  EXPECT_EQ(TTexture::Find(twoKey), two);
}

TEST_F(TextureTest, MissingNamesFallBackFromPngToJpeg) {
  PutJpeg("photo.jpg", 8, 8, 0, 0, 255);
  auto photo = TTexture::Get("photo", 0);
  ASSERT_TRUE(photo);
  EXPECT_EQ(photo->GetData()->imageFile, TString("photo.jpg"));
  EXPECT_FALSE(TTexture::Get("photo.png", 0));
  EXPECT_FALSE(TTexture::Get("nothing", 0));
  EXPECT_EQ(TTexture::Find("nothing:tex"), nullptr);
}

TEST_F(TextureTest, ImageSizeGivesThePowerOfTwoSurfaceWithClearedPadding) {
  PutPng("wide.png", SolidRgba(100, 30, 0x10203040));
  auto wide = TTexture::Get("wide", kLoadAlpha);
  ASSERT_TRUE(wide);
  EXPECT_EQ(wide->GetWidth(), 100);
  EXPECT_EQ(wide->GetHeight(), 30);
  int w = 0, h = 0;
  wide->GetSurfaceSize(&w, &h);
  EXPECT_EQ(w, 128);
  EXPECT_EQ(h, 32);
  auto pixels = Pixels(*wide);
  EXPECT_EQ(pixels[0], 0x40102030u);
  EXPECT_EQ(pixels[99], 0x40102030u);
  EXPECT_EQ(pixels[100], 0u);
  EXPECT_EQ(pixels[30 * 128], 0u);

  TDecodedImage image;
  ASSERT_TRUE(LoadPng("wide.png", false, "", &image));
  EXPECT_EQ(image.side, 128);
  ASSERT_EQ(image.pixels.size(), 128u * 128u * 4u);
  for (size_t row = 30; row < 128; ++row)
    for (size_t col = 0; col < 128 * 4; ++col) ASSERT_EQ(image.pixels[row * 512 + col], 0);
}

TEST_F(TextureTest, OptionsAreFoundBySubstring) {
  PutPng("opt.png", SolidRgba(100, 30, 0xFFFFFFFF));
  HandlerData().squareTexturesOnly = true;
  auto plain = TTexture::Get("opt?alpha,simple", 0);
  ASSERT_TRUE(plain);
  uint32_t flags = plain->GetData()->flags;
  EXPECT_TRUE(flags & kTexturePlainSurface);
  EXPECT_TRUE(flags & kTextureHasAlpha);
  EXPECT_FALSE(flags & kTextureDetectAlpha);
  int w = 0, h = 0;
  plain->GetSurfaceSize(&w, &h);
  EXPECT_EQ(h, 32);  // plain surfaces are not squared
  auto square = TTexture::Get("opt", 0);
  square->GetSurfaceSize(&w, &h);
  EXPECT_EQ(h, 128);
  // "rt" anywhere, here inside "smart", asks for a render target.
  auto target = TTexture::Get("opt?smart", 0);
  ASSERT_TRUE(target);
  EXPECT_TRUE(target->GetData()->flags & kTextureRenderTarget);
}

TEST_F(TextureTest, MaskRedBecomesAlphaWhenTheSidesAgree) {
  PutPng("face.png", SolidRgba(16, 16, 0x0000FFFF));
  PutPng("mask.png", SolidRgba(16, 16, 0x80000000 | 0xFF));
  PutPng("small.png", SolidRgba(4, 4, 0x10000000 | 0xFF));
  auto masked = TTexture::GetMasked("face", "mask", false);
  ASSERT_TRUE(masked);
  EXPECT_EQ(Pixels(*masked)[0], 0x800000FFu);
  EXPECT_EQ(masked->GetData()->maskFile, TString("mask.png"));
  auto unchanged = TTexture::GetMasked("face", "small", false);
  ASSERT_TRUE(unchanged);
  EXPECT_EQ(Pixels(*unchanged)[0], 0xFF0000FFu);
  EXPECT_FALSE(TTexture::GetMasked("face", "absent.png", false));
}

TEST_F(TextureTest, PixelFormatsRoundTripWithinTheirBits) {
  struct Case {
    sd::TPixelFormat format;
    bool alpha;
    uint32_t keep;  // bits of each byte the format keeps
  };
  const Case cases[] = {
      {sd::kFmtA8R8G8B8, true, 0xFFFFFFFF}, {sd::kFmtX8R8G8B8, false, 0x00FFFFFF},
      {sd::kFmtR5G6B5, false, 0x00F8FCF8},  {sd::kFmtA4R4G4B4, true, 0xF0F0F0F0},
      {sd::kFmtA1R5G5B5, true, 0x80F8F8F8}, {sd::kFmtX1R5G5B5, false, 0x00F8F8F8},
      {sd::kFmtR8G8B8, false, 0x00FFFFFF},
  };
  const uint32_t source[4] = {0x80C0E0F0, 0xFF123456, 0x00FFFFFF, 0x7F808080};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "bits " << c.format.bitCount << " r " << std::hex << c.format.rMask);
    TDxTextureData data;
    data.flags = c.alpha ? kTextureHasAlpha : 0;
    sd::TSurfaceDesc desc;
    desc.flags = sd::kDescCaps | sd::kDescWidth | sd::kDescHeight | sd::kDescPixelFormat;
    desc.width = 2;
    desc.height = 2;
    desc.format = c.format;
    desc.caps = sd::kCapsOffscreenPlain | sd::kCapsSystemMemory;
    ASSERT_EQ(HandlerData().directDraw->CreateSurface(desc, &data.surface), sd::kOk);
    data.width = data.height = 2;
    ASSERT_TRUE(data.WritePixels(2, 2, source));
    uint32_t back[4] = {};
    ASSERT_TRUE(data.ReadPixels(2, back));
    for (int i = 0; i < 4; ++i) {
      uint32_t expected = source[i] & c.keep;
      if (!(c.keep >> 24)) expected |= 0xFF000000u;
      EXPECT_EQ(back[i] & 0xFFFFFFFF, expected) << i;
    }
  }
}

TEST_F(TextureTest, CopyRectClampsAndConvertsThroughThePalette) {
  TPngSpec spec;
  spec.width = spec.height = 4;
  spec.colourType = PNG_COLOR_TYPE_PALETTE;
  spec.palette = {{255, 0, 0}, {0, 255, 0}};
  spec.transparency = {128};
  spec.bytes = {0, 1, 0, 1, 1, 0, 1, 0, 0, 1, 0, 1, 1, 0, 1, 0};
  PutPng("pal.png", spec);
  auto indexed = TTexture::Get("pal?palettized", 0);
  ASSERT_TRUE(indexed);
  EXPECT_TRUE(indexed->GetData()->flags & kTextureHasAlpha);
  auto target = TTexture::CreateRenderTarget(8, 8);
  ASSERT_TRUE(target);
  platform->Begin2d();
  const TRect beyond{-2, -2, 50, 50};
  indexed->CopyRect(6, 6, &beyond, target);
  platform->End2d();
  EXPECT_EQ(Raw(*target, 6, 6), 0x80FF0000u);  // palette entry 0 with its tRNS alpha
  EXPECT_EQ(Raw(*target, 7, 6), 0xFF00FF00u);
  EXPECT_EQ(Raw(*target, 6, 7), 0xFF00FF00u);
  EXPECT_EQ(Raw(*target, 5, 5), 0u);
  // Outside 2-D drawing nothing is copied.
  auto other = TTexture::CreateRenderTarget(8, 8);
  indexed->CopyRect(0, 0, nullptr, other);
  EXPECT_EQ(Raw(*other, 0, 0), 0u);
}

TEST_F(TextureTest, MirrorBothWaysDrawsTheSameAsAHalfTurn) {
  TPngSpec spec = SolidRgba(4, 4, 0);
  for (int i = 0; i < 16; ++i) {
    spec.bytes[i * 4] = static_cast<uint8_t>(i * 16);  // red counts the pixels
    spec.bytes[i * 4 + 3] = 255;
  }
  PutPng("ramp.png", spec);
  auto ramp = TTexture::Get("ramp", kLoadOpaque);
  ASSERT_TRUE(ramp);
  auto drawn = [&](float angle, uint32_t flags) {
    auto target = TTexture::CreateRenderTarget(16, 16);
    EXPECT_TRUE(platform->SetRenderTarget(target));
    platform->Begin2d();
    handler->SetTextureFilter(0);
    ramp->DrawAt(8, 8, 1.0f, 1.0f, angle, flags);
    platform->End2d();
    platform->PopRenderTarget();
    return Pixels(*target);
  };
  auto plain = drawn(0, 0);
  auto mirrored = drawn(0, kDrawMirrorX | kDrawMirrorY);
  auto turned = drawn(static_cast<float>(M_PI), 0);
  EXPECT_EQ(mirrored, turned);
  EXPECT_EQ(plain[6 * 16 + 6] & 0xFF0000, 0u);            // first texel at the top-left
  EXPECT_EQ(mirrored[9 * 16 + 9] & 0xFF0000, 0u);         // ... now at the bottom-right
  EXPECT_EQ(mirrored[6 * 16 + 6] & 0xFF0000, 0xF00000u);  // the last texel at the top-left
  auto leftRight = drawn(0, kDrawMirrorX);
  EXPECT_EQ(leftRight[6 * 16 + 9] & 0xFF0000, 0u);
}

TEST_F(TextureTest, LostTexturesComeBackFromTheirFiles) {
  PutPng("back.png", SolidRgba(8, 8, 0x11223344));
  auto texture = TTexture::Get("back", kLoadAlpha);
  ASSERT_TRUE(texture);
  Assets().ReleaseAll();
  EXPECT_EQ(texture->GetData()->surface, nullptr);
  Assets().RestoreAll();
  EXPECT_EQ(Pixels(*texture)[0], 0x44112233u);
}

TEST_F(TextureTest, DrawAlphaClipAndTheTwoDimensionalGuard) {
  PutPng("half.png", SolidRgba(4, 4, 0xFF000080));  // red, texture alpha one half
  auto half = TTexture::Get("half", 0);
  ASSERT_TRUE(half);
  auto target = TTexture::CreateRenderTarget(16, 16);
  const float black[4] = {0, 0, 0, 1};
  auto drawn = [&](float alpha, const TRect* clip) {
    handler->FillRect(0, 0, -1, -1, black, target);
    EXPECT_TRUE(platform->SetRenderTarget(target));
    platform->Begin2d();
    if (clip) {
      half->DrawClipped(4, 4, alpha, 2.0f, clip);
    } else {
      half->DrawAt(8, 8, alpha, 1.0f, 0.0f, 0);
    }
    platform->End2d();
    platform->PopRenderTarget();
    return Raw(*target, 8, 8) & 0xFF0000;
  };
  EXPECT_EQ(drawn(1.0f, nullptr), 0x800000u);   // texture alpha
  EXPECT_EQ(drawn(-1.0f, nullptr), 0xFF0000u);  // vertex alpha only
  EXPECT_EQ(drawn(-0.5f, nullptr), 0x7F0000u);  // 0.5 x 255, truncated
  EXPECT_EQ(drawn(4.0f, nullptr), 0x800000u);   // alpha above one is clamped
  // Scaled twice into 4..12 and clipped to its own 0..3 x 0..3 corner.
  const TRect corner{0, 0, 3, 3};
  EXPECT_EQ(drawn(1.0f, &corner), 0u);
  EXPECT_EQ(Raw(*target, 5, 5) & 0xFF0000, 0x800000u);
  // Outside Begin2d nothing is drawn.
  handler->FillRect(0, 0, -1, -1, black, target);
  ASSERT_TRUE(platform->SetRenderTarget(target));
  half->DrawAt(8, 8, 1.0f, 1.0f, 0.0f, 0);
  platform->PopRenderTarget();
  EXPECT_EQ(Raw(*target, 8, 8) & 0xFF0000, 0u);
}

TEST_F(TextureTest, NamedPalettesLoadOnceAndMissingOnesAreLogged) {
  TPngSpec spec;
  spec.width = spec.height = 2;
  spec.colourType = PNG_COLOR_TYPE_PALETTE;
  spec.palette = {{255, 0, 0}, {0, 255, 0}};
  spec.bytes = {0, 1, 1, 0};
  PutPng("pal.png", spec);
  std::string riff = "RIFF";
  auto le = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) riff += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  le(4 + 8 + 8);
  riff += "PAL data";
  le(8);
  le(0x0300);
  riff += std::string{char(0), char(0), char(255), 0};  // entry 0 becomes blue
  WriteWholeFile(dir / "assets/blue.pal", riff);
  Mount();
  auto indexed = TTexture::Get("pal?palettized", 0);
  ASSERT_TRUE(indexed);
  TDxTextureData& data = *indexed->GetData();
  EXPECT_EQ(data.currentPalette[0] & 0xFFFFFF, 0xFF0000u);
  indexed->SetPalette("blue.pal");
  EXPECT_EQ(data.currentPalette[0] & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(data.currentPalette[1] & 0xFFFFFF, 0x00FF00u);
  std::filesystem::remove(dir / "assets/blue.pal");
  indexed->SetPalette("default");
  indexed->SetPalette("blue.pal");  // kept from the first load
  EXPECT_EQ(data.currentPalette[0] & 0xFFFFFF, 0x0000FFu);
  indexed->SetPalette("absent.pal");
  EXPECT_TRUE(Logged("Unable to activate palette: absent.pal"));
  EXPECT_EQ(data.currentPalette[0] & 0xFFFFFF, 0x0000FFu);
}

TEST_F(TextureTest, TextRasteriserDrawsIntoALockedTexture) {
  auto texture = TTexture::CreateBlank(16, 16, true);
  ASSERT_TRUE(texture);
  const std::vector<uint8_t> square = RectProgram(0, 0, 4, 4);
  const float white[4] = {1, 1, 1, 1};
  TTvMiniVecDraw draw;
  draw.SetColor(1, white, 1.0f);  // the colour the outline fills with
  draw.scaleX = draw.scaleY = 4;
  draw.replaceTarget = 1;
  ASSERT_TRUE(draw.BeginDraw(2, 3, texture));
  draw.FillOutline(square.data(), 0, 0);
  EXPECT_EQ(draw.GetPixel(2, 3), 0xffffffu);  // read from the locked texture
  draw.EndDraw();                             // unlocks: the texture can be locked again
  int width = 0;
  std::vector<uint32_t> pixels = Pixels(*texture, &width);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      bool inside = x >= 2 && x < 6 && y >= 3 && y < 7;
      EXPECT_EQ(pixels[y * width + x], inside ? 0xffffffffu : 0u) << x << "," << y;
    }
}
