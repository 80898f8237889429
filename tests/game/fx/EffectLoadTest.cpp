// Loading effect files: ids and groups, the defaults of the parameters and of each kind,
// values taken from the game, the speed to a target, randomised rotation, text outlines and
// labels, sounds that fail softly, and malformed files refused with a log line.
#include <gtest/gtest.h>

#include <string>

#include "game/fx/TSoundSpecialEffect.h"
#include "game/fx/TSpriteSpecialEffect.h"
#include "game/fx/TTextSpecialEffect.h"
#include "tests/game/fx/EffectFixture.h"
#include "tvlib/core/TRandom.h"
#include "tvlib/core/TStringTable.h"

namespace {

using EffectLoadTest = EffectTest;

TEST_F(EffectLoadTest, EachLoadStartsAGroupAtTheNextHundredAndSkipsUnknownKinds) {
  const int first = Load(
      "sfx_list = { { type = 'sprite' }, { type = 'smoke' }, { type = 'sound' }, "
      "             { type = 'text' }, 'not an entry' }");
  EXPECT_EQ(first % 100, 0);
  EXPECT_NE(list.Find(first), nullptr);
  EXPECT_NE(dynamic_cast<TSoundSpecialEffect*>(list.Find(first + 1)), nullptr);
  EXPECT_NE(dynamic_cast<TTextSpecialEffect*>(list.Find(first + 2)), nullptr);
  EXPECT_EQ(list.Find(first + 3), nullptr);
  EXPECT_EQ(list.GetCount(), 3);

  // A group of more than 100 effects runs past the next hundred; the next load skips it.
  const int big = Load("sfx_list = {} for i = 1, 150 do sfx_list[i] = { type = 'sprite' } end");
  EXPECT_EQ(big, first + 100);
  EXPECT_NE(list.Find(big + 149), nullptr);
  EXPECT_EQ(Load("sfx_list = {}"), big + 200);
  // Another list shares the counter.
  TSpecialEffectList other;
  EXPECT_EQ(other.LoadFromMemory("", 0, nullptr), big + 300);
}

TEST_F(EffectLoadTest, ParamsAndEntriesStartFromTheirDefaults) {
  const TEffectParams params;
  EXPECT_EQ(params.duration, -1.0f);
  EXPECT_EQ(params.alpha, 1.0f);
  EXPECT_EQ(params.velocity, 0.0f);
  EXPECT_EQ(params.rotationSpeed, 0.0f);
  EXPECT_EQ(params.startScale, 1.0f);
  EXPECT_EQ(params.endScale, 1.0f);
  EXPECT_EQ(params.outlineSize, 0);
  EXPECT_EQ(params.followedPosition, nullptr);
  EXPECT_EQ(params.texture, nullptr);

  const TSpecialEffect* sprite = LoadOne("{ type = 'sprite' }");
  ASSERT_NE(sprite, nullptr);
  EXPECT_EQ(sprite->GetDuration(), -1.0f);
  EXPECT_EQ(sprite->GetFadeOutPoint(), 0.0f);
  EXPECT_EQ(sprite->GetRotationSpeed(), 0.0f);
  EXPECT_EQ(sprite->GetPulseInterval(), -1.0f);
  EXPECT_EQ(sprite->GetTimeoutLength(), -1.0f);
  EXPECT_EQ(sprite->GetBaseAlpha(), 1.0f);
  EXPECT_FALSE(sprite->GetUseOffset());

  const auto* sound = dynamic_cast<TSoundSpecialEffect*>(LoadOne("{ type = 'sound' }"));
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(sound->GetDuration(), 5.0f);
  EXPECT_FALSE(sound->IsLooping());

  const auto* text = dynamic_cast<TTextSpecialEffect*>(LoadOne("{ type = 'text' }"));
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->GetFontSize(), 30);
  EXPECT_EQ(text->GetColor()[0], 1.0f);
  EXPECT_EQ(text->GetColor()[3], 1.0f);
  EXPECT_EQ(text->GetOutlineSize(), 0);
  EXPECT_NE(text->GetBlock(), nullptr);
}

