// A sprite that shows the frames of an animated texture under the control of a small script.
// Each sprite owns a script state of its own, run as a task on the platform's task list, in
// which the animation library ("animationscript.lua", built into the program) and nine
// natives are defined; the animation file's script defines DoAnim, which the sprite runs as
// the body of the script's coroutine. Every wait is a yield that the task resumes after the
// requested milliseconds of the platform clock.
//
// Replacing a script (StartAnimationScript, Die) retires the old one: it leaves the task
// list at once and is deleted later, never while it is running. Drawing a frame beyond the
// animation's frames draws no frame and logs once. UI thread only.
#pragma once

#include <memory>
#include <vector>

#include "tvlib/core/TString.h"
#include "tvlib/media/TSprite.h"
#include "tvlib/script/Api.h"
#include "tvlib/script/TLuaBindings.h"

class TAnimatedTexture;
class TAnimationScript;
class TScript;

class TAnimatedSprite : public TSprite {
  TV_SPRITE_CLASS(TAnimatedSprite, TSprite)

 public:
  explicit TAnimatedSprite(int layer = 0);
  ~TAnimatedSprite() override;

  void Draw(const TDrawSpec& parent, int depth) override;
  // An animated texture becomes the animation, and its script text is run in the sprite's
  // script (defining its functions; nothing plays yet). Any other texture ends the animation.
  void SetTexture(std::shared_ptr<TTexture> texture) override;

  // A fresh script with the library and the natives; the old one is retired.
  void StartAnimationScript();
  // The script, made by StartAnimationScript when there is none.
  TScript* GetAnimationScript();
  // Makes the named script function the coroutine the script task runs, started at once.
  void RunScriptFunction(const TString& name);
  int GetFrameCount() const;
  int GetCurrentFrame() const { return mCurrentFrame; }
  const std::shared_ptr<TAnimatedTexture>& GetAnimatedTexture() const { return mAnimation; }
  bool HasScript() const { return mScript != nullptr; }

  // The natives, also for the sprite's owners.
  // Below -1 ignored; the animation's frame follows only for an index it has.
  void SetCurrentFrame(int index);
  // One argument: the task runs again that many ms from now; none: it waits for Pause
  // (false). Then yields, unless the call cannot yield (a native call is in progress).
  int WaitNextFrame(lua_State* L);
  // Retires the script and detaches every child; the sprite stays in its parent.
  void Die();
  // true suspends the script's task; false resumes a script waiting in a yield at once. A
  // depth other than 0 reaches the animated children with depth - 1 (-1: the whole tree).
  void Pause(bool pause, int depth);
  // The script is waiting in a yield, or (depth not 0) an animated child answers true.
  bool IsPlaying(int depth);
  // The animation becomes TAnimatedTexture::Get of the names; the plain texture stays.
  bool Load(const TString& file, const TString& image, const TString& mask);
  TString GetScriptText();
  void SetAlpha(float alpha) { mSpec.alpha = alpha; }
  // min + TvRand() mod (max - min); min when max is not above min.
  int Random(int min, int max);

 private:
  friend class TAnimationScript;

  void RetireScript();
  // Deletes every retired script that is neither running nor still on the task list.
  void DeleteRetired();
  void DeleteScript(TAnimationScript* script);
  // Called by a script that something else (the task list emptied at shutdown) destroys.
  void ForgetScript(TAnimationScript* script);
  // The script whose state is L (current or retired), or null.
  TAnimationScript* ScriptOf(lua_State* L) const;
  void RegisterNatives(lua_State* L);

  int mCurrentFrame = 0;
  std::shared_ptr<TAnimatedTexture> mAnimation;
  TAnimationScript* mScript = nullptr;
  std::vector<TAnimationScript*> mRetired;
  bool mLoggedBadFrame = false;
  TLuaBindings mBindings;
};

// The sprite as an animated sprite when it is one, else empty.
std::shared_ptr<TAnimatedSprite> CastToAnimatedSprite(const std::shared_ptr<TSprite>& sprite);
