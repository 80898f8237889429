// The PNG and JPEG loaders: transforms, palettes with transparency, RIFF palette files, and
// bad input (truncated, corrupt, oversized) answered with false.
#include <fstream>

#include "tests/render/DisplayFixture.h"
#include "tests/render/TestImages.h"
#include "tvlib/render/TImageLoader.h"

namespace {

class ImageLoaderTest : public DisplayTest {
 protected:
  TString Put(const std::string& name, const TPngSpec& spec) {
    EXPECT_TRUE(WritePng(dir / ("assets/" + name), spec));
    Mount();
    return TString(name.c_str());
  }
  uint32_t Pixel(const TDecodedImage& image, int x, int y) {
    const uint8_t* p = image.pixels.data() + (static_cast<size_t>(y) * image.side + x) * 4;
    return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24);
  }
  TPngSpec PaletteImage() {
    TPngSpec spec;
    spec.width = 3;
    spec.height = 1;
    spec.colourType = PNG_COLOR_TYPE_PALETTE;
    spec.palette = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}};
    spec.transparency = {255, 64};
    spec.bytes = {0, 1, 2};
    return spec;
  }
};

}  // namespace

TEST_F(ImageLoaderTest, SixteenBitGreyBecomesEightBitOpaqueGrey) {
  TPngSpec spec;
  spec.width = 2;
  spec.colourType = PNG_COLOR_TYPE_GRAY;
  spec.bitDepth = 16;
  spec.bytes = {0x12, 0x34, 0xAB, 0xCD};
  TDecodedImage image;
  ASSERT_TRUE(LoadPng(Put("grey.png", spec), false, "", &image));
  EXPECT_EQ(Pixel(image, 0, 0), 0xFF121212u);
  EXPECT_EQ(Pixel(image, 1, 0), 0xFFABABABu);
  EXPECT_FALSE(image.hasAlpha);
  EXPECT_EQ(image.side, 2);
}

TEST_F(ImageLoaderTest, PaletteTransparencyReachesPixelsOrPalette) {
  Put("pal.png", PaletteImage());
  TDecodedImage expanded;
  ASSERT_TRUE(LoadPng("pal.png", false, "", &expanded));
  EXPECT_TRUE(expanded.hasAlpha);
  EXPECT_EQ(Pixel(expanded, 1, 0), 0x4028323Cu);  // alpha 64, red 40, green 50, blue 60
  EXPECT_EQ(Pixel(expanded, 2, 0), 0xFF46505Au);

  TDecodedImage indexed;
  ASSERT_TRUE(LoadPng("pal.png", true, "", &indexed));
  EXPECT_TRUE(indexed.hasAlpha);
  ASSERT_EQ(indexed.pixels.size(), 4u * 4u);  // one byte a pixel, S = 4
  EXPECT_EQ(indexed.pixels[2], 2);
  ASSERT_EQ(indexed.palette.size(), 256u);
  EXPECT_EQ(indexed.palette[1], 0x4028323Cu);
  EXPECT_EQ(indexed.palette[2], 0xFF46505Au);
}

TEST_F(ImageLoaderTest, LowDepthPalettesStayInsideTheirRows) {
  TPngSpec spec = PaletteImage();
  spec.bitDepth = 2;
  spec.width = 5;
  spec.bytes = {0b00011000, 0b01000000};  // indices 0 1 2 0 1
  TDecodedImage image;
  ASSERT_TRUE(LoadPng(Put("low.png", spec), true, "", &image));
  ASSERT_EQ(image.side, 8);
  const uint8_t expected[8] = {0, 1, 2, 0, 1, 0, 0, 0};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(image.pixels[i], expected[i]) << i;
  // Palettised mode refuses images without a palette instead of widening them.
  EXPECT_FALSE(LoadPng(Put("rgba.png", SolidRgba(2, 2, 0xFFFFFFFF)), true, "", &image));
}

