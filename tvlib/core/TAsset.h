// Shared assets (textures, scripts, sounds) and the cache that finds them by name.
//
// An asset lives exactly as long as someone holds a shared pointer to it: the manager keeps
// only weak references. When the display device is lost and back, the manager walks every
// live asset so that each drops and re-creates its device data. An asset that dies removes
// its own entry (TAssetManager::Remove), which never touches a newer live asset registered
// under the same name; after the manager is gone, GetAssetManager gives null. UI thread only.
#pragma once

#include <map>
#include <memory>

#include "tvlib/core/TString.h"

using TClassId = const void*;

// Gives a class its own identity and an IsKindOf that asks the base for the rest.
#define TV_ASSET_CLASS(Class, Base)                         \
 public:                                                    \
  static TClassId GetClassId() {                            \
    static const char id = 0;                               \
    return &id;                                             \
  }                                                         \
  bool IsKindOf(TClassId id) const override {               \
    return id == Class::GetClassId() || Base::IsKindOf(id); \
  }

class TAsset : public std::enable_shared_from_this<TAsset> {
 public:
  static TClassId GetClassId() {
    static const char id = 0;
    return &id;
  }
  virtual bool IsKindOf(TClassId id) const { return id == GetClassId(); }
  virtual ~TAsset() = default;
  // Frees the asset's display-device data.
  virtual void Release() {}
  // Re-creates the asset's display-device data.
  virtual void Restore() {}
};

class TAssetManager {
 public:
  // The newest manager becomes the one GetAssetManager gives.
  TAssetManager();
  virtual ~TAssetManager();
  TAssetManager(const TAssetManager&) = delete;
  TAssetManager& operator=(const TAssetManager&) = delete;

  // The live asset under `key`, or null; an absent key is added with an empty reference.
  std::shared_ptr<TAsset> Find(const TString& key);
  void Insert(const TString& key, const std::shared_ptr<TAsset>& asset);
  // Erases the key's entry unless a live asset holds it (a dying asset removing its own
  // name must not drop a newer one registered since).
  void Remove(const TString& key);
  // Releases every live asset and erases the dead entries, in key order.
  void ReleaseAll();
  // Restores every live asset, in key order; dead entries stay.
  void RestoreAll();
  // Entries, live or dead.
  int GetCount() const { return static_cast<int>(mAssets.size()); }

 private:
  std::map<TString, std::weak_ptr<TAsset>> mAssets;
  TAssetManager* mPrevious;
};

// The current manager, or null when there is none (before start-up or after shutdown).
TAssetManager* GetAssetManager();
