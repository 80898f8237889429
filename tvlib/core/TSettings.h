// The program's map of named text settings, filled at start-up from values the framework
// computes, "settings.xml" and the "options=" part of the command line (in that order), and
// read by key everywhere. The platform object owns the one instance and forwards its
// GetSetting, SetSetting and IsSettingSet to it.
//
// Keys are case-sensitive (byte-wise order); an absent key reads as the empty text. Setting
// "encryptionkey" also decides "cheatmode": "1" only when "cheatcode", deciphered under the
// new key, is the machine's "computerid". UI thread only.
#pragma once

#include <cstddef>
#include <map>

#include "tvlib/core/TString.h"

class TSettings {
 public:
  // The value of `key`, inserting it empty when it is new.
  TString& GetSettingRef(const TString& key) { return mValues[key]; }
  // The value, or empty; nothing is inserted.
  TString GetSetting(const TString& key) const;
  void SetSetting(const TString& key, const TString& value);
  // The value read as a decimal integer is not 0.
  bool IsSettingSet(const TString& key) const;

  // "cheatcode" = the command line after "--cheat" and one separator, when it has one.
  void SetCheatCode(const TString& commandLine);
  // One setting per child element of the document's "settings" element (later ones win).
  void LoadSettingsDocument(const TString& name);
  // The same from the document's bytes.
  void ReadSettingsDocument(const char* bytes, size_t size);
  // The "options=" pairs: "options=a=1&b=2"; see the .cpp for the exact word rules.
  void ParseOptions(const TString& commandLine);

 private:
  std::map<TString, TString> mValues;
};
