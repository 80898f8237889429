// Particle systems driven by effect-script text: the pool and free list, layers, init slots,
// the do list, system alpha, the library's generators and time-outs, and the drawn quads.
#include <gtest/gtest.h>

#include "tvlib/core/TFileIndex.h"
#include "tvlib/media/TLuaParticleSystem.h"
#include "tvlib/media/TParticleRandom.h"
#include "tvlib/script/TScriptLimits.h"

namespace {

class Particles : public ::testing::Test {
 protected:
  void SetUp() override { ParticleRandom::SetSeedForTests(5489u); }
  void TearDown() override { ParticleRandom::SetSeedForTests(std::nullopt); }
  void Run(const char* text) { mSystem.GetScript().DoLuaString(text); }
  double Number(const char* expression) {
    Run((TString("gResult = ") + expression).c_str());
    return mSystem.GetScript().GetGlobalNumber("gResult");
  }
  TLuaParticleSystem mSystem;
};

TEST_F(Particles, TextLoadsRunInitAndClearTheDoneFlag) {
  ASSERT_TRUE(mSystem.Load("function Init() SetNumParticles(8) SetDone() gInit = 1 end"));
  EXPECT_EQ(Number("gInit"), 1);
  EXPECT_EQ(mSystem.GetPoolSize(), 8);
  EXPECT_FALSE(mSystem.IsDone()) << "the flag is cleared after Init";
  EXPECT_FALSE(mSystem.Load("fx/no_such_effect.lua"));
}

// An effect whose script runs away is stopped by its budget and is done for good: the effect
// it was building goes.
TEST(ParticleLimits, ARunawayEffectIsStoppedAndDone) {
  SetAssetScriptBudgetForTests(TScriptBudget{1'000'000, 8u << 20});
  TLuaParticleSystem looping;
  EXPECT_FALSE(looping.Load("function Init() while true do end end"));
  EXPECT_TRUE(looping.IsDone());
  TLuaParticleSystem growing;
  ASSERT_TRUE(
      growing.Load("function Init() SetNumParticles(1) end "
                   "function Update() local t = {} for i = 1, 1e9 do t[i] = i end end"));
  EXPECT_FALSE(growing.IsDone());
  growing.Update(20);
  EXPECT_TRUE(growing.IsDone());
  growing.Update(20);  // nothing runs any more
  EXPECT_TRUE(growing.IsDone());
  SetAssetScriptBudgetForTests(std::nullopt);
}

TEST_F(Particles, ParticlesMoveBetweenTheFreeListAndTheirLayer) {
  mSystem.Load("function Init() SetNumParticles(4) SetTexture('a') end");
  mSystem.CreateParticles(3);
  EXPECT_EQ(mSystem.GetLayerParticleCount(0), 3);
  EXPECT_EQ(mSystem.GetFreeCount(), 1);
  mSystem.CreateParticles(5);  // stops when the pool runs out
  EXPECT_EQ(mSystem.GetLayerParticleCount(0), 4);

  // Age the particles differently, then expire the oldest two: they go to the free list's back.
  auto& live = mSystem.GetLayerParticles(0);
  for (size_t i = 0; i < live.size(); ++i) live[i]->age = static_cast<int>(100 * i);
  TParticle* youngest = live[0];
  Run("Do('expire', 150)");
  mSystem.Process(0);
  EXPECT_EQ(mSystem.GetLayerParticleCount(0), 2);
  EXPECT_EQ(mSystem.GetLayerParticles(0)[0], youngest) << "survivors keep their order";
  EXPECT_EQ(mSystem.GetFreeCount(), 2);

  Run("SetTexture('b', true)");
  EXPECT_EQ(mSystem.GetLayerCount(), 2);
  EXPECT_EQ(mSystem.GetLayerParticleCount(0), 2)
      << "adding a layer keeps the first one's particles";
  EXPECT_EQ(mSystem.GetLayerParticleCount(1), 0);
  EXPECT_EQ(mSystem.GetBlendMode(1), 2);
  Run("SetBlendMode(kBlendNormal, 1) SetBlendMode(kBlendOpaque, 7)");
  EXPECT_EQ(mSystem.GetBlendMode(1), 0);

  Run("SetTexture('c')");  // replaces every layer; their particles return to the pool
  EXPECT_EQ(mSystem.GetLayerCount(), 1);
  EXPECT_EQ(mSystem.GetFreeCount(), 4);

  Run("SetNumParticles(0)");
  mSystem.CreateParticles(3);
  EXPECT_EQ(mSystem.GetLayerParticleCount(0), 0);
}

TEST_F(Particles, InitSlotsFillNewParticlesAndRefuseOtherFamilies) {
  mSystem.Load(
      "function Init() SetNumParticles(4) SetTexture('a') "
      "InitPosition(Vec3(10, 20, 0)) InitColor(Color(1, 0, 0, 1)) InitScale(2) end");
  mSystem.CreateParticles(1);
  const TParticle* p = mSystem.GetLayerParticles(0)[0];
  EXPECT_EQ(p->position.x, 10);
  EXPECT_EQ(p->colour.GetValue(), 0xFFFF0000u);
  EXPECT_EQ(p->scale, 2);
  EXPECT_EQ(p->up.y, -1) << "the library's default up";

  Run("InitScale('vConstant', Vec3(1, 2, 3))");  // a vector operator on a float slot
  mSystem.CreateParticles(1);
  EXPECT_EQ(mSystem.GetLayerParticles(0)[1]->scale, 1) << "the slot was emptied";

  Run("InitFrame(3)");  // no such layer: the particle goes back to the pool
  mSystem.CreateParticles(1);
  EXPECT_EQ(mSystem.GetLayerParticleCount(0), 2);
  EXPECT_EQ(mSystem.GetFreeCount(), 2);
}

TEST_F(Particles, UnknownOperatorsAreReportedAsValues) {
  mSystem.Load("function Init() SetNumParticles(1) end");
  Run("gAlerts = '' function _ALERT(m) gAlerts = gAlerts .. m end");
  Run("Do(\"x'); gHacked = 1; --\") DoColor('nope')");
  Run("gResult = gAlerts");
  EXPECT_STREQ(mSystem.GetScript().GetGlobalString("gResult").c_str(),
               "Type not found: x'); gHacked = 1; --Type not found: nope");
  EXPECT_EQ(Number("gHacked or 0"), 0);
}

TEST_F(Particles, ProcessScalesAlphaAndAlwaysEmptiesTheDoList) {
  mSystem.Load("function Init() SetNumParticles(2) SetTexture('a') end");
  mSystem.CreateParticles(1);
  mSystem.SetAlpha(1.5f);
  EXPECT_EQ(mSystem.GetAlpha(), 1.0f);
  mSystem.SetAlpha(0.5f);
  mSystem.Process(10);
  EXPECT_EQ(mSystem.GetLayerParticles(0)[0]->colour.GetAlpha(), 127);
  mSystem.Process(10);
  EXPECT_EQ(mSystem.GetLayerParticles(0)[0]->colour.GetAlpha(), 63);
  mSystem.SetAlpha(-1);
  EXPECT_EQ(mSystem.GetAlpha(), 0.0f);

  // Queued in Update, run by the engine's Process after it, then gone.
  Run("function Update(ms) DoAge('iAge') end");
  mSystem.Update(40);
  EXPECT_EQ(mSystem.GetLayerParticles(0)[0]->age, 40);
  mSystem.Process(40);
  EXPECT_EQ(mSystem.GetLayerParticles(0)[0]->age, 40);
}

TEST_F(Particles, GeneratorsAndTimeouts) {
  Run("g = NewParticleGenerator() t = NewTimeout(100)");
  for (int expected : {0, 0, 0, 1}) EXPECT_EQ(Number("g(10, 30)"), expected);
  for (int expected : {0, 0, 0, 1}) EXPECT_EQ(Number("t(50) and 1 or 0"), expected);
  EXPECT_EQ(Number("ParticlesPerSecond == g and 1 or 0"), 1);
}

TEST_F(Particles, QuadsStandUprightCentredHalfAPixelUpAndLeft) {
  mSystem.Load(
      "function Init() SetNumParticles(1) SetTexture('missing') InitPosition(Vec3(10, 20, 0)) end");
  mSystem.CreateParticles(1);
  TParticleVertex v[4];
  mSystem.BuildVertices(0, TVec2(100, 0), v);
  const float expected[4][4] = {{109, 19, 0, 0}, {110, 19, 1, 0}, {109, 20, 0, 1}, {110, 20, 1, 1}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_FLOAT_EQ(v[i].x, expected[i][0]) << i;
    EXPECT_FLOAT_EQ(v[i].y, expected[i][1]) << i;
    EXPECT_EQ(v[i].u, expected[i][2]);
    EXPECT_EQ(v[i].v, expected[i][3]);
    EXPECT_EQ(v[i].diffuse, 0xFFFFFFFFu);
  }
}

}  // namespace

