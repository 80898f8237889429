// The effect list: loading a file's group under fresh ids, and the per-frame update, draw
// and deletion of its effects.
#include "game/fx/TSpecialEffectList.h"

#include <cmath>
#include <limits>

#include "game/fx/TEffectBuilder.h"
#include "game/fx/TSpecialEffect.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/script/AuxLib.h"
#include "tvlib/script/TScript.h"
#include "tvlib/script/TScriptCode.h"
#include "tvlib/script/TScriptLimits.h"

namespace {

// The id the next effect takes, shared by every list.
int gNextEffectId = 0;

// What the protected reader of `sfx_list` works on.
struct TListReading {
  const TEffectParams* params;
  std::map<int, std::unique_ptr<TSpecialEffect>>* effects;
  bool noList = false;
};

// Protected: builds an effect from each entry of `sfx_list`, in traversal order, each key
// naming the entry at that key taken as a number. Notes when `sfx_list` is not a table.
int ReadList(lua_State* L) {
  auto* reading = static_cast<TListReading*>(lua_touserdata(L, 1));
  lua_pushstring(L, "sfx_list");
  lua_gettable(L, LUA_GLOBALSINDEX);
  if (!lua_istable(L, -1)) {
    reading->noList = true;
    return 0;
  }
  const int list = lua_gettop(L);
  lua_pushnil(L);
  while (lua_next(L, list) != 0) {
    const double key = lua_type(L, -2) == LUA_TNUMBER ? lua_tonumber(L, -2) : 0.0;
    lua_pop(L, 1);
    if (!(std::fabs(key) < 2147483647.0)) continue;
    lua_rawgeti(L, list, static_cast<int>(key));
    // The last id is never handed out: the counter cannot run past it.
    if (lua_istable(L, -1) && gNextEffectId < std::numeric_limits<int>::max()) {
      if (std::unique_ptr<TSpecialEffect> effect =
              BuildSpecialEffect(L, lua_gettop(L), reading->params))
        (*reading->effects)[gNextEffectId++] = std::move(effect);
    }
    lua_pop(L, 1);
  }
  return 0;
}

}  // namespace

TSpecialEffectList::TSpecialEffectList() = default;
TSpecialEffectList::~TSpecialEffectList() = default;

int TSpecialEffectList::Load(const TString& path, const TEffectParams* params) {
  std::shared_ptr<TScriptCode> code = TScriptCode::Get(path);
  if (!code) {
    // The group is still started: the caller's base id names an empty group.
    const int base = LoadBytes(nullptr, 0, params, path, nullptr);
    DebugLog("TSpecialEffectList::Load: cannot load '%s'", path.c_str());
    return base;
  }
  return LoadBytes(code->GetCode().data(), code->GetCode().size(), params, path, nullptr);
}

int TSpecialEffectList::LoadFromMemory(const char* bytes, size_t length,
                                       const TEffectParams* params, lua_State* L) {
  return LoadBytes(bytes, length, params, "(memory)", L);
}

int TSpecialEffectList::LoadBytes(const char* bytes, size_t length, const TEffectParams* params,
                                  const TString& name, lua_State* L) {
  // The next multiple of the group size strictly above the counter; past the largest id the
  // counter starts again from 0 rather than overflow.
  if (gNextEffectId > std::numeric_limits<int>::max() - 2 * kGroupSize) gNextEffectId = 0;
  const int base = (gNextEffectId / kGroupSize + 1) * kGroupSize;
  gNextEffectId = base;
  if (!bytes) {
    if (L) lua_close(L);
    return base;
  }
  TScript script(L);
  lua_State* state = script.GetState();
  const TString chunkName = TString("=") + name;
  if (luaL_loadbuffer(state, bytes, length, chunkName.c_str()) != 0 ||
      TScriptLimits::Call(state, 0, 0, 0) != 0) {
    DebugLog("TSpecialEffectList::Load: cannot run '%s': %s", name.c_str(),
             lua_isstring(state, -1) ? lua_tostring(state, -1) : "(no message)");
    return base;
  }
  TListReading reading{params, &mEffects};
  lua_pushcfunction(state, &ReadList);
  lua_pushlightuserdata(state, &reading);
  const int status = TScriptLimits::Call(state, 1, 0, 0);
  if (status == 0 && reading.noList) {
    DebugLog("TSpecialEffectList::Load: '%s' has no table sfx_list", name.c_str());
  } else if (status != 0) {
    DebugLog("TSpecialEffectList::Load: reading '%s' stopped: %s", name.c_str(),
             lua_isstring(state, -1) ? lua_tostring(state, -1) : "(no message)");
    if (TScriptLimits::StopOf(state) != TScriptStop::kNone) {
      // Stopped by its limits: nothing of what it built is kept.
      mEffects.erase(mEffects.lower_bound(base), mEffects.lower_bound(gNextEffectId));
    }
  }
  return base;
}

void TSpecialEffectList::Update(float dt) {
  for (auto it = mEffects.begin(); it != mEffects.end();) {
    if (it->second->Update(dt))
      ++it;
    else
      it = mEffects.erase(it);
  }
}

void TSpecialEffectList::Draw(float scale, const TVec2* position) {
  for (auto& [id, effect] : mEffects) effect->Draw(scale, position);
}

void TSpecialEffectList::SetTimeout(int firstId, float seconds) {
  for (int i = 0; i < kGroupSize; ++i) {
    TSpecialEffect* effect = Find(firstId + i);
    if (!effect) return;
    effect->SetTimeout(seconds);
  }
}

void TSpecialEffectList::Clear() {
  mEffects.clear();
}

TSpecialEffect* TSpecialEffectList::Find(int id) const {
  const auto found = mEffects.find(id);
  return found == mEffects.end() ? nullptr : found->second.get();
}
