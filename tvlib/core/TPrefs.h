// The game's persistent settings and per-player values, in "user:prefs.dat".
//
// One XML tree: an "install" element per installation sharing the user folder (keyed by the
// setting "installkey", or the text of "install.txt" beside the program), holding one
// "global" element and one "user" element per player slot; values are attribute texts.
// With the setting "encryptionkey" set, the file holds the tree enciphered (Base64 in
// data1) and a checksum of the plain text (data2). A file that fails to load (bad checksum,
// wrong key, not the store's XML, too large) gives an empty store and a log line, and is
// kept aside before the first save replaces it, under the first free name of "prefs.dat.bad",
// "prefs.dat.bad.1", "prefs.dat.bad.2"... An enciphered store met when no key is set is never
// saved over. Saving locks the folder, writes a temporary file of a unique name beside the
// store, syncs it, renames it over the old one and syncs the folder, so copies of the program
// saving at once each leave a whole file. Needs POSIX (flock, mkostemp).
#pragma once

#include <cstddef>

#include "tvlib/core/TSettings.h"
#include "tvlib/core/TString.h"
#include "tvlib/core/TXmlNode.h"

class TPrefs {
 public:
  // Reads "encryptionkey" and "installkey" from `settings`, then loads the store.
  TPrefs(const TSettings& settings, bool saveEnabled);

  // player < 0: the global value; a missing slot or key, or an empty value, gives the default.
  TString GetString(const TString& key, const TString& defaultValue, int player);
  // player >= 0 creates the user slots up to it; `save` writes the file at once.
  void SetString(const TString& key, const TString& value, int player, bool save);
  int GetInt(const TString& key, int defaultValue, int player);
  void SetInt(const TString& key, int value, int player, bool save);
  // -1 when absent; 0 with the bytes copied when `size` holds them; else the size needed.
  int GetBinary(const TString& key, void* buffer, int size, int player);
  void SetBinary(const TString& key, const void* bytes, int length, int player, bool save);
  int GetUserCount() const;
  // Removes the slot (later slots move down); out of range does nothing. Does not save.
  void DeleteUser(int player);

  void PrefsSave();

 private:
  void PrefsLoad();
  enum class TLoad { kLoaded, kRejected, kNeedsKey };
  TLoad LoadDocument();
  TXmlNode* Global();
  TXmlNode* User(int player) const;

  TXmlNode mDocument;
  TXmlNode* mBranch = nullptr;
  TString mKey;
  TString mInstallKey;
  bool mSaveEnabled;
  bool mKeepBadFile = false;  // the loaded file was rejected and is still to be kept aside
};

// Reads a store's file bytes (enciphered with `key` unless it is empty) into `out`; false,
// leaving `out` alone, when they are not a store this program wrote.
bool ParsePrefsStore(const char* bytes, size_t length, const TString& key, TXmlNode* out);

// The checksum of the enciphered form: each byte, sign-extended, XORed in at a shift of
// 8 * (i mod 4) bits. "AB" gives 16961.
int PrefsChecksum(const TString& text);
