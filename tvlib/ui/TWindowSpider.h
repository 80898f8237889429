// Spiders: visitors over the children of a window (TWindow::ForEachChild), and the ones the
// window layer itself uses: marking children dirty, deleting them later and clearing flags.
#pragma once

#include <cstdint>

#include "tvlib/core/TRect.h"

class TWindow;
class TWindowManager;

class TWindowSpider {
 public:
  virtual ~TWindowSpider() = default;
  // false stops the walk.
  virtual bool Visit(TWindow* window) = 0;
};

// Marks the children dirty over the part of a rectangle (in the parent's coordinates; null:
// everything) each covers, and their children in turn. Reports growth when a child's dirty
// area reached beyond the rectangle, so that the caller marks the parent dirty as a whole.
class TDirtyChildren : public TWindowSpider {
 public:
  explicit TDirtyChildren(TRect* area) : mArea(area) {}
  bool Visit(TWindow* window) override;
  bool HasGrown() const { return mGrown; }

 private:
  TRect* mArea;
  bool mGrown = false;
};

// Takes each child out of the parent and hands it to the window manager to delete later.
class ChildrenDelete : public TWindowSpider {
 public:
  ChildrenDelete(TWindow* parent, TWindowManager* manager) : mParent(parent), mManager(manager) {}
  bool Visit(TWindow* window) override;

 private:
  TWindow* mParent;
  TWindowManager* mManager;
};

// Clears flag bits 8-15 where the mask's bits are clear (bits 0-7 always stay), on the
// children and, when recursive, on their descendants.
class TWindowClearFlags : public TWindowSpider {
 public:
  TWindowClearFlags(uint32_t mask, bool recursive) : mMask(mask), mRecursive(recursive) {}
  bool Visit(TWindow* window) override;
  // The same on one window.
  void Apply(TWindow* window) const;

 private:
  uint32_t mMask;
  bool mRecursive;
};
