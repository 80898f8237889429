// The base of every window: a node of the window tree with a rectangle in its parent's
// coordinates, a name, flag bits, its children (the front child is topmost: hit first, drawn
// last), one dirty rectangle (the union of everything invalidated since the last draw) and
// the virtual operations for set-up, drawing, messages and input.
//
// A window owns its children: deleting it deletes its subtree at once. Windows that events
// or messages may still refer to go through the window manager's DeleteLater instead. The
// window manager (TWindowManager::Get) collects dirty windows and routes input; without one,
// windows still keep their own state. UI thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "tvlib/core/TPlatformEvent.h"
#include "tvlib/core/TPoint.h"
#include "tvlib/core/TRect.h"
#include "tvlib/core/TString.h"

class TMessage;
class TWindowAnim;
class TWindowSpider;
class TModalWindow;

// Flag bits of TWindow::GetFlags.
inline constexpr uint32_t kWindowModal = 0x001;             // stops messages, turns input into them
inline constexpr uint32_t kWindowFocusHolder = 0x002;       // a press inside focuses it
inline constexpr uint32_t kWindowLayer = 0x004;             // drawn in the render-target pass
inline constexpr uint32_t kWindowStopInvalidation = 0x008;  // the parent is not told
inline constexpr uint32_t kWindowRadioStart = 0x010;        // first button of a radio group
inline constexpr uint32_t kWindowVisible = 0x100;
inline constexpr uint32_t kWindowCachedLayer = 0x400;  // set by the render-target pass only
inline constexpr uint32_t kWindowDirty = 0x800;        // Draw runs in the next frame step

// DrawTree modes.
inline constexpr int kDrawAll = 0;
inline constexpr int kDrawLayers = 1;    // the render-target pass
inline constexpr int kDrawUncached = 2;  // the main pass of a render-target frame

// Reorder modes.
inline constexpr int kReorderToBack = 0;
inline constexpr int kReorderToFront = 1;
inline constexpr int kReorderForward = 2;
inline constexpr int kReorderBackward = 3;
inline constexpr int kReorderBefore = 4;

// A class identifier: the address of the class's static Create.
using TWindowClassId = const void*;

