// Animated sprites: their script states and natives, and drawing the current frame.
#include "tvlib/media/TAnimatedSprite.h"

#include <algorithm>

#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/core/TRandom.h"
#include "tvlib/core/TTaskList.h"
#include "tvlib/media/TAnimatedTexture.h"
#include "tvlib/script/AuxLib.h"
#include "tvlib/script/TScript.h"
#include "tvlib/script/TScriptLimits.h"

// The animation library, precompiled at build time.
extern const unsigned char kAnimationLibrary[];
extern const size_t kAnimationLibrarySize;

// A sprite's script task. It tells its sprite when it is destroyed by anyone else (the
// platform's task list deletes what it still holds when it is emptied at shutdown).
class TAnimationScript : public TScript {
 public:
  explicit TAnimationScript(TAnimatedSprite* owner) : mOwner(owner) {}
  ~TAnimationScript() override {
    if (mOwner) mOwner->ForgetScript(this);
  }
  void Disown() { mOwner = nullptr; }
  // Inside a run of its coroutine or of a call (not waiting in a yield, not idle).
  bool IsRunning() const {
    lua_Debug ar;
    return lua_getstack(GetState(), 0, &ar) != 0 && !IsYielded();
  }

 private:
  TAnimatedSprite* mOwner;
};

namespace {

bool OnTaskList(TTask* task) {
  TPlatform* platform = TPlatform::GetInstance();
  TTaskList* list = platform ? platform->GetTaskList() : nullptr;
  return list && list->Contains(task);
}

}  // namespace

std::shared_ptr<TAnimatedSprite> CastToAnimatedSprite(const std::shared_ptr<TSprite>& sprite) {
  if (!sprite || !sprite->IsKindOf(TAnimatedSprite::GetClassId())) return nullptr;
  return std::static_pointer_cast<TAnimatedSprite>(sprite);
}

TAnimatedSprite::TAnimatedSprite(int layer) : TSprite(layer) {}

TAnimatedSprite::~TAnimatedSprite() {
  for (TAnimationScript* script : mRetired) DeleteScript(script);
  mRetired.clear();
  if (mScript) DeleteScript(mScript);
  mScript = nullptr;
}

void TAnimatedSprite::DeleteScript(TAnimationScript* script) {
  script->Disown();
  if (TPlatform* platform = TPlatform::GetInstance()) platform->RemoveTask(script);
  delete script;
}

void TAnimatedSprite::ForgetScript(TAnimationScript* script) {
  if (mScript == script) mScript = nullptr;
  mRetired.erase(std::remove(mRetired.begin(), mRetired.end(), script), mRetired.end());
}

void TAnimatedSprite::DeleteRetired() {
  std::vector<TAnimationScript*> kept;
  for (TAnimationScript* script : mRetired) {
    if (script->IsRunning() || OnTaskList(script)) {
      kept.push_back(script);
    } else {
      script->Disown();
      delete script;
    }
  }
  mRetired.swap(kept);
}

void TAnimatedSprite::RetireScript() {
  DeleteRetired();
  if (!mScript) return;
  if (TPlatform* platform = TPlatform::GetInstance()) platform->RemoveTask(mScript);
  mScript->Suspend();
  mRetired.push_back(mScript);
  mScript = nullptr;
}

TAnimationScript* TAnimatedSprite::ScriptOf(lua_State* L) const {
  if (mScript && mScript->GetState() == L) return mScript;
  for (TAnimationScript* script : mRetired)
    if (script->GetState() == L) return script;
  return nullptr;
}

void TAnimatedSprite::StartAnimationScript() {
  RetireScript();
  mScript = new TAnimationScript(this);
  if (TPlatform* platform = TPlatform::GetInstance()) platform->AddTask(mScript);
  lua_State* L = mScript->GetState();
  if (luaL_loadbuffer(L, reinterpret_cast<const char*>(kAnimationLibrary), kAnimationLibrarySize,
                      "ganimationscript") == 0)
    TScriptLimits::Call(L, 0, 0, 0);
  RegisterNatives(L);
  // One collection now drops what loading left behind (the library's main chunk, its
  // buffers): every sprite has a state of its own, so this is paid back many times.
  lua_setgcthreshold(L, 0);
}

TScript* TAnimatedSprite::GetAnimationScript() {
  if (!mScript) StartAnimationScript();
  return mScript;
}

