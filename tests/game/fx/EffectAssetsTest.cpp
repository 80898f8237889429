// The room's effect files as the game packs them: each loads from the built asset package
// with every image, particle script, font, sound and label it names, draws, and ends by
// itself within a few seconds.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "game/fx/TEffectParams.h"
#include "game/fx/TParticleSpecialEffect.h"
#include "game/fx/TSpecialEffectList.h"
#include "game/fx/TSpriteSpecialEffect.h"
#include "game/fx/TTextSpecialEffect.h"
#include "tests/support/MountedGameFolder.h"
#include "tvlib/app/TAppPlatform.h"
#include "tvlib/app/TPlatformData.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TFileIndex.h"
#include "tvlib/core/TStringTable.h"
#include "tvlib/media/TLuaParticleSystem.h"
#include "tvlib/platform/headless/THeadlessPresenter.h"
#include "tvlib/render/TDx3dDisplayHandler.h"

namespace {

class EffectAssetsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    data.stringTable->Load("strings.xml");
    auto presenter = std::make_unique<sd::THeadlessPresenter>(sd::TDisplayMode{1920, 1080, 32});
    platform.SetDisplayHandler(new TDx3dDisplayHandler(std::move(presenter), &platform));
    platform.InitDisplay(800, 600, false);
  }
  void TearDown() override {
    list.Clear();
    platform.SetDisplayHandler(nullptr);
  }

  TMountedGameFolder game;
  TPlatformData data;
  TAppPlatform platform{&data};
  TSpecialEffectList list;
};

TEST_F(EffectAssetsTest, TheRoomsEffectFilesLoadWholeAndEndByThemselves) {
  const char* files[] = {"fx/fx_guest_ready_to_dance.lua", "fx/fx_steam.lua",
                         "fx/fx_bridezilla.lua", "fx/fx_kiss.lua", "fx/fx_goal_reached.lua"};
  for (const char* file : files) {
    TEffectParams params;  // as the guest gives its position
    params.position = TVec2(300, 400);
    const int base = list.Load(file, &params);
    ASSERT_GT(list.GetCount(), 0) << file;
    for (int id = base; list.Find(id); ++id) {
      TSpecialEffect* effect = list.Find(id);
      if (auto* particles = dynamic_cast<TParticleSpecialEffect*>(effect)) {
        ASSERT_NE(particles->GetSystem(), nullptr) << file;
        EXPECT_GT(particles->GetSystem()->GetParticleSize().x, 1.0f) << file << ": no texture";
      }
      if (auto* sprite = dynamic_cast<TSpriteSpecialEffect*>(effect)) {
        EXPECT_NE(sprite->GetTexture(), nullptr) << file;
      }
      if (auto* text = dynamic_cast<TTextSpecialEffect*>(effect)) {
        EXPECT_EQ(text->GetText().Find("#####"), -1) << file << ": " << text->GetText().c_str();
      }
    }
    // A few seconds of frames: every effect of the file draws and ends.
    for (int frame = 0; frame < 400 && list.GetCount() > 0; ++frame) {
      list.Update(0.02f);
      ASSERT_TRUE(platform.BeginFrame(false));
      ASSERT_TRUE(platform.Begin2d());
      list.Draw(1.0f);
      platform.End2d();
      platform.EndFrame(false);
    }
    EXPECT_EQ(list.GetCount(), 0) << file << " still runs after 8 seconds";
    list.Clear();
  }
  const std::string log = ReadWholeFile(GetLogPath().c_str());
  for (const char* failure : {"cannot", "no image", "no sound", "Font not found", "rror"})
    EXPECT_EQ(log.find(failure), std::string::npos) << log;
}

}  // namespace
