// Particle operators: what each computes for given parameters (one seeded table over every
// operator), the key walks, the guards on degenerate parameters, and the shared generator
// against its published sequence.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

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

// A field of a particle as numbers: a vector's x, y, z; a colour's alpha, red, green, blue.
std::vector<double> FieldValues(const TParticle& p, TParticleField field) {
  auto vec = [](const TVec3& v) { return std::vector<double>{v.x, v.y, v.z}; };
  switch (field) {
    case kFieldPosition:
      return vec(p.position);
    case kFieldVelocity:
      return vec(p.velocity);
    case kFieldUp:
      return vec(p.up);
    case kFieldColour:
      return {double(p.colour.GetAlpha()), double(p.colour.GetRed()), double(p.colour.GetGreen()),
              double(p.colour.GetBlue())};
    case kFieldScale:
      return {p.scale};
    case kFieldAge:
      return {double(p.age)};
    case kFieldFrame:
      return {double(p.frame)};
    default:
      return {};
  }
}

// Every operator's formula on a seeded generator: u[0], u[1] ... are its draws in order.
TEST_F(Operators, EachOperatorComputesItsFormula) {
  constexpr uint32_t kSeed = 5489u;
  TMersenneTwister reference(kSeed);
  std::vector<double> u;
  for (int i = 0; i < 4; ++i) u.push_back(static_cast<float>(reference.Next() * 0x1p-32));
  const double pi = 3.14159265358979323846;
  struct Case {
    const char* type;
    const char* args;
    TParticleField field;
    int ms;
    std::function<void(TParticle&)> setUp;
    std::vector<double> expected;
  };
  const auto none = [](TParticle&) {};
  const Case cases[] = {
      {"vConstant", "{{1, 2, 3}}", kFieldPosition, 0, none, {1, 2, 3}},
      {"vRange",
       "{{0, 0, 5}, {10, 20, 35}}",
       kFieldPosition,
       0,
       none,
       {10 * u[2], 20 * u[1], 5 + 30 * u[0]}},
      {"iConstant", "{7}", kFieldFrame, 0, none, {7}},
      {"iAge", "{}", kFieldAge, 40, [](TParticle& p) { p.age = 100; }, {140}},
      {"iRange", "{1, 3}", kFieldFrame, 0, none, {1 + std::trunc(u[0] * 3)}},
      {"cConstant", "{{1, 0.5, 0, 0.25}}", kFieldColour, 0, none, {63, 255, 127, 0}},
      {"cRange",
       "{{0, 0, 0, 0}, {1, 1, 1, 1}}",
       kFieldColour,
       0,
       none,
       {std::trunc(u[0] * 256), std::trunc(u[1] * 256), std::trunc(u[2] * 256),
        std::trunc(u[3] * 256)}},
      // u[0] is 0.81...: the third colour.
      {"cSelect",
       "{{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}}",
       kFieldColour,
       0,
       none,
       {255, 0, 0, 255}},
      {"fConstant", "{2.5}", kFieldScale, 0, none, {2.5}},
      {"fRange", "{1, 3}", kFieldScale, 0, none, {1 + 2 * u[0]}},
      {"vNormalizeVelocity",
       "{{2, 3, 4}}",
       kFieldUp,
       0,
       [](TParticle& p) { p.velocity = TVec3(3, -4, 9); },
       {-1.2, 2.4, 0}},
      {"vRadius",
       "{5, {10, 20, 30}}",
       kFieldPosition,
       0,
       none,
       {10 + 5 * std::cos(2 * pi * u[0]), 20 + 5 * std::sin(2 * pi * u[0]), 30}},
      {"vOscillate",
       "{{1, 1, 1}, {3, 5, 7}, 101}",
       kFieldUp,
       0,
       [](TParticle& p) {
         p.up = TVec3(0.5f, 1, 2);
         p.age = 151;  // (151 mod 101) / 100 = half a period: cos = -1
       },
       {1 - 0.5 * 2, 1 - 1 * 4, 1 - 2}},
      {"vAdd",
       "{{10, -20, 0}}",
       kFieldVelocity,
       500,
       [](TParticle& p) { p.velocity = TVec3(1, 1, 1); },
       {6, -9, 1}},
      {"vRotate",
       "{1, 3}",
       kFieldUp,
       125,
       [](TParticle& p) {
         p.extra1 = 0.5f;  // 0.5 x (3 - 1) + 1 = 2 turns a second: a quarter in 125 ms
         p.up = TVec3(2, 0, 7);
       },
       {0, -1, 7}},
      {"move",
       "{}",
       kFieldPosition,
       100,
       [](TParticle& p) {
         p.position = TVec3(1, 2, 3);
         p.velocity = TVec3(10, 20, 30);
       },
       {2, 4, 6}},
      {"fScale", "{0, 100, 10, 100, 20}", kFieldScale, 0, [](TParticle& p) { p.age = 150; }, {15}},
      {"cFade",
       "{{1, 1, 1, 1}, 1000, {0, 0, 0, 0}, 1000, {1, 0, 0.5, 1}}",
       kFieldColour,
       0,
       [](TParticle& p) { p.age = 1500; },
       {127, 127, 0, 63}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    ParticleRandom::SetSeedForTests(kSeed);
    ParticleRandom::Acquire();
    auto op = Make(c.type, c.args);
    TParticle p = ParticleAged(0);
    c.setUp(p);
    EXPECT_TRUE(op->Run(p, c.field, c.ms));
    const std::vector<double> got = FieldValues(p, c.field);
    ASSERT_EQ(got.size(), c.expected.size());
    for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], c.expected[i], 1e-4) << i;
    ParticleRandom::Release();
  }
  ParticleRandom::SetSeedForTests(std::nullopt);
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
