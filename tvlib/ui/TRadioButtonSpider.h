// Unchecks the other buttons of a radio button's group. Run over the parent's children back
// to front: pass 0 (kFindGroup) finds the last group start (flag kWindowRadioStart) before the
// button, pass 1 (kClearOthers) unchecks every other button from that start up to the next
// group start.
#pragma once

#include "tvlib/ui/TWindowSpider.h"

class TButton;

class TRadioButtonSpider : public TWindowSpider {
 public:
  static constexpr int kFindGroup = 0;
  static constexpr int kClearOthers = 1;

  explicit TRadioButtonSpider(TButton* checked) : mChecked(checked) {}
  void SetMode(int mode) { mMode = mode; }
  TWindow* GetGroupStart() const { return mGroupStart; }
  bool Visit(TWindow* window) override;

 private:
  int mMode = kFindGroup;
  bool mFound = false;
  TWindow* mGroupStart = nullptr;
  TButton* mChecked;
};