// Whether a rectangle covers no pixel (right <= left or bottom <= top).
inline bool IsEmptyRect(const TRect& r) {
  return r.right <= r.left || r.bottom <= r.top;
}
inline bool SameRect(const TRect& a, const TRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class TWindow {
 public:
  TWindow();
  virtual ~TWindow();
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;

  // --- Class identity ----------------------------------------------------------------
  static TWindow* Create();
  static TWindowClassId GetClassId();
  virtual bool IsKindOf(TWindowClassId id) const;

  // --- Life cycle --------------------------------------------------------------------
  // Called after AddChild(child, true) or a push on the modal stack; false refuses the child.
  virtual bool Init() { return true; }
  virtual void OnCreated() {}
  virtual void PostCreate() {}
  // Draws the window's own content; called only while the window is dirty.
  virtual void Draw() {}

  // --- Tree --------------------------------------------------------------------------
  // Inserts at the front (when not yet a child), grows this window to cover the child and,
  // with `init`, runs the child's Init; a refusal detaches the child again and answers false.
  virtual bool AddChild(TWindow* child, bool init);
  // Invalidates the child's area and takes it out of the list; returns its old parent.
  virtual TWindow* RemoveChild(TWindow* child);
  TWindow* SetParent(TWindow* parent);
  TWindow* GetParent() const { return mParent; }
  const std::vector<TWindow*>& GetChildren() const { return mChildren; }
  void Reorder(int mode, TWindow* sibling = nullptr);
  void MoveBefore(TWindow* sibling) { Reorder(kReorderBefore, sibling); }
  // This window or a descendant named `name`, children first-hit in list order; depth 0
  // tests only this window, -1 is unlimited.
  TWindow* FindChild(const TString& name, int depth);
  // The front-most visible child whose rectangle holds the point (edges included); this
  // window when none.
  TWindow* FindChildAt(const TPoint& point);
  // The deepest visible window under the point, at most `depth` levels down (-1: no limit);
  // null when depth is 0.
  TWindow* FindWindowAt(const TPoint& point, int depth);
  // The nearest proper ancestor that is a modal window.
  TModalWindow* FindModalAncestor() const;
  // Visits the direct children front to back (back to front with `reverse`) until a visit
  // answers false; a visit may remove the child it is given. Returns the last answer.
  bool ForEachChild(TWindowSpider* spider, bool reverse = false);
  // Hands every child to the window manager for deletion.
  void DeleteChildren();

  void SetName(const TString& name) { mName = name; }
  TString GetName() const { return mName; }
  uint32_t GetId() const { return mId; }
  // The id as "%8x".
  TString GetIdText() const;
  uint32_t GetFlags() const { return mFlags; }
  void SetFlags(uint32_t flags) { mFlags = flags; }
  void AddFlags(uint32_t flags) { mFlags |= flags; }
  void ClearFlags(uint32_t flags) { mFlags &= ~flags; }
  bool IsVisible() const { return (mFlags & kWindowVisible) != 0; }
  bool IsDirty() const { return (mFlags & kWindowDirty) != 0; }

  // --- Geometry ----------------------------------------------------------------------
  const TRect& GetRect() const { return mRect; }
  int GetWidth() const { return mRect.right - mRect.left; }
  int GetHeight() const { return mRect.bottom - mRect.top; }
  TRect GetLocalRect() const { return TRect{0, 0, GetWidth(), GetHeight()}; }
  TRect GetScreenRect() const;
  void LocalToParent(TPoint* point) const;
  void ParentToLocal(TPoint* point) const;
  void LocalToScreen(TPoint* point) const;
  void ScreenToLocal(TPoint* point) const;
  void SetPosition(int x, int y);
  // right = left + width, bottom = top + height; invalidates the old and the new area.
  void SetSize(int width, int height);
  virtual void SetScrollPosition(float /*position*/, uint32_t /*flag*/) {}

  // --- Redraw ------------------------------------------------------------------------
  // Marks an area in local coordinates (null: the whole window) to redraw; a rectangle whose
  // right or bottom is 0 is ignored.
  void Invalidate(const TRect* area = nullptr);
  // Adds to the dirty rectangle (null: the local rectangle); true when an existing one grew.
  // A window that always redraws more than it is asked to widens `area` to that.
  virtual bool AddDirtyRect(TRect* area);
  // The dirty rectangle, null when none is kept (dirty as a whole or clean).
  const TRect* GetDirtyRect() const { return mHasDirtyRect ? &mDirtyRect : nullptr; }
  // Marks `area` (local; null: the whole window) dirty, cut to the window, and, with `climb`,
  // passes it on to the parent. On return `area` is what this window will redraw.
  bool InvalidateArea(TRect* area, bool skipRoot, bool climb);
  // Passes this window's dirty area on to the children it covers.
  void PropagateDirty();
  // Draws this window (when dirty) and its subtree in `mode`; false when it was skipped.
  bool DrawTree(int mode);

  // --- Input and messages ------------------------------------------------------------
  // Routes an event whose point is in this window's coordinates (see TWindow.cpp).
  void HandleEvent(const TPlatformEvent& event, bool focusTaken);
  // Delivers a message (owned from now on) from this window up to its modal window, then to
  // the window script.
  void SendMessage(TMessage* message);
  virtual bool OnMessage(TMessage* /*message*/) { return false; }
  virtual bool Animate() { return false; }
  virtual bool OnMouseDown(TPoint* /*point*/) { return false; }
  virtual bool OnMouseButton(TPoint* /*point*/, int /*button*/) { return false; }
  virtual bool OnMouseUp(TPoint* /*point*/) { return false; }
  virtual bool OnMouseMove(TPoint* /*point*/) { return false; }
  virtual bool OnMouseLeave() { return false; }
  virtual bool RequestPause() { return false; }
  // A typed character of the 8-bit text (0-255); characters beyond it never arrive here.
  virtual bool OnChar(int /*character*/) { return false; }
  virtual bool OnKeyDown(int /*key*/, uint32_t /*modifiers*/) { return false; }
  virtual bool OnKeyUp(int /*key*/) { return false; }
  virtual bool OnMouseHover(TPoint* /*point*/) { return false; }
  virtual void OnFocus(TWindow* /*previous*/) {}

  // --- Animation ---------------------------------------------------------------------
  // The window's task, made on first use and given to its modal ancestor's task list.
  TWindowAnim* GetAnim();
  void SetAnimPeriod(uint32_t period, bool repeat, bool fromNow, bool catchUp);

 private:
  friend class TWindowAnim;
  bool DispatchEvent(const TPlatformEvent& event, TPoint* point);

  TWindow* mParent = nullptr;
  std::vector<TWindow*> mChildren;  // [0] is the front
  TRect mRect;
  TString mName;
  uint32_t mFlags = kWindowVisible;
  uint32_t mId;
  bool mHasDirtyRect = false;
  TRect mDirtyRect;
  TWindowAnim* mAnim = nullptr;
  bool mAnimOwned = false;  // no task list took the anim: the window deletes it
};
