// The settings map and the options the start-up fills it from.
#include "tvlib/core/TSettings.h"

#include "tvlib/core/TCipher.h"
#include "tvlib/core/TXmlNode.h"

namespace {

constexpr char kCheatSwitch[] = "--cheat";
constexpr char kOptions[] = "options=";

}  // namespace

TString TSettings::GetSetting(const TString& key) const {
  auto found = mValues.find(key);
  return found == mValues.end() ? TString() : found->second;
}

void TSettings::SetSetting(const TString& key, const TString& value) {
  mValues[key] = value;
  if (key != "encryptionkey") return;
  // An empty key or an empty cheat code never switches cheats on.
  TCipher cipher(value);
  TString code = GetSetting("cheatcode");
  TString plain = cipher.IsValid() && code.Length() ? cipher.DecryptText(code) : TString();
  bool match = plain.Length() && plain == GetSetting("computerid");
  mValues["cheatmode"] = match ? "1" : "0";
}

bool TSettings::IsSettingSet(const TString& key) const {
  return GetSetting(key).ToInt() != 0;
}

void TSettings::SetCheatCode(const TString& commandLine) {
  int at = commandLine.Find(kCheatSwitch);
  if (at < 0) return;
  int start = at + static_cast<int>(sizeof kCheatSwitch);  // the switch and one separator
  SetSetting("cheatcode", start < commandLine.Length() ? commandLine.Substr(start) : TString());
}

namespace {

void ReadSettings(TXmlNode& root, TSettings* out) {
  TXmlNode* settings = root.FindChild("settings");
  if (!settings) return;
  settings->ResetChildIterator();
  TString key;
  TXmlNode* child = nullptr;
  while (settings->GetNextChild(&key, &child)) out->SetSetting(key, child->GetText());
}

}  // namespace

void TSettings::LoadSettingsDocument(const TString& name) {
  TXmlNode root;
  root.LoadFile(name);
  ReadSettings(root, this);
}

void TSettings::ReadSettingsDocument(const char* bytes, size_t size) {
  TXmlNode root;
  root.LoadBuffer(bytes, size);
  ReadSettings(root, this);
}

// After "options=": while the rest is not empty and does not begin with a blank, a pair is
// the text up to the first "=" (no "=": stop) and the value up to the first "&" anywhere in
// the rest, or, with no "&" left, up to the first blank. So pairs go on across single words
// that hold "=", and a value runs across blanks up to a later "&".
void TSettings::ParseOptions(const TString& commandLine) {
  int at = commandLine.Find(kOptions);
  if (at < 0) return;
  TString rest = commandLine.Substr(at + static_cast<int>(sizeof kOptions) - 1);
  while (rest.Length() && rest.GetAt(0) != ' ') {
    int equals = rest.FindChar('=');
    if (equals < 0) return;
    TString key = rest.Substr(0, equals);
    rest = rest.Substr(equals + 1);
    int end = rest.FindChar('&');
    if (end < 0) end = rest.FindChar(' ');
    if (end < 0) {
      SetSetting(key, rest);
      return;
    }
    SetSetting(key, rest.Substr(0, end));
    rest = rest.Substr(end + 1);
  }
}
