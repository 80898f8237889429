// The clickable window: a push, toggle or radio button whose looks are image layers (one per
// state), with up to three state sounds, an optional pixel hit mask, an optional action, a
// "label" text child and options that make it report to the screen, close its modal window
// with "gReturnValue", be the default button or start a radio group. A click is reported as
// a type-3 message carrying the button's name.
//
// Needs the window manager for the mouse capture and the message queue, and the window
// script for "gReturnValue" and Lua actions. UI thread only.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "tvlib/core/TString.h"
#include "tvlib/ui/TLayeredWindow.h"

class TLuaObjectWrapper;
class TUiSound;
class TTexture;

// Button types.
inline constexpr int kButtonPush = 0;
inline constexpr int kButtonToggle = 1;
inline constexpr int kButtonRadio = 2;

// Button states.
inline constexpr int kButtonIdle = 0;
inline constexpr int kButtonPressed = 1;
inline constexpr int kButtonHover = 2;
inline constexpr int kButtonFired = 3;

// Option bits of TButton::GetOptions.
inline constexpr uint8_t kButtonToScreen = 0x01;  // the click goes to the top modal's parent
inline constexpr uint8_t kButtonChecked = 0x02;
inline constexpr uint8_t kButtonReturnValue = 0x04;  // closes its modal, sets "gReturnValue"
inline constexpr uint8_t kButtonDefault = 0x08;      // pressed by Enter in its modal window

// Bits of TButton::SetOptions.
inline constexpr uint32_t kSetBeginGroup = 0x01;
inline constexpr uint32_t kSetToScreen = 0x02;
inline constexpr uint32_t kSetReturnValue = 0x04;
inline constexpr uint32_t kSetDefault = 0x08;

class TButton : public TLayeredWindow {
 public:
  // What a button does when it fires, besides its click message.
  class Action {
   public:
    virtual ~Action() = default;
    virtual bool Run(TButton* button) = 0;
  };
  // Hands a type-8 message "LuaAction:<name>" with its Lua callable to the window script.
  class LuaAction : public Action {
   public:
    explicit LuaAction(std::unique_ptr<TLuaObjectWrapper> callable);
    ~LuaAction() override;
    bool Run(TButton* button) override;

   private:
    std::unique_ptr<TLuaObjectWrapper> mCallable;
  };

  // type: kButtonPush (3 layers), kButtonToggle or kButtonRadio (4 layers).
  explicit TButton(int type = kButtonPush);
  ~TButton() override;

  static TWindow* Create();
  static TWindowClassId GetClassId();
  bool IsKindOf(TWindowClassId id) const override;
  // The window as a button, or null.
  static TButton* CastToButton(TWindow* window);

  int GetType() const { return static_cast<int>(mButtonBits & 0xF); }
  void SetType(int type);
  int GetState() const { return static_cast<int>((mButtonBits >> 4) & 0x7); }
  virtual void SetState(int state);
  uint8_t GetOptions() const { return mOptions; }
  // kSet* bits; options are only ever added.
  void SetOptions(uint32_t bits);
  bool IsChecked() const { return (mOptions & kButtonChecked) != 0; }
  // A radio button being checked unchecks the other buttons of its group.
  void SetChecked(bool checked);
  void SetAction(Action* action);
  Action* GetAction() const { return mAction.get(); }
  // The sound of state `index` (0 idle, 1 pressed: the click, 2 hover), looked up once in
  // the window manager's sounds (TUiSounds) and kept; empty: none.
  void SetSound(int index, const TString& soundName);
  // The name kept for state `index`; empty for none or an index outside 0-2.
  TString GetSound(int index) const;
  void SetLabel(const TString& label) { mLabel = label; }
  const TString& GetLabel() const { return mLabel; }
  // The text of the descendant "label" when it is a text window.
  void SetLabelText(const TString& text);
  TString GetLabelText();
  // Copies the image's pixels as the hit mask; a black pixel (its first three bytes below 20)
  // is not part of the button. A null or unlockable image removes the mask.
  void SetHitMask(TTexture* image);
  int GetHitMaskWidth() const { return mHitMaskWidth; }
  int GetHitMaskHeight() const { return mHitMaskHeight; }

  bool Init() override;
  bool OnMouseDown(TPoint* point) override;
  bool OnMouseUp(TPoint* point) override;
  bool OnMouseMove(TPoint* point) override;
  bool OnMouseLeave() override;
  virtual void OnStateChange(int newState, int oldState);

  // Posts the close message (return-value option), runs the action and posts the click
  // message. True when the action changed the top modal window.
  bool Fire();
  // Whether the point (button coordinates) misses the button; a miss also leaves it idle.
  bool IsOutside(const TPoint& point);

 protected:
  // Plays the sound of a state when there is one and the button is visible; the one place a
  // button plays a sound.
  virtual void PlayStateSound(int state);

 private:
  uint32_t mButtonBits = 0;
  uint8_t mOptions = 0;
  std::unique_ptr<Action> mAction;
  struct StateSound {
    TString name;
    std::shared_ptr<TUiSound> sound;  // null when the name gives no sound
  };
  std::array<StateSound, 3> mSounds;
  TString mLabel;
  std::vector<uint8_t> mHitMask;  // 4 bytes a pixel, rows packed
  int mHitMaskWidth = 0;
  int mHitMaskHeight = 0;
};
