// The room's pictures by name: textures and animations from the asset folders, where a
// picture that is not there answers null and is reported once per name in the debug log, so
// a room with missing art draws without it and without flooding the log. UI thread only.
#pragma once

#include <memory>

#include "tvlib/core/TString.h"

class TTexture;
class TAnimatedTexture;

// TTexture::Get (name, flags 0); null and one log line per name when it cannot be loaded.
std::shared_ptr<TTexture> GetRoomTexture(const TString& name);
// TAnimatedTexture::Get (name, "", ""); null and one log line per name when missing.
std::shared_ptr<TAnimatedTexture> GetRoomAnimation(const TString& name);
