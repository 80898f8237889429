// The slider (window type "Slider"): a horizontal rail with a knob the player drags to set a
// value from 0 to 1. Every value set, by a drag or from outside, sends a message of type
// kSliderMessage named after the slider up its parent's message path.
//
// Style keys, read when the layout script creates it: "railimage", "sliderimage" (the knob),
// "sliderrollimage" (the knob under the pointer), "name" and "scale" (of the images, 1). Its
// size is the rail's width by the taller of the rail and the knob. A slider without a rail
// ignores drags: it has no length to map a point to a value. UI thread only.
#pragma once

#include <memory>

#include "tvlib/ui/TWindow.h"

class TImage;
class TTexture;

// The type of the slider's value notice.
inline constexpr int kSliderMessage = 1000;

class TSlider : public TWindow {
 public:
  TSlider();
  ~TSlider() override;

  static TWindow* Create();
  static TWindowClassId GetClassId();
  bool IsKindOf(TWindowClassId id) const override;

  // Reads the style and adds the rail, then the knob.
  bool Init() override;
  bool OnMouseDown(TPoint* point) override;
  bool OnMouseUp(TPoint* point) override;
  bool OnMouseMove(TPoint* point) override;
  bool OnMouseLeave() override;

  float GetValue() const { return mValue; }
  // Clamps to 0 to 1 (NaN is 0), moves the knob and sends the value notice.
  void SetValue(float value);
  void SetRailImage(std::shared_ptr<TTexture> rail, float scale);
  void SetKnobImages(std::shared_ptr<TTexture> normal, std::shared_ptr<TTexture> rollOver,
                     float scale);

  TImage* GetRail() const { return mRail; }
  TImage* GetKnob() const { return mKnob; }
  bool IsDragging() const { return mDragging; }
  float GetScale() const { return mScale; }

 private:
  void Resize();
  bool HasRail() const;
  bool HasKnob() const;
  bool InRail(const TPoint& point) const;
  bool InKnob(const TPoint& point) const;
  void ShowKnob(bool rollOver);
  void Release();

  // Made at construction, children once initialised (the tree then owns them).
  TImage* mRail;
  TImage* mKnob;
  std::shared_ptr<TTexture> mKnobNormal, mKnobRollOver;
  float mValue = 0.0f;
  float mScale = 1.0f;
  bool mDragging = false;
};
