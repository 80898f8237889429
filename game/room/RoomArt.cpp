// Room pictures by name, with one log line for each name that is missing.
#include "game/room/RoomArt.h"

#include <set>
#include <string>

#include "tvlib/core/DebugLog.h"
#include "tvlib/media/TAnimatedTexture.h"
#include "tvlib/render/TTexture.h"

namespace {

void ReportMissing(const char* function, const TString& name) {
  static std::set<std::string> reported;
  if (reported.insert(name.c_str()).second) DebugLog("%s: %s is missing", function, name.c_str());
}

}  // namespace

std::shared_ptr<TTexture> GetRoomTexture(const TString& name) {
  std::shared_ptr<TTexture> texture = TTexture::Get(name, 0);
  if (!texture) ReportMissing("GetRoomTexture", name);
  return texture;
}

std::shared_ptr<TAnimatedTexture> GetRoomAnimation(const TString& name) {
  std::shared_ptr<TAnimatedTexture> animation = TAnimatedTexture::Get(name, "", "");
  if (!animation) ReportMissing("GetRoomAnimation", name);
  return animation;
}
