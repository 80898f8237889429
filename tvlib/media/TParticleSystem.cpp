// The particle pool, its layer lists and the quad drawing.
#include "tvlib/media/TParticleSystem.h"

#include <algorithm>
#include <cstring>

#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/core/TVertexSet.h"
#include "tvlib/render/TTexture.h"

namespace {

constexpr int kTriangleList = 4;
constexpr int kBlendNormal = 0;

// The vertex buffer every system draws through.
std::vector<TParticleVertex>& SharedVertices() {
  static std::vector<TParticleVertex> vertices;
  return vertices;
}

}  // namespace

TParticleSystem::~TParticleSystem() = default;

int TParticleSystem::GetLayerParticleCount(int layer) const {
  if (layer < 0 || layer >= GetLayerCount()) return 0;
  return static_cast<int>(mLayers[layer].particles.size());
}

void TParticleSystem::SetNumParticles(int n) {
  if (n > kMaxParticles) {
    DebugLog("TParticleSystem::SetNumParticles: %d particles asked, %d kept", n, kMaxParticles);
    n = kMaxParticles;
  }
  n = std::max(n, 0);
  for (Layer& layer : mLayers) layer.particles.clear();
  mFree.clear();
  mPool.assign(static_cast<size_t>(n), TParticle{});
  mIndices.resize(static_cast<size_t>(n) * 6);
  for (int i = 0; i < n; ++i) {
    const uint16_t base = static_cast<uint16_t>(4 * i);
    const uint16_t six[6] = {base,
                             uint16_t(base + 1),
                             uint16_t(base + 2),
                             uint16_t(base + 1),
                             uint16_t(base + 3),
                             uint16_t(base + 2)};
    std::copy(six, six + 6, mIndices.begin() + 6 * i);
    mFree.push_back(&mPool[static_cast<size_t>(i)]);
  }
}

void TParticleSystem::AddTextureLayer(std::shared_ptr<TTexture> texture, bool add) {
  if (!add) {
    // The dropped layers' particles go back to the pool rather than being stranded.
    for (Layer& layer : mLayers)
      mFree.insert(mFree.end(), layer.particles.begin(), layer.particles.end());
    mLayers.clear();
  }
  if (texture)
    mParticleSize =
        TVec2(static_cast<float>(texture->GetWidth()), static_cast<float>(texture->GetHeight()));
  mLayers.push_back(Layer{std::move(texture), 2, {}});
}

void TParticleSystem::SetBlendMode(int mode, int layer) {
  if (layer < 0 || layer >= GetLayerCount()) return;
  mLayers[layer].blendMode = mode;
}

TParticle* TParticleSystem::TakeFree() {
  if (mFree.empty()) return nullptr;
  TParticle* p = mFree.front();
  mFree.pop_front();
  *p = TParticle{};
  p->scale = 1.0f;
  return p;
}

bool TParticleSystem::AddToLayer(TParticle* p) {
  if (p->frame < 0 || p->frame >= GetLayerCount()) {
    mFree.push_back(p);
    return false;
  }
  mLayers[static_cast<size_t>(p->frame)].particles.push_back(p);
  return true;
}

void TParticleSystem::BuildVertices(int layer, const TVec2& offset, TParticleVertex* out) const {
  static constexpr float kCorners[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
  for (const TParticle* p : mLayers[layer].particles) {
    const float sx = mParticleSize.x * p->scale, sy = mParticleSize.y * p->scale;
    for (const auto& corner : kCorners) {
      const float cx = corner[0] - 0.5f, cy = corner[1] - 0.5f;
      *out++ =
          TParticleVertex{p->position.x - p->up.y * sx * cx - p->up.x * sy * cy - 0.5f + offset.x,
                          p->position.y - p->up.y * sy * cy + p->up.x * sx * cx - 0.5f + offset.y,
                          0.1f,
                          0.5f,
                          p->colour.GetValue(),
                          p->specular.GetValue(),
                          corner[0],
                          corner[1]};
    }
  }
}

void TParticleSystem::Draw(const TVec2& offset) {
  size_t most = 0;
  for (const Layer& layer : mLayers) most = std::max(most, layer.particles.size());
  TPlatform* platform = TPlatform::GetInstance();
  if (most == 0 || !platform) return;
  std::vector<TParticleVertex>& vertices = SharedVertices();
  if (vertices.size() < 6 * most) vertices.resize(2 * 6 * most);
  for (int i = 0; i < GetLayerCount(); ++i) {
    const Layer& layer = mLayers[static_cast<size_t>(i)];
    if (layer.particles.empty()) continue;
    platform->SetTexture(0, layer.texture);
    platform->SetBlendMode(layer.blendMode);
    BuildVertices(i, offset, vertices.data());
    const int count = static_cast<int>(layer.particles.size());
    platform->DrawIndexedVertices(kTriangleList, TVertexSet(vertices.data(), 4 * count),
                                  mIndices.data(), 6 * count);
  }
  platform->SetBlendMode(kBlendNormal);
}
