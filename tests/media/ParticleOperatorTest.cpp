// Particle operators: what each computes for given parameters, the key walks, the guards on
// degenerate parameters, and the shared generator against its published sequence.
#include <gtest/gtest.h>

#include <memory>

#include "tvlib/media/TMersenneTwister.h"
#include "tvlib/media/TParticleOperators.h"
#include "tvlib/media/TParticleRandom.h"
#include "tvlib/script/TLuaTable.h"
#include "tvlib/script/TScript.h"

namespace {

// Operators made the way scripts make them: a type name and an argument table in Lua.
class Operators : public ::testing::Test {
 protected:
  std::unique_ptr<TProcessValue> Make(const char* type, const char* args) {
    for (const TProcessType& t : GetProcessTypes()) {
      if (TString(type) == t.name) {
        std::unique_ptr<TProcessValue> op(t.create());
        mScript.DoLuaString((TString("gArgs = ") + args).c_str());
        lua_State* L = mScript.GetState();
        lua_pushstring(L, "gArgs");
        lua_gettable(L, LUA_GLOBALSINDEX);
        TLuaTable table(L);
        op->Init(table);
        return op;
      }
    }
    ADD_FAILURE() << "no operator " << type;
    return nullptr;
  }
  TScript mScript;
};

TParticle ParticleAged(int age) {
  TParticle p{};
  p.age = age;
  p.scale = 1;
  return p;
}

TEST_F(Operators, KeyWalksInterpolateAndHoldAfterTheLastKey) {
  auto scale = Make("fScale", "{1, 1000, 3}");
  TParticle p = ParticleAged(250);
  scale->Run(p, kFieldScale, 0);
  EXPECT_FLOAT_EQ(p.scale, 1.5f);
  p = ParticleAged(1000);
  p.scale = 7;
  scale->Run(p, kFieldScale, 0);
  EXPECT_FLOAT_EQ(p.scale, 7) << "after the last key the field is left alone";

  auto stopped = Make("fScale", "{1, 1000, 3, 0, 9}");  // a zero duration ends the list at 3
  p = ParticleAged(1500);
  p.scale = 7;
  stopped->Run(p, kFieldScale, 0);
  EXPECT_FLOAT_EQ(p.scale, 7);

  auto fade = Make("cFade", "{{1, 1, 1, 1}, 1000, {0, 0, 0, 0}}");
  p = ParticleAged(500);
  fade->Run(p, kFieldColour, 0);
  EXPECT_EQ(p.colour.GetAlpha(), 127);
  EXPECT_EQ(p.colour.GetRed(), 127);
}

TEST_F(Operators, WholeParticleJudgements) {
  struct Case {
    const char* type;
    const char* args;
    int age;
    float y;
    bool lives;
  } cases[] = {
      {"expire", "{1000}", 1000, 0, true},
      {"expire", "{1000}", 1001, 0, false},
      {"clipy", "{600}", 0, 600.0f, true},
      {"clipy", "{600}", 0, 600.5f, false},
  };
  for (const Case& c : cases) {
    auto op = Make(c.type, c.args);
    TParticle p = ParticleAged(c.age);
    p.position.y = c.y;
    EXPECT_EQ(op->Run(p, kFieldPosition, 0), c.lives) << c.type << " age " << c.age << " y " << c.y;
  }
}

TEST_F(Operators, MotionAndRotation) {
  auto move = Make("move", "{}");
  TParticle p = ParticleAged(0);
  p.velocity = TVec3(100, -50, 0);
  move->Run(p, kFieldPosition, 500);
  EXPECT_FLOAT_EQ(p.position.x, 50);
  EXPECT_FLOAT_EQ(p.position.y, -25);

  auto gravity = Make("vAdd", "{{0, 200, 0}}");
  gravity->Run(p, kFieldVelocity, 250);
  EXPECT_FLOAT_EQ(p.velocity.y, 0);

  // b = 0: extra1 plays no part; a quarter turn in 250 ms at one turn a second.
  auto rotate = Make("vRotate", "{1, 0}");
  p.extra1 = 5;
  p.up = TVec3(0, -1, 0);
  rotate->Run(p, kFieldUp, 250);
  EXPECT_NEAR(p.up.x, -1, 1e-6);
  EXPECT_NEAR(p.up.y, 0, 1e-6);
}

TEST_F(Operators, DegenerateParametersLeaveTheFieldUnchanged) {
  TParticle p = ParticleAged(3);
  p.up = TVec3(0.5f, 0.25f, 0);
  Make("vOscillate", "{{1, 1, 1}, {2, 2, 2}, 1}")->Run(p, kFieldUp, 0);
  EXPECT_EQ(p.up.x, 0.5f);
  Make("vNormalizeVelocity", "{{1, 1, 1}}")->Run(p, kFieldUp, 0);  // velocity is zero
  EXPECT_EQ(p.up.y, 0.25f);
  p.colour = TColor32(0x11223344u);
  Make("cSelect", "{}")->Run(p, kFieldColour, 0);
  EXPECT_EQ(p.colour.GetValue(), 0x11223344u);
  p.up = TVec3(0, 0, 0);
  Make("vRotate", "{1, 2}")->Run(p, kFieldUp, 100);
  EXPECT_EQ(p.up.x, 0.0f);
  EXPECT_EQ(p.up.y, 0.0f);
}

TEST_F(Operators, RangesStayInsideTheirBounds) {
  ParticleRandom::Acquire();
  auto range = Make("iRange", "{1, 3}");
  bool seen[4] = {};
  for (int i = 0; i < 300; ++i) {
    TParticle p = ParticleAged(0);
    range->Run(p, kFieldFrame, 0);
    ASSERT_GE(p.frame, 1);
    ASSERT_LE(p.frame, 3);
    seen[p.frame] = true;
  }
  EXPECT_TRUE(seen[1] && seen[2] && seen[3]);
  EXPECT_EQ(ParticleRandom::RandomRange(5, 5), 5);
  EXPECT_EQ(ParticleRandom::RandomRange(9, 2), 9) << "a high bound below the low one answers low";
  ParticleRandom::Release();
}

TEST(MersenneTwister, MatchesThePublishedSequences) {
  TMersenneTwister bySeed(5489u);
  for (uint32_t expected : {3499211612u, 581869302u, 3890346734u, 3586334585u, 545404204u})
    EXPECT_EQ(bySeed.Next(), expected);
  TMersenneTwister byArray;
  const uint32_t key[] = {0x123, 0x234, 0x345, 0x456};
  byArray.SeedArray(key, 4);
  for (uint32_t expected : {1067595299u, 955945823u, 477289528u, 4107218783u, 4228976476u})
    EXPECT_EQ(byArray.Next(), expected);
}

}  // namespace
