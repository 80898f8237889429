// Small parts the level's dialogs share: their children found by name (a missing or wrong
// child is skipped, as every screen does), option buttons dressed with image layers, texts
// in a given style, string-table lookups, sound effects and the marks drawn under buttons.
// UI thread only.
#pragma once

#include <memory>

#include "game/shell/StringLookup.h"
#include "game/shell/TGameSettings.h"
#include "tvlib/core/TString.h"

class TButton;
class TPrefs;
class TSound;
class TText;
class TTexture;
class TWindow;
class TWindowScript;
struct lua_State;

// The scale of the dialogs' pictures (authored at 0.6 of their size on screen).
inline constexpr float kDialogScale = 1.6666666f;
// The volume group of sound effects.
inline constexpr int kEffectsGroup = 1000;

struct TTextStyle {
  const char* font;
  int size;
  float color[4];
  int flags;  // the text block's alignment
};

// The button named `name` below `root` (any depth), or null when there is none or it is no
// button.
TButton* FindButton(TWindow* root, const TString& name);
// Gives a radio button its looks: `image` on layers 0 and 2 (idle, highlighted), `pressed`
// on layers 1 and 3 (pressed, checked), each scaled by kDialogScale; layer 0 shows again.
void DressButton(TButton* button, const TString& image, const TString& pressed);
// Lays the text out anew in a box of the given size in `style`; false for an empty box.
bool SetStyledText(TText* text, const TString& content, int width, int height,
                   const TTextStyle& style);
// A sound effect kept in memory; null when it does not load.
std::shared_ptr<TSound> LoadEffect(const char* name);
// Plays the sound once when there is one.
void PlayOnce(const std::shared_ptr<TSound>& sound);
// The window manager's window script, in which the dialogs' scripts run; null without one.
TWindowScript* DialogScript();
// The state to bind the script functions of `owner` in; null (and a log line) without a
// window script.
lua_State* BindingState(const char* owner);

// The marks a dialog draws under its buttons, inside the platform's 2-D bracket while the
// dialog is drawn: each centred on a point of the screen, at kDialogScale.
class TMarkDrawing {
 public:
  TMarkDrawing();
  ~TMarkDrawing();
  TMarkDrawing(const TMarkDrawing&) = delete;
  TMarkDrawing& operator=(const TMarkDrawing&) = delete;

  void Draw(const std::shared_ptr<TTexture>& mark, float screenX, float screenY) const;

 private:
  bool mBegan = false;
  float mLeft = 0, mTop = 0;  // the viewport drawing is relative to
};
// The point of `window`'s screen rectangle's top-left corner in `parent`'s coordinates.
void ScreenCornerIn(const TWindow* window, const TWindow* parent, int* x, int* y);
