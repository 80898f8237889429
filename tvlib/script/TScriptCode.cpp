// Compiling in a temporary state and caching through the asset manager.
#include "tvlib/script/TScriptCode.h"

#include "tvlib/script/AuxLib.h"
#include "tvlib/script/TScriptFiles.h"
#include "tvlib/script/TScriptRandom.h"

namespace {

int AppendChunkBytes(lua_State*, const void* p, size_t size, void* ud) {
  static_cast<std::string*>(ud)->append(static_cast<const char*>(p), size);
  return 1;
}

}  // namespace

std::shared_ptr<TScriptCode> TScriptCode::FromAsset(const std::shared_ptr<TAsset>& asset) {
  if (!asset || !asset->IsKindOf(GetClassId())) return nullptr;
  return std::static_pointer_cast<TScriptCode>(asset);
}

std::shared_ptr<TScriptCode> TScriptCode::Get(const TString& fileName) {
  if (fileName.Length() == 0) return nullptr;
  TAssetManager* manager = GetAssetManager();
  if (manager != nullptr) {
    if (auto live = FromAsset(manager->Find(fileName))) return live;
  }
  UseEngineFilesForScripts();
  UseEngineRandomForScripts();
  lua_State* L = lua_open();
  if (L == nullptr) return nullptr;
  std::shared_ptr<TScriptCode> code;
  if (luaL_loadfile(L, fileName.c_str()) == 0) {
    std::string bytes;
    if (lua_dump(L, AppendChunkBytes, &bytes))
      code = std::make_shared<TScriptCode>(bytes.data(), static_cast<int>(bytes.size()));
  }
  lua_close(L);
  if (code && manager != nullptr) manager->Insert(fileName, code);
  return code;
}
