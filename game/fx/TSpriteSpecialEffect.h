// A special effect that draws one texture at its point: turned by its rotation, scaled
// (over its life or by its pulse) and faded. Without a texture it draws nothing.
#pragma once

#include <memory>

#include "game/fx/TSpecialEffect.h"
#include "tvlib/core/TString.h"

class TTexture;

class TSpriteSpecialEffect : public TSpecialEffect {
 public:
  bool Update(float dt) override;
  void Draw(float scale, const TVec2* position) override;

  void SetTexture(std::shared_ptr<TTexture> texture) { mTexture = std::move(texture); }
  // Loads the named image; a missing one leaves the effect without a texture.
  void SetTextureName(const TString& name);
  const std::shared_ptr<TTexture>& GetTexture() const { return mTexture; }

 private:
  std::shared_ptr<TTexture> mTexture;
};