TEST_F(EffectLoadTest, MalformedFilesAddNothingAndAreLogged) {
  struct Case {
    std::string bytes;
    const char* logged;
  };
  const Case cases[] = {
      {"sfx_list = {", "cannot run '(memory)'"},
      {"error('broken effect')", "broken effect"},
      {std::string("\x1bLua\x50\x01garbage", 12), "cannot run '(memory)'"},
      {"sfx_list = 5", "has no table sfx_list"},
      {"effects = {}", "has no table sfx_list"},
  };
  for (const Case& c : cases) {
    const int base = Load(c.bytes);
    EXPECT_EQ(base % 100, 0) << c.bytes;
    EXPECT_EQ(list.GetCount(), 0) << c.bytes;
    EXPECT_TRUE(Logged(c.logged)) << c.bytes;
  }
  // A missing file still starts a group, an empty one.
  const int base = list.Load("fx/fx_missing.lua", nullptr);
  EXPECT_EQ(base % 100, 0);
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_TRUE(Logged("cannot load 'fx/fx_missing.lua'"));
  // Entries that are no tables, or of no kind, are passed over without harm.
  Load("sfx_list = { 1, 'x', { type = 7 }, { type = { } }, [1e300] = { type = 'sprite' } }");
  EXPECT_EQ(list.GetCount(), 0);
}

TEST_F(EffectLoadTest, AnEffectFileIsFoundAmongTheAssets) {
  PutFile("fx/fx_two.lua", "sfx_list = { { type = 'sprite' }, { type = 'sound' } }");
  const int base = list.Load("fx/fx_two.lua", nullptr);
  EXPECT_NE(list.Find(base + 1), nullptr);
  EXPECT_EQ(list.GetCount(), 2);
}

TEST_F(EffectLoadTest, FromGameTakesTheCallersValuesAndKeepsThemWithoutParams) {
  const std::string entry =
      "{ type = 'sprite', position = 'fromgame', rotation = 'fromgame', "
      "  start_scale = 'fromgame', end_scale = 'fromgame', rotation_speed = 'fromgame' }";
  TEffectParams params;
  params.position = TVec2(10, 20);
  params.rotation = 30;
  params.startScale = 2;
  params.endScale = 3;
  params.rotationSpeed = 45;
  params.positionOffset = TVec2(1, 2);
  const TSpecialEffect* given = LoadOne(entry, &params);
  ASSERT_NE(given, nullptr);
  EXPECT_EQ(given->GetPosition().x, 10.0f);
  EXPECT_EQ(given->GetPosition().y, 20.0f);
  EXPECT_EQ(given->GetRotation(), 30.0f);
  EXPECT_EQ(given->GetStartScale(), 2.0f);
  EXPECT_EQ(given->GetEndScale(), 3.0f);
  EXPECT_EQ(given->GetRotationSpeed(), 45.0f);
  EXPECT_EQ(given->GetPositionOffset().y, 2.0f);
  EXPECT_FALSE(given->GetUseOffset());

  const TSpecialEffect* plain = LoadOne(entry);
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(plain->GetPosition().x, 0.0f);
  EXPECT_EQ(plain->GetRotation(), 0.0f);
  EXPECT_EQ(plain->GetStartScale(), 1.0f);
  EXPECT_EQ(plain->GetRotationSpeed(), 0.0f);

  // A followed position is read again on every update; an offset table turns the offset on.
  TVec2 guest(100, 200);
  params.followedPosition = &guest;
  TSpecialEffect* follower =
      LoadOne("{ type = 'particles', position = 'fromgame', position_offset = { x = 5, y = -7 } }",
              &params);
  ASSERT_NE(follower, nullptr);
  EXPECT_TRUE(follower->GetUseOffset());
  guest = TVec2(150, 250);
  Run(10);
  EXPECT_EQ(follower->GetPosition().x, 150.0f);
  EXPECT_EQ(follower->DrawPoint(nullptr).y, 243.0f);
}

