// The resolution of asset names written by level scripts, and the loaders over it.
#include "game/level/LevelAssets.h"

#include <strings.h>

#include <array>
#include <cstring>
#include <set>
#include <span>
#include <string>

#include "game/room/RoomArt.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TFileIndex.h"
#include "tvlib/media/TSound.h"

namespace {

constexpr std::array<const char*, 2> kPictureExtensions = {".png", ".jpg"};
constexpr std::array<const char*, 2> kAnimationExtensions = {".xml", ".anm"};
constexpr std::array<const char*, 1> kSoundExtensions = {".ogg"};
constexpr std::array<const char*, 1> kFontExtensions = {".mvec"};
constexpr std::array<const char*, 1> kScriptExtensions = {".lua"};

std::span<const char* const> ExtensionsOf(TAssetKind kind) {
  switch (kind) {
    case TAssetKind::kPicture:
      return kPictureExtensions;
    case TAssetKind::kAnimation:
      return kAnimationExtensions;
    case TAssetKind::kSound:
      return kSoundExtensions;
    case TAssetKind::kFont:
      return kFontExtensions;
    case TAssetKind::kScript:
      return kScriptExtensions;
  }
  return {};
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Lower case, '/' separators, no "assets/" prefix.
std::string Canonical(const TString& name) {
  std::string text = name.c_str();
  for (char& c : text) {
    if (c == '\\') c = '/';
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  constexpr const char kPrefix[] = "assets/";
  if (text.compare(0, std::strlen(kPrefix), kPrefix) == 0) text.erase(0, std::strlen(kPrefix));
  return text;
}

// Drops a known extension that follows itself, as often as it does.
void DropDoubledExtensions(std::string& text, std::span<const char* const> extensions) {
  for (bool dropped = true; dropped;) {
    dropped = false;
    for (const char* extension : extensions) {
      const std::string twice = std::string(extension) + extension;
      if (EndsWith(text, twice)) {
        text.resize(text.size() - std::strlen(extension));
        dropped = true;
      }
    }
  }
}

void ReportMissing(const char* loader, const TString& name) {
  static std::set<std::string> reported;
  if (reported.insert(name.c_str()).second) DebugLog("%s: %s is missing", loader, name.c_str());
}

}  // namespace

TString ResolveAssetName(const TString& name, TAssetKind kind) {
  std::string text = Canonical(name);
  const std::span<const char* const> extensions = ExtensionsOf(kind);
  DropDoubledExtensions(text, extensions);
  if (text.empty() || FileExists(TString(text.c_str()))) return TString(text.c_str());
  for (const char* extension : extensions) {
    const std::string probed = text + extension;
    if (FileExists(TString(probed.c_str()))) return TString(probed.c_str());
  }
  return TString(text.c_str());
}

std::shared_ptr<TTexture> GetLevelTexture(const TString& name) {
  return GetRoomTexture(ResolveAssetName(name, TAssetKind::kPicture));
}

std::shared_ptr<TAnimatedTexture> GetLevelAnimation(const TString& name) {
  return GetRoomAnimation(ResolveAssetName(name, TAssetKind::kAnimation));
}

std::shared_ptr<TSound> GetLevelSound(const TString& name, bool inMemory, int group) {
  const TString file = ResolveAssetName(name, TAssetKind::kSound);
  std::shared_ptr<TSound> sound = TSound::Get(file.c_str(), inMemory, group);
  if (!sound) ReportMissing("GetLevelSound", file);
  return sound;
}
