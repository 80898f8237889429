// The four kinds' set-up from an effect file entry, in the order each kind applies its keys
// (later keys override what earlier ones set).
#include "game/fx/TEffectBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "game/fx/TEffectParams.h"
#include "game/fx/TParticleSpecialEffect.h"
#include "game/fx/TSoundSpecialEffect.h"
#include "game/fx/TSpriteSpecialEffect.h"
#include "game/fx/TTextSpecialEffect.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/core/TStringTable.h"

namespace {

constexpr int kDefaultFontSize = 30;
// Bounds on sizes read from a file, which is outside input: beyond them a text would only
// cost time to lay out and could not be seen whole.
constexpr int kMaxFontSize = 512;
constexpr int kMaxOutlineSize = 64;

// A number truncated to a whole number within [lo, hi] (NaN gives lo).
int TruncateWithin(double value, int lo, int hi) {
  if (!(value > lo)) return lo;
  if (value >= hi) return hi;
  return static_cast<int>(std::trunc(value));
}

// Raw reads of one entry table.
class TEntry {
 public:
  TEntry(lua_State* L, int index) : mL(L), mIndex(index) {}

  // Pushes the field's value; the caller pops it.
  void Push(const char* key) const {
    lua_pushstring(mL, key);
    lua_rawget(mL, mIndex);
  }
  bool Has(const char* key) const {
    Push(key);
    const bool has = !lua_isnil(mL, -1);
    lua_pop(mL, 1);
    return has;
  }
  bool IsFromGame(const char* key) const {
    Push(key);
    const bool fromGame = lua_type(mL, -1) == LUA_TSTRING && lua_strlen(mL, -1) == 8 &&
                          std::memcmp(lua_tostring(mL, -1), "fromgame", 8) == 0;
    lua_pop(mL, 1);
    return fromGame;
  }
  // A number, or `current` when the field is absent or not a number.
  float Number(const char* key, float current) const {
    Push(key);
    const float value = lua_isnumber(mL, -1) ? static_cast<float>(lua_tonumber(mL, -1)) : current;
    lua_pop(mL, 1);
    return value;
  }
  bool Bool(const char* key, bool current) const {
    Push(key);
    const bool value = lua_isnil(mL, -1) ? current : lua_toboolean(mL, -1) != 0;
    lua_pop(mL, 1);
    return value;
  }
  // A string (numbers converted), or "" when absent or another kind of value.
  TString String(const char* key) const {
    Push(key);
    TString value;
    if (lua_isstring(mL, -1))
      value = TString(lua_tostring(mL, -1),
                      static_cast<int>(std::min<size_t>(lua_strlen(mL, -1), 1u << 20)));
    lua_pop(mL, 1);
    return value;
  }
  // Fields "x" and "y" of a table field (each 0 when absent); false when it is no table.
  bool Point(const char* key, TVec2* out) const {
    Push(key);
    const bool table = lua_istable(mL, -1);
    if (table) {
      const TEntry inner(mL, lua_gettop(mL));
      *out = TVec2(inner.Number("x", 0.0f), inner.Number("y", 0.0f));
    }
    lua_pop(mL, 1);
    return table;
  }
  // Fields "r", "g" and "b" of a table field (each 1 when absent) with alpha 1; false when
  // it is no table.
  bool Color(const char* key, float out[4]) const {
    Push(key);
    const bool table = lua_istable(mL, -1);
    if (table) {
      const TEntry inner(mL, lua_gettop(mL));
      out[0] = inner.Number("r", 1.0f);
      out[1] = inner.Number("g", 1.0f);
      out[2] = inner.Number("b", 1.0f);
      out[3] = 1.0f;
    }
    lua_pop(mL, 1);
    return table;
  }
  // A number key that may say "fromgame": then the caller's value, or `current` without
  // parameters.
  float NumberOrGame(const char* key, float current, const TEffectParams* params,
                     float TEffectParams::*field) const {
    if (IsFromGame(key)) return params ? params->*field : current;
    return Number(key, current);
  }