namespace {

// The two fixture effects, loaded from files through the effect search path.
class EffectFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    ParticleRandom::SetSeedForTests(5489u);
    SetProgramFolder(TV_TEST_DATA "/media/");
    ClearFileIndex();
    MountFileSystem();
  }
  void TearDown() override {
    ParticleRandom::SetSeedForTests(std::nullopt);
    ClearFileIndex();
  }
};

TEST_F(EffectFiles, ABurstFallsFadesAndEnds) {
  TLuaParticleSystem burst;
  ASSERT_TRUE(burst.Load("fx/pfx_burst.lua"));
  EXPECT_EQ(burst.GetLayerParticleCount(0), 40);
  burst.Update(500);
  ASSERT_EQ(burst.GetLayerParticleCount(0), 40);
  const TParticle* p = burst.GetLayerParticles(0)[0];
  EXPECT_EQ(p->age, 500);
  EXPECT_EQ(p->colour.GetAlpha(), 127);
  burst.Update(501);
  EXPECT_EQ(burst.GetLayerParticleCount(0), 0) << "every spark expired";
  EXPECT_FALSE(burst.IsDone());
  burst.Update(300);  // the time-out reaches zero here and answers on its next call
  EXPECT_FALSE(burst.IsDone());
  burst.Update(20);
  EXPECT_TRUE(burst.IsDone());
}

TEST_F(EffectFiles, ASteadyEmitterSpawnsAtItsRateUntilItsTimeout) {
  TLuaParticleSystem steady;
  ASSERT_TRUE(steady.Load("fx/pfx_steady.lua"));
  for (int tick = 0; tick < 50; ++tick) steady.Update(20);  // one second
  EXPECT_EQ(steady.GetLayerParticleCount(0), 20);
  for (int tick = 0; tick < 100; ++tick) steady.Update(20);  // spawning stops at two seconds
  const int afterStop = steady.GetLayerParticleCount(0);
  for (int tick = 0; tick < 100; ++tick) steady.Update(20);
  EXPECT_LT(steady.GetLayerParticleCount(0), afterStop);
  EXPECT_EQ(steady.GetLayerParticleCount(0), 0);
}

}  // namespace
