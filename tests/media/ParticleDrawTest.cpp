// Particles drawn through the display: one indexed draw per layer with the layer's texture and
// blend mode, the blend mode reset after the last layer, and the pool's cap of 16,384 particles
// (what 16-bit indices can address).
#include <gtest/gtest.h>

#include "tests/media/SpriteFixture.h"
#include "tvlib/media/TLuaParticleSystem.h"
#include "tvlib/media/TParticleRandom.h"

namespace {

class ParticleDraw : public SpriteTest {
 protected:
  void SetUp() override {
    SpriteTest::SetUp();
    ParticleRandom::SetSeedForTests(5489u);
    PutSheet("fx/dot.png", 4, 4);
    PutSheet("fx/ring.png", 8, 6);
  }
  void TearDown() override {
    ParticleRandom::SetSeedForTests(std::nullopt);
    SpriteTest::TearDown();
  }
};

TEST_F(ParticleDraw, EachLayerIsOneIndexedDrawInItsTextureAndBlendModeThenNormalAgain) {
  TLuaParticleSystem system;
  ASSERT_TRUE(
      system.Load("function Init() SetNumParticles(8) SetTexture('fx/dot') "
                  "SetTexture('fx/ring', true) SetBlendMode(kBlendAdditiveAlpha, 1) end"));
  system.GetScript().DoLuaString(
      "InitFrame(0) InitPosition(Vec3(10, 20, 0)) CreateParticles(3) "
      "InitFrame(1) InitPosition(Vec3(50, 60, 0)) CreateParticles(2)");
  recorder->mBlendCalls.clear();
  const std::vector<TRecordedDraw> draws = Drawn([&] { system.Draw(TVec2(100, 0)); });
  ASSERT_EQ(draws.size(), 2u);
  const struct { int blend, particles; } layers[] = {{2, 3}, {3, 2}};
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    const TRecordedDraw& draw = draws[static_cast<size_t>(i)];
    EXPECT_EQ(draw.blend, layers[i].blend);
    EXPECT_NE(draw.texture, nullptr);
    EXPECT_EQ(draw.vertices.size(), size_t(4 * layers[i].particles));
    ASSERT_EQ(draw.indices.size(), size_t(6 * layers[i].particles));
    EXPECT_EQ(std::vector<uint16_t>(draw.indices.begin(), draw.indices.begin() + 12),
              (std::vector<uint16_t>{0, 1, 2, 1, 3, 2, 4, 5, 6, 5, 7, 6}));
    // The last layer's texture size is every layer's particle size.
    EXPECT_FLOAT_EQ(draw.vertices[1].x - draw.vertices[0].x, 8);
  }
  EXPECT_NE(draws[0].texture, draws[1].texture);
  EXPECT_FLOAT_EQ(draws[0].vertices[0].x, 10 - 4 - 0.5f + 100);
  EXPECT_FLOAT_EQ(draws[1].vertices[0].y, 60 - 3 - 0.5f);
  EXPECT_EQ(recorder->mBlendCalls, (std::vector<int>{2, 3, 0})) << "normal again after the last";

  // A layer without particles draws nothing; no particles at all, not even the reset.
  system.GetScript().DoLuaString("SetNumParticles(8)");
  recorder->mBlendCalls.clear();
  EXPECT_TRUE(Drawn([&] { system.Draw(TVec2(0, 0)); }).empty());
  EXPECT_TRUE(recorder->mBlendCalls.empty());
}

TEST_F(ParticleDraw, PoolsAreCappedAtWhatSixteenBitIndicesReach) {
  TLuaParticleSystem system;
  ASSERT_TRUE(system.Load("function Init() SetNumParticles(20000) SetTexture('fx/dot') end"));
  EXPECT_EQ(system.GetPoolSize(), TParticleSystem::kMaxParticles);
  EXPECT_EQ(TParticleSystem::kMaxParticles, 16384);
  system.CreateParticles(20000);
  EXPECT_EQ(system.GetLayerParticleCount(0), 16384);
  const std::vector<TRecordedDraw> draws = Drawn([&] { system.Draw(TVec2(0, 0)); });
  ASSERT_EQ(draws.size(), 1u);
  ASSERT_EQ(draws[0].indices.size(), size_t(6 * 16384));
  EXPECT_EQ(draws[0].indices.back(), 4 * 16384 - 2) << "the last quad's indices still fit";
  EXPECT_NE(Log().find("20000 particles asked, 16384 kept"), std::string::npos);
}

}  // namespace
