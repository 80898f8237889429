// The preferences store: loading, the install branch, values and the safe save.
#include "tvlib/core/TPrefs.h"

#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TBase64.h"
#include "tvlib/core/TCipher.h"
#include "tvlib/core/TFile.h"
#include "tvlib/core/TFileIndex.h"
#include "tvlib/core/TSafeSave.h"

namespace {

constexpr char kPrefsName[] = "user:prefs.dat";
constexpr char kNotFound[] = "=====";
// A store of a few players is a few kilobytes; anything near this is not ours.
constexpr int kMaxPrefsFile = 4 << 20;
constexpr int kMaxInstallFile = 4096;

// The store's own XML: nothing but install elements under a root without text.
bool IsStoreTree(TXmlNode& root) {
  if (root.GetText().Length()) return false;
  root.ResetChildIterator();
  TString name;
  TXmlNode* child = nullptr;
  while (root.GetNextChild(&name, &child))
    if (name != "install") return false;
  return true;
}

// The writer closes the nameless root last; a plain file cut short lacks it.
bool EndsWithRootEndTag(const std::string& text) {
  size_t end = text.find_last_not_of(std::string(" \t\r\n\0", 5));
  return end != std::string::npos && end >= 2 && text.compare(end - 2, 3, "</>") == 0;
}

}  // namespace

int PrefsChecksum(const TString& text) {
  uint32_t sum = 0;
  const char* p = text.c_str();
  for (int i = 0; p[i]; ++i)
    sum ^= static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(p[i])))
           << (8 * (i % 4));
  return static_cast<int32_t>(sum);
}

TPrefs::TPrefs(const TSettings& settings, bool saveEnabled)
    : mKey(settings.GetSetting("encryptionkey")),
      mInstallKey(settings.GetSetting("installkey")),
      mSaveEnabled(saveEnabled) {
  if (mInstallKey.Length() == 0) mInstallKey = "unknown";
  if (mKey.Length() == 0) DebugLog("ERROR: No encryption key set before TPrefs construction!");
  PrefsLoad();
}

// Fills mDocument from the file.
TPrefs::TLoad TPrefs::LoadDocument() {
  TString path = ResolvePath(kPrefsName);
  if (path.GetAt(0) == '/') RemoveStaleSaveFiles(path.c_str());
  if (access(path.c_str(), F_OK) != 0) return TLoad::kLoaded;  // a first start
  std::string bytes;
  if (!FileReadAll(kPrefsName, kFileReadText, kMaxPrefsFile, &bytes)) return TLoad::kRejected;
  if (ParsePrefsStore(bytes.data(), bytes.size(), mKey, &mDocument)) return TLoad::kLoaded;
  if (mKey.Length() == 0) {
    TXmlNode outer;
    outer.LoadBuffer(bytes.data(), bytes.size());
    if (outer.FindChild("data1") && outer.FindChild("data2")) return TLoad::kNeedsKey;
  }
  return TLoad::kRejected;
}

bool ParsePrefsStore(const char* bytes, size_t length, const TString& key, TXmlNode* out) {
  if (length > static_cast<size_t>(kMaxPrefsFile)) return false;
  std::string plain;
  if (key.Length()) {
    TXmlNode outer;
    outer.LoadBuffer(bytes, length);
    TXmlNode* data1 = outer.FindChild("data1");
    TXmlNode* data2 = outer.FindChild("data2");
    if (!data1 || !data2) return false;
    TString text = TCipher(key).DecryptText(data1->GetAttribute("data"));
    if (text.Length() == 0 || PrefsChecksum(text) != data2->GetAttribute("data").ToInt())
      return false;
    plain = text.c_str();
  } else {
    plain.assign(bytes, length);
    if (!EndsWithRootEndTag(plain)) return false;
  }
  TXmlNode check;
  check.LoadBuffer(plain.data(), plain.size());
  if (!IsStoreTree(check)) return false;
  out->LoadBuffer(plain.data(), plain.size());
  return true;
}

