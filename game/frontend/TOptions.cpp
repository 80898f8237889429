// The options window: its boxes and sliders from the settings, volumes applied and stored.
#include "game/frontend/TOptions.h"

#include "game/frontend/ScreenParts.h"
#include "game/frontend/TSlider.h"
#include "game/shell/TGameSettings.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/core/TPrefs.h"
#include "tvlib/media/TSoundManager.h"
#include "tvlib/ui/TButton.h"
#include "tvlib/ui/TMessage.h"

namespace {

constexpr char kFullScreenBox[] = "fullscreen";
constexpr char kMuteBox[] = "mutebox";
constexpr char kEffectsSlider[] = "sfxlevelslider";
constexpr char kMusicSlider[] = "musiclevelslider";

TSoundManager* SoundManager() {
  TPlatform* platform = TPlatform::GetInstance();
  return platform ? platform->GetSoundManager() : nullptr;
}

// A slider value in thousandths, truncated. The float of a stored level can lie a hair below
// it (251 reads back as 0.25099999), so a millionth is added first: a level saved unchanged
// stays as it was, and 0.4999 is still 499.
int Thousandths(float value) {
  return static_cast<int>(static_cast<double>(value) * 1000.0 + 1e-3);
}

// A stored level in thousandths as a slider value.
float StoredLevel(TPrefs* prefs, const char* key, int def) {
  const int level = prefs ? prefs->GetInt(key, def, CurrentPlayer()) : def;
  return static_cast<float>(level) / 1000.0f;
}

}  // namespace

TOptions::TOptions() {
  BindScriptFunctions();
}

TOptions::~TOptions() = default;

TWindow* TOptions::Create() {
  return new TOptions;
}

TWindowClassId TOptions::GetClassId() {
  return reinterpret_cast<TWindowClassId>(&TOptions::Create);
}

bool TOptions::IsKindOf(TWindowClassId id) const {
  return id == GetClassId() || TWindow::IsKindOf(id);
}

void TOptions::PostCreate() {
  TGameSettings* settings = TGameSettings::Get();
  TPrefs* prefs = ProfilePrefs();
  if (TButton* box = FindChildOf<TButton>(this, kFullScreenBox)) {
    box->SetChecked(settings && settings->IsFullScreen());
  }
  if (TButton* box = FindChildOf<TButton>(this, kMuteBox)) {
    box->SetChecked(prefs && prefs->GetInt("soundoff", 0, CurrentPlayer()) == 1);
  }
  // Each value set sends the slider's notice, which applies it (OnMessage).
  if (TSlider* slider = FindChildOf<TSlider>(this, kEffectsSlider)) {
    slider->SetValue(StoredLevel(prefs, "soundlevel", TGameSettings::kDefaultSoundLevel));
  }
  if (TSlider* slider = FindChildOf<TSlider>(this, kMusicSlider)) {
    slider->SetValue(StoredLevel(prefs, "musiclevel", TGameSettings::kDefaultMusicLevel));
  }
}

bool TOptions::OnMessage(TMessage* message) {
  if (message->mType != kSliderMessage) return false;
  TSlider* slider = FindChildOf<TSlider>(this, message->mName);
  if (!slider) return false;
  TSoundManager* sound = SoundManager();
  if (message->mName == kEffectsSlider) {
    if (sound) {
      sound->SetGroupVolume(kEffectsVolumeGroup, slider->GetValue());
      sound->SetGroupVolume(kDefaultVolumeGroup, slider->GetValue());
    }
    return true;
  }
  if (message->mName == kMusicSlider) {
    if (sound) sound->SetGroupVolume(kMusicVolumeGroup, slider->GetValue());
    return true;
  }
  return false;
}

void TOptions::SaveVolumes() {
  TPrefs* prefs = ProfilePrefs();
  if (!prefs) return;
  const int player = CurrentPlayer();
  if (TSlider* slider = FindChildOf<TSlider>(this, kEffectsSlider)) {
    prefs->SetInt("soundlevel", Thousandths(slider->GetValue()), player, true);
  }
  if (TSlider* slider = FindChildOf<TSlider>(this, kMusicSlider)) {
    prefs->SetInt("musiclevel", Thousandths(slider->GetValue()), player, true);
  }
}
