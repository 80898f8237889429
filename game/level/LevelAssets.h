// Asset names as level scripts write them, and the level's loaders that take them. Scripts
// write a name with or without the "assets/" prefix, with or without its extension and in
// any letter case ("assets/images/Festra Panning/App3Empty", "images/loading/loading",
// "fonts/arial.mvec.mvec"). ResolveAssetName turns such a name into the one name of the
// file it means, and every loader below goes through it, so that each file is loaded and
// cached once whatever the spelling. UI thread only.
#pragma once

#include <memory>

#include "tvlib/core/TString.h"

class TAnimatedTexture;
class TSound;
class TTexture;

// What a name is expected to be: each kind has its known extensions, probed in order.
enum class TAssetKind {
  kPicture,    // ".png", ".jpg"
  kAnimation,  // ".xml", ".anm"
  kSound,      // ".ogg"
  kFont,       // ".mvec"
  kScript,     // ".lua"
};

// The name without the "assets/" prefix, with '/' separators and in lower case, with its
// extension: the name as given when that file exists, else the name with the first known
// extension of the kind under which a file exists. A known extension written twice
// ("arial.mvec.mvec") counts once. A name that names no file comes back in the same form
// without an extension added; the loader that takes it reports it missing.
TString ResolveAssetName(const TString& name, TAssetKind kind);

// The level's loaders: each resolves the name first; a picture, animation or sound that is
// missing answers null and is logged once per name.
std::shared_ptr<TTexture> GetLevelTexture(const TString& name);
std::shared_ptr<TAnimatedTexture> GetLevelAnimation(const TString& name);
// In memory (effects, group 1000) or streamed (music, group 1001).
std::shared_ptr<TSound> GetLevelSound(const TString& name, bool inMemory, int group);