void TAnimatedSprite::RunScriptFunction(const TString& name) {
  if (!mScript || name.Length() == 0) return;
  const TString text = TString("\nreturn ") + name;
  mScript->DoLuaString(text.c_str(), text.Length());
}

void TAnimatedSprite::SetTexture(std::shared_ptr<TTexture> texture) {
  TSprite::SetTexture(texture);
  mAnimation = texture && texture->IsKindOf(TAnimatedTexture::GetClassId())
                   ? std::static_pointer_cast<TAnimatedTexture>(texture)
                   : nullptr;
  if (!mAnimation) return;
  const TString script = mAnimation->GetScript();
  GetAnimationScript()->DoLuaString(script.c_str(), script.Length());
}

int TAnimatedSprite::GetFrameCount() const {
  return mAnimation ? mAnimation->GetFrameCount() : 0;
}

void TAnimatedSprite::SetCurrentFrame(int index) {
  if (index < -1) return;
  mCurrentFrame = index;
  if (mAnimation && index < mAnimation->GetFrameCount()) mAnimation->SetCurrentFrame(index);
}

int TAnimatedSprite::WaitNextFrame(lua_State* L) {
  if (TAnimationScript* script = ScriptOf(L)) {
    if (lua_gettop(L) == 1) {
      // A negative time wakes at once rather than in some fifty days.
      const int ms = tvs::NumberToInt(lua_tonumber(L, 1));
      script->SetPeriod(static_cast<uint32_t>(std::max(ms, 0)), false, true, false);
    } else {
      script->Suspend();
    }
  }
  if (!lua_canyield(L)) return 0;
  return lua_yield(L, 0);
}

void TAnimatedSprite::Die() {
  RetireScript();
  DetachChildren();
}

void TAnimatedSprite::Pause(bool pause, int depth) {
  if (mScript) {
    if (pause) {
      mScript->Suspend();
    } else if (mScript->IsYielded()) {
      // Only a script waiting in a yield is resumed: a finished one has nothing to resume
      // and a running one is already on its way.
      mScript->Animate();
    }
  }
  if (depth == 0) return;
  for (const std::shared_ptr<TSprite>& child : std::vector(GetChildren()))
    if (auto animated = CastToAnimatedSprite(child)) animated->Pause(pause, depth - 1);
}

bool TAnimatedSprite::IsPlaying(int depth) {
  if (mScript && mScript->IsYielded()) return true;
  if (depth == 0) return false;
  for (const std::shared_ptr<TSprite>& child : std::vector(GetChildren()))
    if (auto animated = CastToAnimatedSprite(child); animated && animated->IsPlaying(depth - 1))
      return true;
  return false;
}

bool TAnimatedSprite::Load(const TString& file, const TString& image, const TString& mask) {
  mAnimation = TAnimatedTexture::Get(file, image, mask);
  return mAnimation != nullptr;
}

TString TAnimatedSprite::GetScriptText() {
  return mAnimation ? mAnimation->GetScript() : TString();
}

int TAnimatedSprite::Random(int min, int max) {
  if (max <= min) return min;
  const int64_t range = static_cast<int64_t>(max) - min;
  return static_cast<int>(min + TvRand() % range);
}

void TAnimatedSprite::Draw(const TDrawSpec& parent, int depth) {
  if (!IsVisible()) return;
  if (!mAnimation) {
    mSpec.flags &= ~kSpecRegistration;
    TSprite::Draw(parent, depth);
    return;
  }
  if (mCurrentFrame < mAnimation->GetFrameCount()) {
    mAnimation->SetCurrentFrame(mCurrentFrame);
  } else {
    // Never another sprite's frame left on the shared texture: no frame at all.
    if (!mLoggedBadFrame) {
      DebugLog("TAnimatedSprite::Draw: frame %d of %s, which has %d frames", mCurrentFrame,
               mAnimation->GetFileName().c_str(), mAnimation->GetFrameCount());
      mLoggedBadFrame = true;
    }
    mAnimation->SetCurrentFrame(-1);
  }
  const TDrawSpec combined = mSpec.Combine(parent);
  const TDrawSpec spec(combined.GetPosition(), combined.alpha, GetScale(), 0);
  if (depth != 0) DrawChildren(spec, depth, true);
  mAnimation->Draw(spec);
  if (depth != 0) DrawChildren(spec, depth, false);
}
