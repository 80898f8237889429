// The asset manager: the weak cache of live assets and assets that outlive it.
#include "tvlib/core/TAsset.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// Counts its device-data calls and, like every asset kind, drops its name when it dies.
class TCountingAsset : public TAsset {
  TV_ASSET_CLASS(TCountingAsset, TAsset)

 public:
  explicit TCountingAsset(const char* key) : mKey(key) {}
  ~TCountingAsset() override {
    if (TAssetManager* manager = GetAssetManager()) manager->Remove(mKey);
  }
  void Release() override { ++released; }
  void Restore() override { ++restored; }
  int released = 0, restored = 0;

 private:
  TString mKey;
};

}  // namespace

TEST(AssetManager, WeakCacheFindsOnlyLiveAssets) {
  TAssetManager manager;
  EXPECT_EQ(GetAssetManager(), &manager);
  auto asset = std::make_shared<TCountingAsset>("tex");
  manager.Insert("tex", asset);
  EXPECT_EQ(manager.Find("tex"), asset);
  EXPECT_TRUE(asset->IsKindOf(TAsset::GetClassId()));
  EXPECT_TRUE(asset->IsKindOf(TCountingAsset::GetClassId()));
  EXPECT_FALSE(TAsset().IsKindOf(TCountingAsset::GetClassId()));

  EXPECT_EQ(manager.Find("never"), nullptr);  // leaves a dead entry
  EXPECT_EQ(manager.GetCount(), 2);
  manager.RestoreAll();
  manager.ReleaseAll();
  EXPECT_EQ(asset->restored, 1);
  EXPECT_EQ(asset->released, 1);
  EXPECT_EQ(manager.GetCount(), 1);  // the dead entry went

  asset.reset();  // dies and removes its own entry
  EXPECT_EQ(manager.Find("tex"), nullptr);
}

TEST(AssetManager, ADyingAssetSparesANewerOneAndOutlivesTheManager) {
  auto manager = std::make_unique<TAssetManager>();
  auto first = std::make_shared<TCountingAsset>("name");
  manager->Insert("name", first);
  auto second = std::make_shared<TCountingAsset>("name");
  manager->Insert("name", second);
  first.reset();
  EXPECT_EQ(manager->Find("name"), second);

  manager.reset();
  EXPECT_EQ(GetAssetManager(), nullptr);
  second.reset();  // no manager to tell
}