 private:
  lua_State* mL;
  int mIndex;
};

// "position": "fromgame" takes the caller's position or the position it follows (for
// particles both); a table sets it.
void ReadPosition(const TEntry& entry, const TEffectParams* params, TSpecialEffect& effect,
                  bool particles) {
  if (entry.IsFromGame("position")) {
    if (!params) return;
    if (params->followedPosition) effect.SetFollowedPosition(params->followedPosition);
    if (particles || !params->followedPosition)
      effect.SetPosition(params->position);
    else
      effect.SetPosition(*params->followedPosition);
    return;
  }
  TVec2 position;
  if (entry.Point("position", &position)) effect.SetPosition(position);
}

// Position, scales and rotation, the caller's offset and target, and "position_offset".
void ReadPlacement(const TEntry& entry, const TEffectParams* params, TSpecialEffect& effect) {
  ReadPosition(entry, params, effect, false);
  effect.SetScales(
      entry.NumberOrGame("start_scale", effect.GetStartScale(), params, &TEffectParams::startScale),
      entry.NumberOrGame("end_scale", effect.GetEndScale(), params, &TEffectParams::endScale));
  effect.SetRotation(
      entry.NumberOrGame("rotation", effect.GetRotation(), params, &TEffectParams::rotation));
  if (params) {
    effect.SetPositionOffset(params->positionOffset);
    effect.SetTargetPosition(params->targetPosition);
  }
  TVec2 offset;
  if (entry.Point("position_offset", &offset)) {
    effect.SetPositionOffset(offset);
    effect.SetUseOffset(true);
  }
}

// Duration, fade-out point, rotation speed and velocity of the sprite-like kinds.
void ReadMotion(const TEntry& entry, const TEffectParams* params, TSpecialEffect& effect) {
  effect.SetDuration(entry.Number("duration", effect.GetDuration()));
  effect.SetFadeOutPoint(entry.Number("fadeout_point", effect.GetFadeOutPoint()));
  effect.SetRotationSpeed(entry.NumberOrGame("rotation_speed", effect.GetRotationSpeed(), params,
                                             &TEffectParams::rotationSpeed),
                          entry.Bool("randomize_rotation_speed", false));
  effect.SetSpeedToTarget(entry.NumberOrGame("velocity", 0.0f, params, &TEffectParams::velocity));
}

void ReadOffsetSwitchAndPulse(const TEntry& entry, TSpecialEffect& effect) {
  effect.SetUseOffset(entry.Bool("use_position_offset", effect.GetUseOffset()));
  effect.SetPulseInterval(entry.Number("pulse_interval", effect.GetPulseInterval()));
}

// A duration the caller gives overrides the one the velocity or the file set.
void ApplyCallerDuration(const TEffectParams* params, TSpecialEffect& effect) {
  if (params && params->duration > 0.0f) effect.SetDuration(params->duration);
}

std::unique_ptr<TSpecialEffect> BuildSprite(const TEntry& entry, const TEffectParams* params) {
  auto effect = std::make_unique<TSpriteSpecialEffect>();
  if (params) {
    if (params->texture)
      effect->SetTexture(params->texture);
    else if (params->textureName.Length() > 0)
      effect->SetTextureName(params->textureName);
    effect->SetBaseAlpha(params->alpha);
  }
  ReadPlacement(entry, params, *effect);
  ReadMotion(entry, params, *effect);
  ApplyCallerDuration(params, *effect);
  ReadOffsetSwitchAndPulse(entry, *effect);
  const TString texture = entry.String("texture_name");
  if (texture.Length() > 0) effect->SetTextureName(texture);
  return effect;
}

std::unique_ptr<TSpecialEffect> BuildText(const TEntry& entry, const TEffectParams* params) {
  auto effect = std::make_unique<TTextSpecialEffect>();
  if (params) effect->SetBaseAlpha(params->alpha);
  int outlineSize = 0;
  float outlineColor[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  if (entry.IsFromGame("outline")) {
    if (params) {
      outlineSize = std::clamp(params->outlineSize, 0, kMaxOutlineSize);
      std::copy(params->outlineColor, params->outlineColor + 4, outlineColor);
    }
  } else {
    outlineSize = TruncateWithin(entry.Number("outline", 0.0f), 0, kMaxOutlineSize);
    if (outlineSize > 0) entry.Color("outlineColor", outlineColor);
  }
  effect->SetOutline(outlineSize, outlineColor);
  TString text;
  if (params) text = params->text;
  ReadPlacement(entry, params, *effect);
  ReadMotion(entry, params, *effect);
  ReadOffsetSwitchAndPulse(entry, *effect);
  float color[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  entry.Color("color", color);
  const TString label = entry.String("text");
  if (label.Length() > 0) {
    TPlatform* platform = TPlatform::GetInstance();
    TStringTable* strings = platform ? platform->GetStringTable() : nullptr;
    text = strings ? strings->GetString(label) : label;
  }
  const int fontSize = TruncateWithin(entry.Number("font_size", kDefaultFontSize), 1, kMaxFontSize);
  effect->Init(text, entry.String("font"), fontSize, color, outlineSize, outlineColor);
  return effect;
}

std::unique_ptr<TSpecialEffect> BuildSound(const TEntry& entry, const TEffectParams* params) {
  auto effect = std::make_unique<TSoundSpecialEffect>();
  if (params) {
    if (params->sound)
      effect->SetSound(params->sound);
    else if (params->soundName.Length() > 0)
      effect->SetSoundName(params->soundName);
  }
  effect->SetDuration(entry.Number("duration", TSoundSpecialEffect::kDefaultDuration));
  effect->SetLooping(entry.Bool("looping", false));
  if (!(entry.Bool("override_sound_from_game", false) && effect->GetSound())) {
    const TString name = entry.String("sound_name");
    if (name.Length() > 0) effect->SetSoundName(name);
  }
  return effect;
}

std::unique_ptr<TSpecialEffect> BuildParticles(const TEntry& entry, const TEffectParams* params) {
  auto effect = std::make_unique<TParticleSpecialEffect>();
  if (params && params->particleScriptName.Length() > 0)
    effect->LoadScript(params->particleScriptName);
  ReadPosition(entry, params, *effect, true);
  if (params) {
    effect->SetBaseAlpha(params->alpha);
    effect->SetPositionOffset(params->positionOffset);
    effect->SetTargetPosition(params->targetPosition);
  }
  TVec2 offset;
  if (entry.Point("position_offset", &offset)) {
    effect->SetPositionOffset(offset);
    effect->SetUseOffset(true);
  }
  effect->SetSpeedToTarget(entry.NumberOrGame("velocity", 0.0f, params, &TEffectParams::velocity));
  ApplyCallerDuration(params, *effect);
  effect->SetFadeOutPoint(entry.Number("fadeout_point", effect->GetFadeOutPoint()));
  ReadOffsetSwitchAndPulse(entry, *effect);
  const TString script = entry.String("particles_script");
  if (script.Length() > 0) effect->LoadScript(script);
  return effect;
}

}  // namespace

std::unique_ptr<TSpecialEffect> BuildSpecialEffect(lua_State* L, int entryIndex,
                                                   const TEffectParams* params) {
  const TEntry entry(L, entryIndex);
  const TString type = entry.String("type");
  if (type == "particles") return BuildParticles(entry, params);
  if (type == "sprite") return BuildSprite(entry, params);
  if (type == "text") return BuildText(entry, params);
  if (type == "sound") return BuildSound(entry, params);
  return nullptr;
}
