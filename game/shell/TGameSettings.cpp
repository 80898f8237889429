// The profile and settings service: players, their sound settings and the display choice,
// kept in the preferences store and saved with every write.
#include "game/shell/TGameSettings.h"

#include <utility>

#include "tvlib/app/TPlatformData.h"
#include "tvlib/app/TPortal.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/core/TPrefs.h"
#include "tvlib/hiscore/TTvHiscores.h"
#include "tvlib/media/TSoundManager.h"

namespace {

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr int kGlobal = -1;  // the store's global node
constexpr int kDefaultGroup = 0;
constexpr char kGameId[] = "festravask";

TGameSettings* gInstance = nullptr;

}  // namespace

TGameSettings* TGameSettings::Get() {
  return gInstance;
}

void TGameSettings::Recreate() {
  Destroy();
  gInstance = new TGameSettings();
}

void TGameSettings::Destroy() {
  if (!gInstance) return;
  gInstance->mPrefs.reset();
  gInstance->mHiscores.reset();
  delete gInstance;
  gInstance = nullptr;
}

TGameSettings::TGameSettings() {
  RegisterScriptFunctions();
  TPlatform* platform = TPlatform::GetInstance();
  // Setting the key also decides the cheat mode.
  platform->SetSetting("encryptionkey", kEncryptionKey);
  const TSettings& settings = platform->GetData()->settings;
  mPrefs = std::make_unique<TPrefs>(settings, true);
  mHiscores =
      std::make_unique<TTvHiscores>(settings, kGameId, platform->GetVersionString().c_str(), true);
  mHiscores->SetQueryField(TTvHiscores::kFieldMode, HiscoreModeId(0));
  SetCurrentUser(mPrefs->GetInt("curuser", -1, kGlobal));
}

TGameSettings::~TGameSettings() = default;

void TGameSettings::SetupDisplay() {
  bool full = mPrefs->GetInt("fullscreen", 1, kGlobal) == 1;
  TPlatform::GetInstance()->InitDisplay(kScreenWidth, kScreenHeight, full);
  ApplyVolumes();
}

bool TGameSettings::IsFullScreen() {
  return TPlatform::GetInstance()->IsFullscreen();
}

void TGameSettings::StoreFullScreen() {
  mPrefs->SetInt("fullscreen", IsFullScreen() ? 1 : 0, kGlobal, true);
}

bool TGameSettings::ToggleFullScreen() {
  bool full = !IsFullScreen();
  if (!TPlatform::GetInstance()->SetFullscreen(full)) return false;
  mPrefs->SetInt("fullscreen", full ? 1 : 0, kGlobal, true);
  return true;
}

void TGameSettings::ToggleSoundMute() {
  int user = GetCurrentUserIndex();
  int muted = (mPrefs->GetInt("soundoff", 0, user) + 1) % 2;
  mPrefs->SetInt("soundoff", muted, user, true);
  ApplyMasterVolume(muted ? 0.0f : 1.0f);
}

void TGameSettings::SetCurrentGameMode(int mode) {
  const char* id = HiscoreModeId(mode);
  if (!id) return;
  mGameMode = mode;
  mHiscores->SetQueryField(TTvHiscores::kFieldMode, id);
}

void TGameSettings::UseHiscores(std::unique_ptr<TTvHiscores> hiscores) {
  mHiscores = std::move(hiscores);
  mHiscores->SetQueryField(TTvHiscores::kFieldMode, HiscoreModeId(mGameMode));
  const int user = GetCurrentUserIndex();
  if (user >= 0 && user < GetNumUsers())
    mHiscores->SetQueryField(TTvHiscores::kFieldPlayer, GetUserName(user).c_str());
}

void TGameSettings::SetAnonymousMode(int value) {
  mAnonymousMode = value == 1 || value == 2 ? value : 0;
}

int TGameSettings::GetCurrentUserIndex() {
  return mPrefs->GetInt("curuser", -1, kGlobal);
}

TString TGameSettings::GetCurrentUserName() {
  return GetUserName(mPrefs->GetInt("curuser", 0, kGlobal));
}

TString TGameSettings::GetUserName(int index) {
  return mPrefs->GetString("name", "", index);
}

int TGameSettings::GetNumUsers() {
  return mPrefs->GetUserCount();
}

bool TGameSettings::IsNameInUse(const TString& name) {
  for (int i = 0; i < GetNumUsers(); ++i)
    if (GetUserName(i) == name) return true;
  return false;
}

void TGameSettings::SetCurrentUser(int index) {
  // A negative index other than -1 (a damaged store, a script's mistake) means no user too,
  // rather than the global node standing in for one.
  if (index >= GetNumUsers() || index < 0) {
    mPrefs->SetInt("curuser", -1, kGlobal, true);
    return;
  }
  mPrefs->SetInt("curuser", index, kGlobal, true);
  mHiscores->SetQueryField(TTvHiscores::kFieldPlayer, GetUserName(index).c_str());
  ApplyVolumes();
}

void TGameSettings::CreateNewUser(const TString& name) {
  int index = GetNumUsers();
  mPrefs->SetString("name", name, index, true);
  int current = GetCurrentUserIndex();
  mPrefs->SetInt("soundlevel", mPrefs->GetInt("soundlevel", kDefaultSoundLevel, current), index,
                 true);
  mPrefs->SetInt("musiclevel", mPrefs->GetInt("musiclevel", kDefaultMusicLevel, current), index,
                 true);
  mPrefs->SetInt("soundoff", mPrefs->GetInt("soundoff", 0, current), index, true);
  SetCurrentUser(index);
}

void TGameSettings::ChangeCurrentUserName(const TString& name) {
  mPrefs->SetString("name", name, mPrefs->GetInt("curuser", 0, kGlobal), true);
}

void TGameSettings::DeleteUser(int index) {
  mPrefs->DeleteUser(index);
  int next = index - 1;
  if (next < 0) next = GetNumUsers() - 1;
  SetCurrentUser(next);
}

void TGameSettings::ApplyVolumes() {
  TSoundManager* sound = TPlatform::GetInstance()->GetSoundManager();
  if (!sound) return;
  int user = GetCurrentUserIndex();
  float effects = float(mPrefs->GetInt("soundlevel", kDefaultSoundLevel, user)) / 1000.0f;
  float music = float(mPrefs->GetInt("musiclevel", kDefaultMusicLevel, user)) / 1000.0f;
  sound->SetGroupVolume(TSoundManager::kGroupEffects, effects);
  sound->SetGroupVolume(kDefaultGroup, effects);
  sound->SetGroupVolume(TSoundManager::kGroupMusic, music);
  ApplyMasterVolume(mPrefs->GetInt("soundoff", 0, user) != 0 ? 0.0f : 1.0f);
}

bool TGameSettings::IsCheatMode() {
  return TPlatform::GetInstance()->IsSettingSet("cheatmode");
}

TPrefs* ProfilePrefs() {
  TGameSettings* settings = TGameSettings::Get();
  return settings ? settings->GetPrefs() : nullptr;
}

int CurrentPlayer() {
  TGameSettings* settings = TGameSettings::Get();
  return settings ? settings->GetCurrentUserIndex() : -1;
}
