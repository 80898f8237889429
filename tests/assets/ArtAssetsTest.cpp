// Every image and animation in the art manifest is in the built asset package under the name
// the game asks for, decodes at its listed size; every animation document reads with the engine's
// animation reader, names a sheet that exists, and keeps its frames inside that sheet; and no two
// asset files differ only by case, since names resolve without regard to case.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/assets/ManifestRows.h"
#include "tests/support/MountedGameFolder.h"
#include "tests/support/TempDir.h"
#include "tvlib/core/TFile.h"
#include "tvlib/core/TFileIndex.h"
#include "tvlib/core/TXmlNode.h"
#include "tvlib/media/TAnimation.h"
#include "tvlib/render/TImageLoader.h"

namespace {

struct ArtEntry {
  std::string name;  // as the game asks for it
  std::string file;  // below the assets folder
  bool animation = false;
  int width = 0;
  int height = 0;
  int regx = 0;
  int regy = 0;
};

std::vector<ArtEntry> ReadManifest() {
  std::vector<ArtEntry> entries;
  for (const auto& f : ReadManifestRows(TV_SOURCE_DIR "/tools/art/manifest.csv", 9)) {
    entries.push_back({f[0], f[1], f[2] == "animation", std::atoi(f[3].c_str()),
                       std::atoi(f[4].c_str()), std::atoi(f[5].c_str()), std::atoi(f[6].c_str())});
  }
  return entries;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool HasExtension(const std::string& name) {
  size_t slash = name.find_last_of('/');
  size_t dot = name.find_last_of('.');
  return dot != std::string::npos && (slash == std::string::npos || dot > slash);
}

// The file a name reaches the way the engine looks it up: the name itself, else textures try
// ".png" then ".jpg" and animations ".xml" then ".anm".
std::string Resolve(const ArtEntry& entry) {
  std::vector<std::string> tries{entry.name};
  if (!HasExtension(entry.name)) {
    if (entry.animation)
      tries.insert(tries.end(), {entry.name + ".xml", entry.name + ".anm"});
    else
      tries.insert(tries.end(), {entry.name + ".png", entry.name + ".jpg"});
  }
  for (const std::string& name : tries)
    if (FileExists(TString(name.c_str()))) return name;
  return "";
}

// Decodes the image with the engine's own loader, as the game will.
bool ImageSize(const std::string& file, int* width, int* height) {
  TDecodedImage image;
  if (!LoadPng(TString(("assets/" + file).c_str()), false, TString(""), &image)) return false;
  *width = image.width;
  *height = image.height;
  return true;
}

class ArtAssets : public ::testing::Test {
 protected:
  TMountedGameFolder mGame;

  static std::string Read(const std::string& file) {
    std::string bytes;
    EXPECT_TRUE(FileReadAll(("assets/" + file).c_str(), 0, 16 << 20, &bytes)) << file;
    return bytes;
  }
};

TEST_F(ArtAssets, EveryNameResolvesToItsFileAtItsListedSize) {
  std::vector<ArtEntry> entries = ReadManifest();
  ASSERT_GE(entries.size(), 400u);
  for (const ArtEntry& entry : entries) {
    SCOPED_TRACE(entry.name);
    std::string resolved = Resolve(entry);
    ASSERT_FALSE(resolved.empty());
    if (resolved.rfind("assets/", 0) == 0) resolved.erase(0, 7);
    EXPECT_EQ(Lower(resolved), Lower(entry.file));
    if (entry.animation) continue;
    int width = 0, height = 0;
    ASSERT_TRUE(ImageSize(entry.file, &width, &height));
    EXPECT_EQ(width, entry.width);
    EXPECT_EQ(height, entry.height);
  }
}

TEST_F(ArtAssets, AnimationFramesLieInsideTheirSheetsAtTheListedSizeAndRegistration) {
  for (const ArtEntry& entry : ReadManifest()) {
    if (!entry.animation) continue;
    SCOPED_TRACE(entry.name);
    const std::string text = Read(entry.file);
    TXmlNode document;
    document.LoadBuffer(text.data(), text.size());
    TAnimation animation;
    ASSERT_TRUE(ReadAnimationXml(document, &animation)) << "the engine's reader refuses it";
    const std::string folder = entry.file.substr(0, entry.file.find_last_of('/') + 1);
    int sheetWidth = 0, sheetHeight = 0;
    ASSERT_TRUE(ImageSize(folder + animation.imageName.c_str(), &sheetWidth, &sheetHeight));
    EXPECT_EQ(animation.width, sheetWidth);
    EXPECT_EQ(animation.height, sheetHeight);

    ASSERT_FALSE(animation.frames.empty());
    for (size_t i = 0; i < animation.frames.size(); ++i) {
      const TAnimFrame& f = animation.frames[i];
      SCOPED_TRACE(i);
      EXPECT_GT(f.width, 0);
      EXPECT_GT(f.height, 0);
      EXPECT_GE(f.x, 0);
      EXPECT_GE(f.y, 0);
      EXPECT_LE(f.x + f.width, sheetWidth);
      EXPECT_LE(f.y + f.height, sheetHeight);
      EXPECT_TRUE(f.regX >= 0 && f.regX <= f.width && f.regY >= 0 && f.regY <= f.height);
    }
    EXPECT_EQ(animation.frames[0].regX, entry.regx);
    EXPECT_EQ(animation.frames[0].regY, entry.regy);
    EXPECT_EQ(animation.maxWidth, entry.width);
    EXPECT_EQ(animation.maxHeight, entry.height);
    const std::string script = animation.script.c_str();
    EXPECT_EQ(script.rfind("function DoAnim()", 0), 0u) << script;
  }
}

TEST(ArtSources, NoTwoAssetFilesDifferOnlyByCase) {
  std::map<std::string, std::string> seen;
  const std::filesystem::path root(TV_SOURCE_DIR "/assets");
  for (const auto& item : std::filesystem::recursive_directory_iterator(root)) {
    std::string relative = item.path().lexically_relative(root).generic_string();
    auto [at, added] = seen.emplace(Lower(relative), relative);
    EXPECT_TRUE(added) << relative << " and " << at->second;
  }
}

}  // namespace
