// What a caller hands to an effect file when it starts one: the values an entry marked
// "fromgame" takes, and a few that apply whatever the file says (texture, sound, alpha,
// offset, target, duration). Every field has its default from construction; a caller sets
// only what it computed. The followed position is borrowed: it must outlive the effects
// that follow it.
#pragma once

#include <memory>

#include "tvlib/core/TString.h"
#include "tvlib/core/TVec.h"

class TSound;
class TSprite;
class TTexture;

struct TEffectParams {
  std::shared_ptr<TTexture> texture;
  TString textureName;
  std::shared_ptr<TSound> sound;
  TString soundName;
  TVec2 position;
  const TVec2* followedPosition = nullptr;
  TVec2 positionOffset;
  float duration = -1.0f;  // seconds; not above 0: the file decides
  float alpha = 1.0f;
  float velocity = 0.0f;       // a speed towards the target, units per second
  float rotation = 0.0f;       // degrees
  float rotationSpeed = 0.0f;  // degrees per second
  float startScale = 1.0f;
  float endScale = 1.0f;
  TVec2 targetPosition;
  TString text;
  int outlineSize = 0;
  float outlineColor[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  TString particleScriptName;
  // The sprite the caller started the effects for, when it names one; held weakly, so an
  // effect never keeps a room object alive. The effects themselves do not read it.
  std::weak_ptr<TSprite> owner;
};
