// The front-end screens' shared parts.
#include "game/frontend/FrontendParts.h"

#include "game/frontend/LevelProgress.h"
#include "game/shell/TGameSettings.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TFileIndex.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/core/TPrefs.h"
#include "tvlib/core/TStringTable.h"
#include "tvlib/ui/TButton.h"
#include "tvlib/ui/TText.h"
#include "tvlib/ui/TWindowManager.h"

TPrefs* FrontendPrefs() {
  TGameSettings* settings = TGameSettings::Get();
  return settings ? settings->GetPrefs() : nullptr;
}

int FrontendPlayer() {
  TGameSettings* settings = TGameSettings::Get();
  return settings ? settings->GetCurrentUserIndex() : -1;
}

int ReadPlayerInt(const char* key, int defaultValue, int player) {
  TPrefs* prefs = FrontendPrefs();
  return prefs ? prefs->GetInt(key, defaultValue, player) : defaultValue;
}

void WritePlayerInt(const char* key, int value, int player) {
  if (TPrefs* prefs = FrontendPrefs()) prefs->SetInt(key, value, player, true);
}

TString FrontendString(const char* label) {
  TPlatform* platform = TPlatform::GetInstance();
  TStringTable* table = platform ? platform->GetStringTable() : nullptr;
  return table ? table->GetString(label) : TString();
}

TWindowScript* FrontendScript() {
  TWindowManager* manager = TWindowManager::Get();
  return manager ? manager->GetWindowScript() : nullptr;
}

lua_State* FrontendBindingState(const char* owner) {
  TWindowScript* script = FrontendScript();
  if (!script) {
    DebugLog("%s: no window script for its functions", owner);
    return nullptr;
  }
  return script->GetState();
}

TText* FindText(TWindow* root, const char* name) {
  return root ? TText::CastToText(root->FindChild(name, -1)) : nullptr;
}

TButton* FindButtonNamed(TWindow* root, const char* name) {
  return root ? TButton::CastToButton(root->FindChild(name, -1)) : nullptr;
}

TWindowDrawing::TWindowDrawing(const TWindow* window) {
  TPlatform* platform = TPlatform::GetInstance();
  if (!platform) return;
  mBegan = !platform->IsIn2d() && platform->Begin2d();
  mDrawing = platform->IsIn2d();
  // Drawing positions count from the current viewport's corner.
  int left = 0, top = 0, right = 0, bottom = 0;
  platform->GetViewport(&left, &top, &right, &bottom);
  const TRect screen = window->GetScreenRect();
  mOrigin = TVec2(static_cast<float>(screen.left - left), static_cast<float>(screen.top - top));
}

TWindowDrawing::~TWindowDrawing() {
  if (mBegan) TPlatform::GetInstance()->End2d();
}

TString FindLevelScript(bool endless, int venue, int level) {
  const TString script = LevelScriptName(endless, venue, level);
  if (FileExists(script)) return script;
  DebugLog("Front end: no level script %s; the level is not started", script.c_str());
  return TString();
}

void OpenLevelScript(const TString& script, bool endless, int venue) {
  if (endless) WritePlayerInt("arcadeLevel", venue, kGlobalPrefs);
  if (TWindowManager* manager = TWindowManager::Get()) {
    manager->PushDialog(script, TString(), TString(), script);
  }
}
