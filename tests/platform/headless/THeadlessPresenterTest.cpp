// The headless presenter: frames kept in memory and written as PNG.
#include "tvlib/platform/headless/THeadlessPresenter.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace sd {
namespace {

TEST(HeadlessPresenter, KeepsTheFrameAndWritesItAsPng) {
  THeadlessPresenter p;
  ASSERT_TRUE(p.EnterFullScreen(4, 2));
  const uint32_t image[8] = {0xFF0000FF, 0x80FF0000, 0xFF00FF00, 0x00000000,
                             0xFFFFFFFF, 0xFF102030, 0x01020304, 0xFEDCBA98};
  p.Show(image, 4, 4, 2, TRect{0, 0, 4, 2});
  ASSERT_EQ(p.FrameWidth(), 4);
  EXPECT_EQ(p.Pixel(1, 0), 0x80FF0000u);
  EXPECT_EQ(p.Pixel(3, 1), 0xFEDCBA98u);

  std::string path = (std::filesystem::temp_directory_path() /
                      ("tv_headless_" + std::to_string(getpid()) + ".png"))
                         .string();
  ASSERT_TRUE(p.WritePng(path.c_str()));
  png_image img{};
  img.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&img, path.c_str()));
  img.format = PNG_FORMAT_BGRA;  // bytes blue, green, red, alpha: ARGB read as a word
  std::vector<uint32_t> back(8);
  ASSERT_TRUE(png_image_finish_read(&img, nullptr, back.data(), 0, nullptr));
  std::remove(path.c_str());
  EXPECT_EQ(img.width, 4u);
  EXPECT_EQ(img.height, 2u);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(back[i], image[i]) << i;
  EXPECT_FALSE(p.WritePng("/nonexistent-dir/x.png"));
}

TEST(HeadlessPresenter, WindowedFrameIsTheClientAreaOfTheDesktop) {
  THeadlessPresenter p(TDisplayMode{16, 16, 32});
  p.SetClientRect(TRect{4, 2, 8, 5});
  std::vector<uint32_t> desktop(16 * 16);
  for (uint32_t i = 0; i < desktop.size(); ++i) desktop[i] = i;
  p.Show(desktop.data(), 16, 16, 16, TRect{0, 0, 16, 16});
  ASSERT_EQ(p.FrameWidth(), 4);
  ASSERT_EQ(p.FrameHeight(), 3);
  EXPECT_EQ(p.Pixel(0, 0), 2u * 16 + 4);
  EXPECT_EQ(p.Pixel(3, 2), 4u * 16 + 7);
  desktop[3 * 16 + 5] = 999;
  desktop[0] = 777;  // changed but outside the window
  p.Show(desktop.data(), 16, 16, 16, TRect{0, 0, 6, 4});
  EXPECT_EQ(p.LastCopied(), (TRect{0, 0, 2, 2}));
  EXPECT_EQ(p.Pixel(1, 1), 999u);
}

}  // namespace
}  // namespace sd