void TPrefs::PrefsLoad() {
  switch (LoadDocument()) {
    case TLoad::kLoaded:
      break;
    case TLoad::kRejected:
      DebugLog("Preferences in %s cannot be read; starting with empty preferences", kPrefsName);
      mKeepBadFile = true;
      break;
    case TLoad::kNeedsKey:
      // A sound store read without its key: the next start with the key must still find it.
      DebugLog(
          "Preferences in %s are enciphered and no key is set; starting with empty "
          "preferences that are not saved",
          kPrefsName);
      mSaveEnabled = false;
      break;
  }
  std::string install;
  if (FileReadAll((TString("::") + GetProgramFolder() + "/install.txt").c_str(), kFileReadText,
                  kMaxInstallFile, &install)) {
    if (!install.empty()) {
      mInstallKey = install.c_str();
    } else {
      TString name;
      TXmlNode* child = nullptr;
      mDocument.ResetChildIterator();
      while (mDocument.GetNextChild(&name, &child))
        if (name == "install") mInstallKey = child->GetAttribute("tvinstallkey");
    }
  }
  TString name;
  TXmlNode* child = nullptr;
  mDocument.ResetChildIterator();
  while (!mBranch && mDocument.GetNextChild(&name, &child))
    if (name == "install" && child->GetAttribute("tvinstallkey") == mInstallKey) mBranch = child;
  if (!mBranch) {
    mBranch = mDocument.AddChild("install");
    mBranch->SetAttribute("tvinstallkey", mInstallKey);
  }
}

void TPrefs::PrefsSave() {
  if (!mSaveEnabled) return;
  TString text = mDocument.ToString();
  TString written = text;
  if (mKey.Length()) {
    TXmlNode outer;
    outer.AddChild("data1")->SetAttribute("data", TCipher(mKey).EncryptText(text));
    outer.AddChild("data2")->SetAttributeInt("data", PrefsChecksum(text));
    written = outer.ToString();
  }
  std::string path = ResolvePath(kPrefsName).c_str();
  TFolderLock lock(path);
  if (mKeepBadFile) {
    // The rejected file may still be worth something to its owner.
    KeepRejectedFile(path, "preferences");
    mKeepBadFile = false;
  }
  // The text and its NUL.
  if (!ReplaceFileSafely(path, written.c_str(), static_cast<size_t>(written.Length()) + 1,
                         kPrivateFileMode, lock))
    DebugLog("Could not save preferences to %s", path.c_str());
}

TXmlNode* TPrefs::Global() {
  TXmlNode* global = mBranch->FindChild("global");
  return global ? global : mBranch->AddChild("global");
}

TXmlNode* TPrefs::User(int player) const {
  if (player < 0) return nullptr;
  TString name;
  TXmlNode* child = nullptr;
  int slot = 0;
  mBranch->ResetChildIterator();
  while (mBranch->GetNextChild(&name, &child))
    if (name == "user" && slot++ == player) return child;
  return nullptr;
}

TString TPrefs::GetString(const TString& key, const TString& defaultValue, int player) {
  TXmlNode* node = player < 0 ? Global() : User(player);
  TString value = node ? node->GetAttribute(key) : TString();
  return value.Length() ? value : defaultValue;
}

void TPrefs::SetString(const TString& key, const TString& value, int player, bool save) {
  TXmlNode* node = nullptr;
  if (player < 0) {
    node = Global();
  } else {
    while (GetUserCount() <= player) mBranch->AddChild("user");
    node = User(player);
  }
  node->SetAttribute(key, value);
  if (save) PrefsSave();
}

int TPrefs::GetInt(const TString& key, int defaultValue, int player) {
  return GetString(key, TString::Format("%d", defaultValue), player).ToInt();
}

void TPrefs::SetInt(const TString& key, int value, int player, bool save) {
  SetString(key, TString::Format("%d", value), player, save);
}

int TPrefs::GetBinary(const TString& key, void* buffer, int size, int player) {
  TString text = GetString(key, kNotFound, player);
  if (text == kNotFound) return -1;
  std::vector<unsigned char> decoded(static_cast<size_t>(Base64DecodedSize(text.Length())));
  int length = Base64Decode(decoded.data(), text.c_str(), text.Length());
  if (!buffer || size < length) return length;
  std::copy(decoded.begin(), decoded.begin() + length, static_cast<unsigned char*>(buffer));
  return 0;
}

void TPrefs::SetBinary(const TString& key, const void* bytes, int length, int player, bool save) {
  std::string text(static_cast<size_t>(Base64EncodedSize(length)), '\0');
  Base64Encode(text.data(), bytes, length);
  SetString(key, text.c_str(), player, save);
}

int TPrefs::GetUserCount() const {
  int count = 0;
  TString name;
  TXmlNode* child = nullptr;
  mBranch->ResetChildIterator();
  while (mBranch->GetNextChild(&name, &child)) count += name == "user";
  return count;
}

void TPrefs::DeleteUser(int player) {
  if (player >= 0 && player < GetUserCount()) mBranch->RemoveChild(User(player));
}
