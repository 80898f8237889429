// Assets and the asset manager's cache of live ones.
#include "tvlib/core/TAsset.h"

#include <vector>

namespace {

TAssetManager* gCurrentManager = nullptr;

}  // namespace

TAssetManager::TAssetManager() : mPrevious(gCurrentManager) {
  gCurrentManager = this;
}

TAssetManager::~TAssetManager() {
  if (gCurrentManager == this) gCurrentManager = mPrevious;
}

TAssetManager* GetAssetManager() {
  return gCurrentManager;
}

std::shared_ptr<TAsset> TAssetManager::Find(const TString& key) {
  return mAssets[key].lock();
}

void TAssetManager::Insert(const TString& key, const std::shared_ptr<TAsset>& asset) {
  mAssets[key] = asset;
}

void TAssetManager::Remove(const TString& key) {
  auto found = mAssets.find(key);
  if (found != mAssets.end() && found->second.expired()) mAssets.erase(found);
}

void TAssetManager::ReleaseAll() {
  // The live assets are gathered first: a Release may register or drop other assets.
  std::vector<std::shared_ptr<TAsset>> live;
  for (auto entry = mAssets.begin(); entry != mAssets.end();) {
    if (auto asset = entry->second.lock()) {
      live.push_back(std::move(asset));
      ++entry;
    } else {
      entry = mAssets.erase(entry);
    }
  }
  for (const auto& asset : live) asset->Release();
}

void TAssetManager::RestoreAll() {
  std::vector<std::shared_ptr<TAsset>> live;
  for (const auto& entry : mAssets)
    if (auto asset = entry.second.lock()) live.push_back(std::move(asset));
  for (const auto& asset : live) asset->Restore();
}
