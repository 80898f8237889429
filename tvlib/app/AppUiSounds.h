// The windows' sound effects over the engine's sounds: each is the shared sound asset of its
// file, decoded into memory and played in the effects group.
#pragma once

#include <memory>

#include "tvlib/ui/TUiSounds.h"

std::unique_ptr<TUiSounds> MakeAppUiSounds();
