// Particle update and vertex cost: 10,000 live particles under four operators (move,
// gravity, colour fade, expire), queued by the effect script every update as games do.
#include <benchmark/benchmark.h>

#include <vector>

#include "tvlib/media/TLuaParticleSystem.h"

namespace {

constexpr int kParticles = 10000;

const char* kEffect =
    "function Init() SetNumParticles(10000) SetTexture('spark') "
    "  InitVelocity('vRange', Vec3(-50, -80, 0), Vec3(50, 0, 0)) "
    "  InitPosition('vRange', Vec3(0, 0, 0), Vec3(800, 600, 0)) end "
    "function Update(ms) Do('move') Gravity(40) "
    "  DoColor('cFade', Color(1, 1, 1, 1), 100000, Color(1, 1, 1, 0)) "
    "  DoAge('iAge') Do('expire', 1000000) end";

void BM_ParticleUpdate(benchmark::State& state) {
  TLuaParticleSystem system;
  system.Load(kEffect);
  system.CreateParticles(kParticles);
  for (auto _ : state) system.Update(20);
  state.SetItemsProcessed(state.iterations() * kParticles);
}
BENCHMARK(BM_ParticleUpdate);

void BM_ParticleVertices(benchmark::State& state) {
  TLuaParticleSystem system;
  system.Load(kEffect);
  system.CreateParticles(kParticles);
  std::vector<TParticleVertex> vertices(4 * kParticles);
  for (auto _ : state) {
    system.BuildVertices(0, TVec2(0, 0), vertices.data());
    benchmark::DoNotOptimize(vertices.data());
  }
  state.SetItemsProcessed(state.iterations() * kParticles);
}
BENCHMARK(BM_ParticleVertices);

}  // namespace
