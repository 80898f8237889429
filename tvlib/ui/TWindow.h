// The base of every window: a rectangle of the window tree that can be marked dirty.
//
// First cut: only the size and dirty-area operations the platform uses; the tree, the
// visitors, drawing and input handling come with the windows-and-text subsystem.
#pragma once

#include "tvlib/core/TRect.h"

class TWindow {
 public:
  virtual ~TWindow() = default;
  virtual void Init() {}

  // right = left + width, bottom = top + height; invalidates the old and the new area.
  void SetSize(int width, int height);
  // Marks an area (null: the whole window) to redraw; a rectangle with a zero right or
  // bottom edge is ignored.
  void Invalidate(const TRect* area = nullptr);

  const TRect& GetRect() const { return mRect; }
  bool IsDirty() const { return mDirty; }
  const TRect& GetDirtyRect() const { return mDirtyRect; }

 private:
  TRect mRect;
  bool mDirty = false;
  TRect mDirtyRect;
};