TEST_F(ImageLoaderTest, RiffPalettesReplaceColoursWithinTheirBounds) {
  Put("pal.png", PaletteImage());
  auto riff = [&](const std::string& name, uint32_t chunk, int entries) {
    std::string bytes = "RIFF";
    auto le = [&](uint32_t v) {
      for (int i = 0; i < 4; ++i) bytes += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    le(4 + 8 + chunk);
    bytes += "PAL data";
    le(chunk);
    le(0x0300);
    for (int i = 0; i < entries; ++i) bytes += std::string{char(200 + i), char(1), char(2), 0};
    WriteWholeFile(dir / ("assets/" + name), bytes);
  };
  riff("two.pal", 4 + 2 * 4, 2);
  riff("lies.pal", 4 + 300 * 4, 1);  // claims 300 entries, holds one
  riff("tiny.pal", 2, 0);
  WriteWholeFile(dir / "assets/plain.pal", "not a palette at all");
  Mount();
  TDecodedImage image;
  ASSERT_TRUE(LoadPng("pal.png", true, "two.pal", &image));
  EXPECT_EQ(image.palette[0] & 0xFFFFFF, 0xC80102u);
  EXPECT_EQ(image.palette[1] & 0xFFFFFF, 0xC90102u);
  EXPECT_EQ(image.palette[2] & 0xFFFFFF, 0x46505Au);
  ASSERT_TRUE(LoadPng("pal.png", true, "lies.pal", &image));
  EXPECT_EQ(image.palette[0] & 0xFFFFFF, 0xC80102u);
  EXPECT_EQ(image.palette[1] & 0xFFFFFF, 0x28323Cu);
  for (const char* keep : {"tiny.pal", "plain.pal", "absent.pal"}) {
    ASSERT_TRUE(LoadPng("pal.png", true, keep, &image)) << keep;
    EXPECT_EQ(image.palette[0] & 0xFFFFFF, 0x0A141Eu) << keep;
  }
}

TEST_F(ImageLoaderTest, JpegGivesOpaqueBgrWithClearedPadding) {
  ASSERT_TRUE(WriteJpeg(dir / "assets/photo.jpg", 20, 10, 255, 0, 0));
  Mount();
  TDecodedImage image;
  ASSERT_TRUE(LoadJpeg("photo.jpg", &image));
  EXPECT_EQ(image.side, 32);
  uint32_t p = Pixel(image, 5, 5);
  EXPECT_EQ(p >> 24, 0xFFu);
  EXPECT_GT((p >> 16) & 0xFF, 0xF0u);
  EXPECT_LT(p & 0xFF, 0x10u);
  EXPECT_EQ(Pixel(image, 25, 5), 0u);
  EXPECT_EQ(Pixel(image, 5, 20), 0u);
}

TEST_F(ImageLoaderTest, BadFilesFailWithALogLineAndNeverExit) {
  Put("good.png", SolidRgba(64, 64, 0x12345678));
  std::string png = ReadWholeFile(dir / "assets/good.png");
  ASSERT_TRUE(WriteJpeg(dir / "assets/good.jpg", 64, 64, 1, 2, 3));
  std::string jpg = ReadWholeFile(dir / "assets/good.jpg");
  WriteWholeFile(dir / "assets/cut.png", png.substr(0, png.size() / 2));
  std::string corrupt = jpg;
  for (size_t i = 200; i < corrupt.size() - 2; i += 7) corrupt[i] = static_cast<char>(0xFF);
  WriteWholeFile(dir / "assets/bad.jpg", corrupt);
  WriteWholeFile(dir / "assets/sig.png", "\x89PNG\r\n\x1a\n");
  WriteWholeFile(dir / "assets/empty.jpg", "");
  Mount();
  TDecodedImage image;
  EXPECT_FALSE(LoadPng("cut.png", false, "", &image));
  EXPECT_TRUE(Logged("Read Error"));
  EXPECT_TRUE(image.pixels.empty());
  EXPECT_FALSE(LoadPng("sig.png", false, "", &image));
  EXPECT_FALSE(LoadJpeg("bad.jpg", &image));
  EXPECT_FALSE(LoadJpeg("empty.jpg", &image));
  EXPECT_TRUE(Logged("LoadJpeg: failed to load bad.jpg"));
  // A JPEG cut short decodes with an end marker supplied.
  WriteWholeFile(dir / "assets/short.jpg", jpg.substr(0, jpg.size() - 40));
  Mount();
  EXPECT_TRUE(LoadJpeg("short.jpg", &image));
  // Bytes in memory that are no bytes at all.
  size_t at = 0;
  EXPECT_FALSE(DecodePng(MemoryByteSource(nullptr, 0, &at), false, nullptr, &image));
}

TEST_F(ImageLoaderTest, ImagesLargerThanTheLargestTextureAreRefused) {
  int side = MaxImageSide();
  TPngSpec spec = SolidRgba(side + 1, 1, 0xFFFFFFFF);
  TDecodedImage image;
  EXPECT_FALSE(LoadPng(Put("huge.png", spec), false, "", &image));
  ASSERT_TRUE(WriteJpeg(dir / "assets/huge.jpg", side + 1, 8, 1, 2, 3));
  Mount();
  EXPECT_FALSE(LoadJpeg("huge.jpg", &image));
  EXPECT_TRUE(LoadPng(Put("edge.png", SolidRgba(side, 1, 0xFFFFFFFF)), false, "", &image));
}
