// Sound effects on a sound manager served by hand: a sound starts at the effect's first
// update and only then, one that plays once outlives its effect, a looping one stops when its
// effect is deleted, and a file's sound gives way to the game's when asked.
#include <gtest/gtest.h>

#include <string>

#include "game/fx/TEffectParams.h"
#include "game/fx/TSoundSpecialEffect.h"
#include "game/fx/TSpecialEffectList.h"
#include "tests/media/SoundFixture.h"

namespace {

class EffectSoundTest : public SoundTest {
 protected:
  int Load(const std::string& text, const TEffectParams* params) {
    return list.LoadFromMemory(text.data(), text.size(), params);
  }
  // Frames of 10 ms: the list is updated as the level does, the sound manager served.
  void Frames(int ms) {
    for (int t = 0; t < ms; t += 10) {
      list.Update(0.01f);
      Step(10);
    }
  }
  TSpecialEffectList list;
};

TEST_F(EffectSoundTest, ASoundThatPlaysOnceOutlivesItsEffect) {
  TEffectParams params;
  params.sound = Sound(ToneOgg(1.0));
  const int id = Load("sfx_list = { { type = 'sound', duration = 0.3 } }", &params);
  auto* effect = dynamic_cast<TSoundSpecialEffect*>(list.Find(id));
  ASSERT_NE(effect, nullptr);
  EXPECT_FALSE(effect->IsStarted());
  EXPECT_EQ(mManager->GetLiveCount(), 0);
  Frames(10);
  EXPECT_TRUE(effect->IsStarted());
  EXPECT_EQ(mManager->GetLiveCount(), 1);
  Frames(300);
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(mManager->GetLiveCount(), 1);  // still playing
}

TEST_F(EffectSoundTest, ALoopingSoundStopsWhenItsEffectIsDeleted) {
  TEffectParams params;
  params.sound = Sound(ToneOgg(0.2));
  // Ended by its duration, and deleted by Clear.
  Load("sfx_list = { { type = 'sound', looping = true, duration = 0.5 } }", &params);
  Frames(100);
  EXPECT_EQ(mManager->GetLiveCount(), 1);
  Frames(410);
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(mManager->GetLiveCount(), 0);

  Load("sfx_list = { { type = 'sound', looping = true } }", &params);
  Frames(1000);  // loops on past its own length
  EXPECT_EQ(mManager->GetLiveCount(), 1);
  list.Clear();
  Step(10);
  EXPECT_EQ(mManager->GetLiveCount(), 0);
}

TEST_F(EffectSoundTest, TheGamesSoundIsKeptOnlyWhenTheFileSaysSo) {
  TEffectParams params;
  params.sound = Sound(ToneOgg(0.1));
  const int kept = Load(
      "sfx_list = { { type = 'sound', override_sound_from_game = true, "
      "               sound_name = 'assets/audio/sfx/none.ogg' }, "
      "             { type = 'sound', sound_name = 'assets/audio/sfx/none.ogg' } }",
      &params);
  auto* keeping = dynamic_cast<TSoundSpecialEffect*>(list.Find(kept));
  auto* replacing = dynamic_cast<TSoundSpecialEffect*>(list.Find(kept + 1));
  ASSERT_NE(keeping, nullptr);
  ASSERT_NE(replacing, nullptr);
  EXPECT_EQ(keeping->GetSound(), params.sound);
  EXPECT_EQ(replacing->GetSound(), nullptr);  // the file's sound is missing
}

}  // namespace
