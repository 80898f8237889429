// The game's profile and settings service: the preferences store and the hiscore service it
// owns, the current game mode, the anonymous-play mode, the players ("users") kept in the
// store with their sound settings, and the full-screen choice.
//
// One instance, made by Recreate and reached through Get. Every write it makes is saved at
// once (the store writes its file atomically). Global preferences: "curuser" (-1, no user)
// and "fullscreen" (1); per user: "name" (""), "soundlevel" (750), "musiclevel" (640) and
// "soundoff" (0), volumes in thousandths. Needs the platform, and its window script for the
// script functions. UI thread only.
#pragma once

#include <memory>

#include "tvlib/core/TString.h"
#include "tvlib/script/TLuaBindings.h"

class TPrefs;
class TTvHiscores;

class TGameSettings {
 public:
  // The key text both the store and the hiscore service take their cipher key from.
  static constexpr char kEncryptionKey[] = "Hw7pKd2RtXbQ";
  static constexpr int kDefaultSoundLevel = 750;
  static constexpr int kDefaultMusicLevel = 640;

  // The instance; null before Recreate and after Destroy.
  static TGameSettings* Get();
  // Destroys an existing instance, then builds a new one on the platform.
  static void Recreate();
  // Deletes the store, then the hiscore service, then the instance; nothing when none.
  static void Destroy();

  ~TGameSettings();
  TGameSettings(const TGameSettings&) = delete;
  TGameSettings& operator=(const TGameSettings&) = delete;

  // 800 x 600, full screen exactly when "fullscreen" is 1, then the volumes.
  void SetupDisplay();
  bool IsFullScreen();
  // Writes the display's full-screen state to "fullscreen".
  void StoreFullScreen();
  // Switches the display mode; stores the new state and answers true when it switched.
  bool ToggleFullScreen();
  // Flips the current user's "soundoff" and sets the master volume to match.
  void ToggleSoundMute();
  // 0 to 3, also the hiscore service's mode id; other values are ignored.
  void SetCurrentGameMode(int mode);
  int GetCurrentGameMode() const { return mGameMode; }
  // 1 and 2 are kept, anything else is 0.
  void SetAnonymousMode(int value);
  int GetAnonymousMode() const { return mAnonymousMode; }

  int GetCurrentUserIndex();
  TString GetCurrentUserName();
  TString GetUserName(int index);
  int GetNumUsers();
  // Exact comparison: names differing only in letter case are different.
  bool IsNameInUse(const TString& name);
  // An index not below the user count, or a negative one, leaves no user current.
  void SetCurrentUser(int index);
  // Adds a user with the current user's sound settings and makes it current.
  void CreateNewUser(const TString& name);
  void ChangeCurrentUserName(const TString& name);
  // Removes the user and selects the one before it, or the last one left.
  void DeleteUser(int index);
  // The current user's volumes to sound groups 1000 and 0, music group 1001 and the master.
  void ApplyVolumes();
  bool IsCheatMode();

  TPrefs* GetPrefs() { return mPrefs.get(); }
  TTvHiscores* GetHiscores() { return mHiscores.get(); }
  // Puts `hiscores` in place of the service made at construction (the screens' tests hand in
  // one with scripted answers) and gives it the current game mode and player.
  void UseHiscores(std::unique_ptr<TTvHiscores> hiscores);

 private:
  TGameSettings();
  void RegisterScriptFunctions();

  std::unique_ptr<TPrefs> mPrefs;
  std::unique_ptr<TTvHiscores> mHiscores;
  int mGameMode = 0;
  int mAnonymousMode = 0;
  TLuaBindings mBindings;
};

// The profile service's preferences store; null without the service.
TPrefs* ProfilePrefs();
// The current player's index (-1: none, or no profile service).
int CurrentPlayer();
