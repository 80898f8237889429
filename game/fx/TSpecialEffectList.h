// A list of running special effects, by id, that its owner updates and draws once a frame.
//
// Effects come from effect files (scripts under "fx/" whose global `sfx_list` is an array
// of entry tables, TEffectBuilder.h). Ids come from one counter shared by every list of the
// process: each load starts a group at the next multiple of 100 above the counter and gives
// its effects consecutive ids from there, so a group is addressed by its base id and ids are
// never reused. Effects are updated and drawn in ascending id order, and deleted when their
// update reports them over. UI thread only.
#pragma once

#include <cstddef>
#include <map>
#include <memory>

#include "tvlib/core/TString.h"
#include "tvlib/core/TVec.h"
#include "tvlib/script/Api.h"

class TSpecialEffect;
struct TEffectParams;

class TSpecialEffectList {
 public:
  static constexpr int kGroupSize = 100;

  TSpecialEffectList();
  ~TSpecialEffectList();
  TSpecialEffectList(const TSpecialEffectList&) = delete;
  TSpecialEffectList& operator=(const TSpecialEffectList&) = delete;

  // Runs the effect file (params may be null) and adds its effects; returns the group's
  // base id, also when the file is missing or holds nothing usable (then logged).
  int Load(const TString& path, const TEffectParams* params);
  // The same for an effect file's bytes (source or precompiled). The script runs in the
  // given state (null: a new one), which is closed afterwards.
  int LoadFromMemory(const char* bytes, size_t length, const TEffectParams* params,
                     lua_State* L = nullptr);

  // Advances every effect by dt seconds; those that are over are deleted.
  void Update(float dt);
  // Draws every effect with sizes times `scale`, at `position` in place of each effect's
  // own point when given.
  void Draw(float scale, const TVec2* position = nullptr);
  // Gives the effects firstId, firstId + 1, ... a time-out of `seconds`, up to the first
  // id without an effect and at most kGroupSize ids.
  void SetTimeout(int firstId, float seconds);
  // Deletes every effect.
  void Clear();

  TSpecialEffect* Find(int id) const;
  int GetCount() const { return static_cast<int>(mEffects.size()); }

 private:
  int LoadBytes(const char* bytes, size_t length, const TEffectParams* params, const TString& name,
                lua_State* L);

  std::map<int, std::unique_ptr<TSpecialEffect>> mEffects;
};
