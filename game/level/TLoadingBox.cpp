// The level's loading box.
#include "game/level/TLoadingBox.h"

#include "game/level/LevelAssets.h"
#include "game/room/TFestraAnimSprite.h"
#include "game/room/TFestraText.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/core/TStringTable.h"
#include "tvlib/media/TAnimatedTexture.h"

namespace {

constexpr float kDialogScale = 1.6666666f;
constexpr int kBarLayer = 10;
constexpr int kTextLayer = 100;
constexpr int kBarX = 283, kBarY = 273;
constexpr int kTextX = 305, kTextY = 315;
constexpr int kTextWidth = 200, kTextHeight = 50;
constexpr int kTextCentred = 5;
constexpr int kTextSize = 36;
constexpr const char* kFont = "fonts/arial.mvec";

}  // namespace

TLoadingBox::TLoadingBox(int layer)
    : TFestraSprite(layer),
      mBackground(TFestraSprite::Create(0)),
      mText(TFestraText::Create(kTextLayer)) {}

TLoadingBox::~TLoadingBox() = default;

void TLoadingBox::Build() {
  mBackground->SetTexture(GetLevelTexture(kBackground));
  mBackground->SetScale(kDialogScale);
  AddChild(mBackground);
  mBackground->PlaceAt(0, 0, kAnchorTopLeft);

  mProgress = TFestraAnimSprite::Create(kBarLayer);
  mProgress->Load(ResolveAssetName(kProgressAnimation, TAssetKind::kAnimation), "", "");
  AddChild(mProgress);
  mProgress->PlaceAt(kBarX, kBarY, kAnchorTopLeft);

  AddChild(mText);
  TPlatform* platform = TPlatform::GetInstance();
  const TString label = platform ? platform->GetStringTable()->GetString(kLabel) : TString(kLabel);
  const float colour[4] = {0.1f, 0.1f, 0.1f, 1.0f};
  mText->SetupText(label, kTextWidth, kTextHeight, kTextCentred,
                   ResolveAssetName(kFont, TAssetKind::kFont), kTextSize, colour);
  mText->PlaceAt(kTextX, kTextY, kAnchorTopLeft);
}

void TLoadingBox::SetProgress(int n) {
  if (!mProgress) return;
  const int last = mProgress->GetFrameCount() - 1;
  mProgress->SetCurrentFrame(n >= last ? last : n);
}
