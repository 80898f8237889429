// Each kind's life against the engine clock: durations, the fade after the fade-out point,
// scale over the life and the pulse, particle effects that end with their script, time-outs
// over a group and the ends of effects that must not divide by zero.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "game/fx/TParticleSpecialEffect.h"
#include "tests/game/fx/EffectFixture.h"

namespace {

using EffectTimingTest = EffectTest;

TEST_F(EffectTimingTest, ASpriteFadesLinearlyAfterItsFadeOutPoint) {
  const int id = Load(
      "sfx_list = { { type = 'sprite', duration = 2, fadeout_point = 0.5, "
      "               start_scale = 1, end_scale = 3 } }");
  const TSpecialEffect* sprite = list.Find(id);
  ASSERT_NE(sprite, nullptr);
  struct Sample {
    int ms;  // since the load
    float alpha, scale;
  };
  const Sample samples[] = {{0, 1.0f, 1.0f},
                            {500, 1.0f, 1.5f},
                            {1000, 1.0f, 2.0f},
                            {1500, 0.5f, 2.5f},
                            {1900, 0.1f, 2.9f}};
  int at = 0;
  for (const Sample& s : samples) {
    Run(s.ms - at);
    at = s.ms;
    EXPECT_NEAR(sprite->CurrentAlpha(), s.alpha, 1e-3) << s.ms;
    EXPECT_NEAR(sprite->CurrentScale(true), s.scale, 1e-3) << s.ms;
  }
  Run(90);
  EXPECT_NE(list.Find(id), nullptr);
  Run(20);  // the frame past 2 seconds
  EXPECT_EQ(list.Find(id), nullptr);
}

TEST_F(EffectTimingTest, APulsingSpriteSwingsAboutItsStartScale) {
  const TSpecialEffect* sprite = LoadOne(
      "{ type = 'sprite', pulse_interval = 0.5, start_scale = 1, end_scale = 2, duration = 10 }");
  ASSERT_NE(sprite, nullptr);
  float lo = 10, hi = 0;
  for (int frame = 0; frame < 400; ++frame) {
    Run(10);
    lo = std::min(lo, sprite->CurrentScale(true));
    hi = std::max(hi, sprite->CurrentScale(true));
  }
  EXPECT_NEAR(lo, 0.5f, 1e-3);
  EXPECT_NEAR(hi, 1.5f, 1e-3);
  // The text kind does not pulse: it scales over its life.
  EXPECT_NEAR(sprite->CurrentScale(false), 1.4f, 1e-3);
}

TEST_F(EffectTimingTest, ATextUsesItsLifeRatioAndEndsWithItsDuration) {
  const int id = Load(
      "sfx_list = { { type = 'text', duration = 1, fadeout_point = 0.5, rotation_speed = 90 } }");
  const TSpecialEffect* text = list.Find(id);
  ASSERT_NE(text, nullptr);
  Run(750);
  EXPECT_NEAR(text->CurrentAlpha(), 0.5f, 1e-3);
  EXPECT_NEAR(text->GetRotation(), 67.5f, 1e-3);
  Run(260);
  EXPECT_EQ(list.Find(id), nullptr);
}

TEST_F(EffectTimingTest, AParticleEffectEndsWhenItsScriptIsDone) {
  const std::string script =
      "t = 0 function Init() SetNumParticles(4) end "
      "function Update(ms) t = t + ms if t >= 300 then SetDone() end end";
  const int id = Load("sfx_list = { { type = 'particles', particles_script = [[" + script +
                      "]], velocity = 'fromgame' }, { type = 'particles' } }");
  auto* particles = dynamic_cast<TParticleSpecialEffect*>(list.Find(id));
  ASSERT_NE(particles, nullptr);
  ASSERT_NE(particles->GetSystem(), nullptr);
  Run(290);
  EXPECT_NE(list.Find(id), nullptr);
  Run(10);
  EXPECT_EQ(list.Find(id), nullptr);
  // Without a system an effect lives on until a time-out ends it.
  Run(5000);
  ASSERT_NE(list.Find(id + 1), nullptr);
  list.SetTimeout(id + 1, 0.5f);
  Run(510);
  EXPECT_EQ(list.GetCount(), 0);
}

TEST_F(EffectTimingTest, ATimeoutFadesAGroupAndRemovesIt) {
  const int id = Load(
      "sfx_list = { { type = 'sprite' }, { type = 'text', duration = 30 }, "
      "             { type = 'particles' } }");
  list.SetTimeout(id, 1.0f);
  Run(500);
  ASSERT_EQ(list.GetCount(), 3);
  EXPECT_NEAR(list.Find(id)->CurrentAlpha(), 0.5f, 1e-3);
  EXPECT_NEAR(list.Find(id + 1)->CurrentAlpha(), 0.5f * 29.5f / 30.0f, 1e-3);
  Run(510);
  EXPECT_EQ(list.GetCount(), 0);

  // The time-out stops at the first id without an effect, and after 100 ids.
  const int gap = Load(
      "sfx_list = { { type = 'sprite' }, { type = 'sprite', duration = 0.05 }, "
      "             { type = 'sprite' } }");
  Run(100);
  list.SetTimeout(gap, 0.2f);
  const int big = Load("sfx_list = {} for i = 1, 120 do sfx_list[i] = { type = 'sprite' } end");
  list.SetTimeout(big, 0.2f);
  Run(300);
  EXPECT_EQ(list.Find(gap), nullptr);
  EXPECT_NE(list.Find(gap + 2), nullptr);
  EXPECT_EQ(list.Find(big + 99), nullptr);
  EXPECT_NE(list.Find(big + 100), nullptr);
  EXPECT_EQ(list.GetCount(), 21);
  // On a group already gone it changes nothing.
  list.SetTimeout(big, 0.1f);
  Run(200);
  EXPECT_EQ(list.GetCount(), 21);
}

TEST_F(EffectTimingTest, ZeroLengthsEndAtOnceWithoutDividingByZero) {
  const int id = Load(
      "sfx_list = { { type = 'sprite', duration = 0, start_scale = 1, end_scale = 2, "
      "               fadeout_point = 0.5 }, "
      "             { type = 'text', duration = 0 }, { type = 'sound', duration = 0 }, "
      "             { type = 'sprite', fadeout_point = 1 } }");
  for (int i = 0; i < 3; ++i) {
    const TSpecialEffect* effect = list.Find(id + i);
    ASSERT_NE(effect, nullptr);
    EXPECT_FALSE(effect->IsVisible());
    EXPECT_EQ(effect->CurrentAlpha(), 0.0f);
    const float scale = effect->CurrentScale(true);
    EXPECT_EQ(scale, scale);  // not NaN
  }
  TSpecialEffect* endless = list.Find(id + 3);
  endless->SetTimeout(0.0f);
  EXPECT_EQ(endless->CurrentAlpha(), 0.0f);
  Run(10);
  EXPECT_EQ(list.GetCount(), 0);
}

TEST_F(EffectTimingTest, EffectsWithoutADurationLastAndClearDeletesThem) {
  const int id = Load("sfx_list = { { type = 'sprite', start_scale = 1, end_scale = 4 } }");
  Run(60000, 100);
  const TSpecialEffect* sprite = list.Find(id);
  ASSERT_NE(sprite, nullptr);
  EXPECT_EQ(sprite->CurrentScale(true), 1.0f);
  EXPECT_EQ(sprite->CurrentAlpha(), 1.0f);
  list.Clear();
  EXPECT_EQ(list.GetCount(), 0);
}

}  // namespace
