// A particle system: a fixed pool of particle records, the texture layers they are drawn
// with (each with its blend mode and its list of live particles), and the drawing of every
// live particle as a screen-space quad.
//
// Records live in one array sized by SetNumParticles; the free list and the layer lists hold
// pointers into it. A particle is created from the front of the free list and killed to its
// back, and is always on exactly one of these lists. Pools hold at most kMaxParticles (the
// 16-bit index buffer's reach). Drawing uses one vertex buffer shared by every system, grown
// to twice the need and never shrunk. UI thread only.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "tvlib/core/TString.h"
#include "tvlib/core/TVec.h"
#include "tvlib/media/TParticle.h"

class TTexture;

// A vertex as the display takes it: pre-transformed and lit, 32 bytes.
struct TParticleVertex {
  float x, y, z, rhw;
  uint32_t diffuse, specular;
  float u, v;
};
static_assert(sizeof(TParticleVertex) == 32);

class TParticleSystem {
 public:
  static constexpr int kMaxParticles = 16384;

  TParticleSystem() = default;
  virtual ~TParticleSystem();
  TParticleSystem(const TParticleSystem&) = delete;
  TParticleSystem& operator=(const TParticleSystem&) = delete;

  virtual void Update(int ms) = 0;
  virtual bool Load(const TString& name) = 0;

  // Draws every live particle, shifted by offset, layer by layer.
  void Draw(const TVec2& offset);

  // Empties every list and makes a new pool of n zeroed records, all free (n is capped).
  void SetNumParticles(int n);
  // Adds a texture layer (blend mode additive); without `add`, drops every layer first.
  // The texture's size becomes the particle size when it loads.
  void AddTextureLayer(std::shared_ptr<TTexture> texture, bool add);
  void SetBlendMode(int mode, int layer);

  int GetPoolSize() const { return static_cast<int>(mPool.size()); }
  int GetLayerCount() const { return static_cast<int>(mLayers.size()); }
  int GetLayerParticleCount(int layer) const;
  const std::vector<TParticle*>& GetLayerParticles(int layer) const {
    return mLayers[layer].particles;
  }
  int GetBlendMode(int layer) const { return mLayers[layer].blendMode; }
  int GetFreeCount() const { return static_cast<int>(mFree.size()); }
  const TVec2& GetParticleSize() const { return mParticleSize; }
  // The four vertices of each particle of a layer, as Draw gives them to the display.
  void BuildVertices(int layer, const TVec2& offset, TParticleVertex* out) const;

 protected:
  // Takes the record at the front of the free list, zeroed with scale 1; null when none.
  TParticle* TakeFree();
  // Puts a new particle on the list of the layer its frame names; a frame that names no
  // layer sends it back to the free list (false).
  bool AddToLayer(TParticle* p);
  // Runs `step` over every live particle, layer by layer in order; a particle for which it
  // answers false goes to the back of the free list.
  template <class Step>
  void ForEachLive(Step step);
  bool HasLayers() const { return !mLayers.empty(); }

 private:
  struct Layer {
    std::shared_ptr<TTexture> texture;
    int blendMode = 2;
    std::vector<TParticle*> particles;
  };

  std::vector<TParticle> mPool;
  std::vector<uint16_t> mIndices;
  std::vector<Layer> mLayers;
  std::deque<TParticle*> mFree;
  TVec2 mParticleSize{1.0f, 1.0f};
};

template <class Step>
void TParticleSystem::ForEachLive(Step step) {
  for (Layer& layer : mLayers) {
    size_t kept = 0;
    for (TParticle* p : layer.particles) {
      if (step(*p))
        layer.particles[kept++] = p;
      else
        mFree.push_back(p);
    }
    layer.particles.resize(kept);
  }
}
