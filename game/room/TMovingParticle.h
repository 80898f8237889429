// A room sprite that flies to a target point in per-axis steps, optionally bouncing between
// two points for a while, carrying up to two icons and a floating text: the level's floating
// score texts, hearts, stars and mood icons. The level steps it with UpdateMove until that
// answers false, then drops it.
//
// A step is speed x elapsed ms pixels, at least 1 while the speed is above 0 (a slow item
// still arrives); a speed of 0 or less keeps the item where it is. UI thread only.
#pragma once

#include <memory>

#include "game/room/TFestraSprite.h"

class TFestraText;

class TMovingParticle : public TFestraSprite {
  TV_SPRITE_CLASS(TMovingParticle, TFestraSprite)

 public:
  static constexpr float kDefaultSpeed = 10.0f;

  explicit TMovingParticle(int layer = 0) : TFestraSprite(layer) {}
  ~TMovingParticle() override;

  void Setup(const TString& image, int targetX, int targetY, float speed);
  // A new icon of the image at (x, y) inside the item.
  void SetIcon(const TString& image, int x, int y);
  void SetSecondIcon(const TString& image, int x, int y);
  // A floating text (mark-up) centred on the item, in "assets/fonts/arial.mvec"; its box is
  // `boxWidth` wide and one line high, two for a text of more than 5 characters.
  void SetText(const TString& text, int targetX, int targetY, float speed, int fontSize,
               int boxWidth, const float colour[4]);
  void PlaceAt(int x, int y) { TFestraSprite::PlaceAt(x, y, kStoredAnchor); }
  // Bounces between (x, y) and the present target for `durationMs`.
  void SetBounce(int x, int y, int durationMs);
  // One step: true while the item keeps moving, false once it has arrived.
  bool UpdateMove(int elapsedMs);

  bool HasArrived() const { return mArrived; }
  TPoint GetTarget() const { return mTarget; }
  const std::shared_ptr<TFestraText>& GetTextChild() const { return mText; }
  const std::shared_ptr<TFestraSprite>& GetIcon() const { return mIcon; }
  const std::shared_ptr<TFestraSprite>& GetSecondIcon() const { return mSecondIcon; }

 private:
  std::shared_ptr<TFestraSprite> MakeIcon(const TString& image, int x, int y);

  std::shared_ptr<TFestraText> mText;
  std::shared_ptr<TFestraSprite> mIcon;
  std::shared_ptr<TFestraSprite> mSecondIcon;
  TPoint mTarget;
  float mSpeed = kDefaultSpeed;
  bool mArrived = false;
  bool mBouncing = false;
  int mBounceLeft = 0;
  TPoint mBounceA;
  TPoint mBounceB;
};