TEST_F(EffectLoadTest, SpeedToATargetSetsTheDurationUnlessTheCallerGivesOne) {
  struct Case {
    const char* kind;
    TVec2 target;
    float velocity;
    float callerDuration;
    float duration;  // expected
    float speedX;    // expected velocity
  };
  const Case cases[] = {
      {"sprite", {200, 0}, 100, -1, 2.0f, 100},    {"sprite", {200, 0}, 100, 3, 3.0f, 100},
      {"text", {200, 0}, 100, 3, 2.0f, 100},        // texts keep what the velocity gives
      {"sprite", {0, 0}, 100, -1, 7.0f, 0},         // already there: still, the duration stays
      {"sprite", {200, 0}, 0.00001f, -1, 7.0f, 0},  // no speed to speak of
  };
  for (const Case& c : cases) {
    TEffectParams params;
    params.targetPosition = c.target;
    params.velocity = c.velocity;
    params.duration = c.callerDuration;
    const TSpecialEffect* effect = LoadOne(std::string("{ type = '") + c.kind +
                                               "', position = 'fromgame', duration = 7, "
                                               "velocity = 'fromgame' }",
                                           &params);
    ASSERT_NE(effect, nullptr) << c.kind;
    EXPECT_FLOAT_EQ(effect->GetDuration(), c.duration) << c.kind << " " << c.velocity;
    EXPECT_FLOAT_EQ(effect->GetVelocity().x, c.speedX) << c.kind << " " << c.velocity;
    EXPECT_EQ(effect->GetVelocity().x, effect->GetVelocity().x);  // never NaN
  }
}

TEST_F(EffectLoadTest, RandomisedRotationDrawsFromTheSpeedsRange) {
  struct Case {
    float speed;
    float lo, hi;
  };
  const Case cases[] = {
      {0.0f, 0, 0}, {0.5f, 0, 0}, {-0.9f, 0, 0}, {90.0f, -90, 89}, {-40.0f, -40, 39}};
  for (const Case& c : cases) {
    for (uint32_t seed = 1; seed < 50; ++seed) {
      TvSrand(seed);
      TSpriteSpecialEffect effect;
      effect.SetRotationSpeed(c.speed, true);
      EXPECT_GE(effect.GetRotationSpeed(), c.lo) << c.speed;
      EXPECT_LE(effect.GetRotationSpeed(), c.hi) << c.speed;
    }
  }
  TvSrand(1);  // first value 41
  TSpriteSpecialEffect effect;
  effect.SetRotationSpeed(90.0f, true);
  EXPECT_EQ(effect.GetRotationSpeed(), 41.0f - 90.0f);
}

TEST_F(EffectLoadTest, TextsTakeOutlineMarkupAndLabelsFromTheStringTable) {
  TEffectParams params;
  params.text = "Hi";
  params.outlineSize = 3;
  params.outlineColor[0] = 1.0f;
  params.outlineColor[1] = 0.5f;
  params.outlineColor[2] = 0.0f;
  const auto* fromGame = dynamic_cast<TTextSpecialEffect*>(
      LoadOne("{ type = 'text', outline = 'fromgame' }", &params));
  ASSERT_NE(fromGame, nullptr);
  EXPECT_EQ(fromGame->GetText(), "<outline color='ff7f00' size='3'>Hi</outline>");

  const std::string workbook =
      "<Row><Cell><Data>fxHello</Data></Cell><Cell><Data>Hello there</Data></Cell></Row>";
  data.stringTable->LoadBuffer(workbook.data(), workbook.size());
  const auto* labelled = dynamic_cast<TTextSpecialEffect*>(
      LoadOne("{ type = 'text', text = 'fxHello', outline = 2.7, font_size = 22.9, "
              "  color = { r = 0.5 } }",
              &params));
  ASSERT_NE(labelled, nullptr);
  EXPECT_EQ(labelled->GetText(), "<outline color='000000' size='2'>Hello there</outline>");
  EXPECT_EQ(labelled->GetFontSize(), 22);
  EXPECT_EQ(labelled->GetColor()[0], 0.5f);
  EXPECT_EQ(labelled->GetColor()[1], 1.0f);

  // Without an outline the text stands as it is; without a label the caller's text stays.
  const auto* bare = dynamic_cast<TTextSpecialEffect*>(LoadOne("{ type = 'text' }", &params));
  ASSERT_NE(bare, nullptr);
  EXPECT_EQ(bare->GetText(), "Hi");
}

TEST_F(EffectLoadTest, AMissingSoundFailsSoftlyAndEndsTheEffectAtOnce) {
  const int base = Load(
      "sfx_list = { { type = 'sound', sound_name = 'assets/audio/sfx/none.ogg' }, "
      "             { type = 'sound' } }");
  ASSERT_EQ(list.GetCount(), 2);
  EXPECT_TRUE(Logged("no sound 'assets/audio/sfx/none.ogg'"));
  Run(10);
  EXPECT_EQ(list.Find(base), nullptr);
  EXPECT_EQ(list.GetCount(), 0);
}

}  // namespace
