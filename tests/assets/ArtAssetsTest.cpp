// Every image and animation in the art manifest is in the built asset package under the name
// the game asks for, decodes at its listed size; every animation document reads with the engine's
// XML reader, names a sheet that exists, and keeps its frames inside that sheet; and no two asset
// files differ only by case, since names resolve without regard to case.
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

#include "tests/support/TempDir.h"
#include "tvlib/core/TFile.h"
#include "tvlib/core/TFileIndex.h"
#include "tvlib/core/TXmlNode.h"
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
  std::ifstream in(TV_SOURCE_DIR "/tools/art/manifest.csv");
  std::vector<ArtEntry> entries;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields;
    std::stringstream row(line);
    for (std::string field; std::getline(row, field, ',');) fields.push_back(field);
    if (fields.size() != 9) continue;
    entries.push_back({fields[0], fields[1], fields[2] == "animation", std::atoi(fields[3].c_str()),
                       std::atoi(fields[4].c_str()), std::atoi(fields[5].c_str()),
                       std::atoi(fields[6].c_str())});
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

int IntAttribute(const TXmlNode* node, const char* name) {
  return std::atoi(node->GetAttribute(TString(name)).c_str());
}

class ArtAssets : public ::testing::Test {
 protected:
  void SetUp() override {
    SetProgramFolder(TV_GAME_DIR "/");
    SetDataFolders(mUser.Path().c_str(), mUser.Path().c_str());
    ClearFileIndex();
    MountFileSystem();
  }

  static std::string Read(const std::string& file) {
    std::string bytes;
    EXPECT_TRUE(FileReadAll(("assets/" + file).c_str(), 0, 16 << 20, &bytes)) << file;
    return bytes;
  }

  TTempDir mUser;
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
    std::string text = Read(entry.file);
    TXmlNode document;
    document.LoadBuffer(text.data(), text.size());
    const TXmlNode* sequence = document.FindChild(TString("sequence"));
    ASSERT_NE(sequence, nullptr);
    const TXmlNode* img = sequence->FindChild(TString("img"));
    const TXmlNode* list = sequence->FindChild(TString("framelist"));
    ASSERT_NE(img, nullptr);
    ASSERT_NE(list, nullptr);
    std::string folder = entry.file.substr(0, entry.file.find_last_of('/') + 1);
    int sheetWidth = 0, sheetHeight = 0;
    ASSERT_TRUE(
        ImageSize(folder + img->GetAttribute(TString("name")).c_str(), &sheetWidth, &sheetHeight));
    EXPECT_EQ(IntAttribute(img, "w"), sheetWidth);
    EXPECT_EQ(IntAttribute(img, "h"), sheetHeight);

    int frames = 0, widest = 0, tallest = 0;
    for (int i = 0; i < list->GetChildCount(); ++i) {
      TString name;
      TXmlNode* frame = nullptr;
      const_cast<TXmlNode*>(list)->GetNextChild(&name, &frame);
      if (std::string(name.c_str()) != "frame") continue;
      SCOPED_TRACE(frames);
      int x = IntAttribute(frame, "x"), y = IntAttribute(frame, "y");
      int w = IntAttribute(frame, "w"), h = IntAttribute(frame, "h");
      int regx = IntAttribute(frame, "regx"), regy = IntAttribute(frame, "regy");
      EXPECT_GT(w, 0);
      EXPECT_GT(h, 0);
      EXPECT_GE(x, 0);
      EXPECT_GE(y, 0);
      EXPECT_LE(x + w, sheetWidth);
      EXPECT_LE(y + h, sheetHeight);
      EXPECT_TRUE(regx >= 0 && regx <= w && regy >= 0 && regy <= h);
      if (frames == 0) {
        EXPECT_EQ(regx, entry.regx);
        EXPECT_EQ(regy, entry.regy);
      }
      widest = std::max(widest, w);
      tallest = std::max(tallest, h);
      ++frames;
    }
    EXPECT_GT(frames, 0);
    if (const TXmlNode* script = sequence->FindChild(TString("script"))) {
      std::string text = script->GetText().c_str();
      EXPECT_EQ(text.rfind("function DoAnim()", 0), 0u) << text;
      EXPECT_NE(text.find("frames{"), std::string::npos) << text;
    }
    EXPECT_EQ(widest, entry.width);
    EXPECT_EQ(tallest, entry.height);
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
