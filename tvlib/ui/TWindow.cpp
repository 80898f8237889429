// The window tree: geometry, children, invalidation and its propagation, drawing the tree,
// hit tests, event fall-through and message bubbling.
#include "tvlib/ui/TWindow.h"

#include <algorithm>

#include "tvlib/core/TPlatform.h"
#include "tvlib/ui/TMessage.h"
#include "tvlib/ui/TModalWindow.h"
#include "tvlib/ui/TWindowAnim.h"
#include "tvlib/ui/TWindowManager.h"
#include "tvlib/ui/TWindowSpider.h"

namespace {

uint32_t gNextWindowId = 0;

bool IsPointerEvent(uint32_t type) {
  return (type >= kEventLeftDown && type <= kEventMouseMove) || type == kEventMouseHover;
}

TRect Offset(const TRect& r, int dx, int dy) {
  return TRect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

}  // namespace

TWindow::TWindow() : mId(gNextWindowId++) {}

TWindow::~TWindow() {
  if (mAnim) {
    mAnim->mWindow = nullptr;
    if (mAnimOwned) delete mAnim;
  }
  if (mParent) {
    // A window deleted while still a child leaves its parent's list: nothing keeps a pointer
    // to it there.
    TWindow* parent = mParent;
    parent->RemoveChild(this);
  }
  while (!mChildren.empty()) {
    TWindow* child = mChildren.front();
    mChildren.erase(mChildren.begin());
    child->mParent = nullptr;  // a dying parent needs no invalidation
    delete child;
  }
  if (TWindowManager* manager = TWindowManager::Get()) manager->ForgetWindow(this);
}

TWindow* TWindow::Create() {
  return new TWindow;
}

TWindowClassId TWindow::GetClassId() {
  return reinterpret_cast<TWindowClassId>(&TWindow::Create);
}

bool TWindow::IsKindOf(TWindowClassId id) const {
  return id == GetClassId();
}

// --- Tree ------------------------------------------------------------------------------

bool TWindow::AddChild(TWindow* child, bool init) {
  if (!child || child == this) return false;
  if (std::find(mChildren.begin(), mChildren.end(), child) == mChildren.end()) {
    if (child->mParent) child->mParent->RemoveChild(child);
    mChildren.insert(mChildren.begin(), child);
    child->mParent = this;
    mRect.right = std::max(mRect.right, mRect.left + child->mRect.right);
    mRect.bottom = std::max(mRect.bottom, mRect.top + child->mRect.bottom);
  }
  if (init && !child->Init()) {
    child->mParent = nullptr;
    auto at = std::find(mChildren.begin(), mChildren.end(), child);
    if (at != mChildren.end()) mChildren.erase(at);
    return false;
  }
  return true;
}

TWindow* TWindow::RemoveChild(TWindow* child) {
  if (!child) return nullptr;
  auto at = std::find(mChildren.begin(), mChildren.end(), child);
  if (at != mChildren.end()) {
    Invalidate(&child->mRect);
    mChildren.erase(at);
  }
  TWindow* old = child->mParent;
  child->mParent = nullptr;
  return old;
}

TWindow* TWindow::SetParent(TWindow* parent) {
  TWindow* old = mParent;
  mParent = parent;
  return old;
}

void TWindow::Reorder(int mode, TWindow* sibling) {
  if (!mParent) return;
  std::vector<TWindow*>& list = mParent->mChildren;
  auto at = std::find(list.begin(), list.end(), this);
  if (at == list.end()) return;
  size_t index = static_cast<size_t>(at - list.begin());
  switch (mode) {
    case kReorderToFront:
      list.erase(at);
      list.insert(list.begin(), this);
      break;
    case kReorderForward:
      if (index == 0) return;
      std::swap(list[index], list[index - 1]);
      break;
    case kReorderBackward:
      if (index + 1 >= list.size()) return;
      std::swap(list[index], list[index + 1]);
      list[index]->Invalidate();
      break;
    case kReorderBefore: {
      list.erase(at);
      auto target = std::find(list.begin(), list.end(), sibling);
      if (sibling && target != list.end()) {
        list.insert(target, this);
        sibling->Invalidate();
      } else {
        list.push_back(this);
      }
      break;
    }
    default:  // to the back
      list.erase(at);
      list.push_back(this);
      break;
  }
  Invalidate();
}

TWindow* TWindow::FindChild(const TString& name, int depth) {
  if (mName == name) return this;
  if (depth == 0) return nullptr;
  for (TWindow* child : mChildren) {
    if (TWindow* found = child->FindChild(name, depth - 1)) return found;
  }
  return nullptr;
}

TWindow* TWindow::FindChildAt(const TPoint& point) {
  for (TWindow* child : mChildren) {
    if (child->IsVisible() && child->mRect.Contains(point.x, point.y)) return child;
  }
  return this;
}

TWindow* TWindow::FindWindowAt(const TPoint& point, int depth) {
  if (depth == 0) return nullptr;
  // Children are drawn clipped to this window: a point outside it hits none of them.
  if (!GetLocalRect().Contains(point.x, point.y)) return this;
  TWindow* child = FindChildAt(point);
  if (child == this) return this;
  TPoint inChild = point;
  child->ParentToLocal(&inChild);
  TWindow* found = child->FindWindowAt(inChild, depth - 1);
  return found ? found : child;
}

TModalWindow* TWindow::FindModalAncestor() const {
  for (TWindow* w = mParent; w; w = w->mParent) {
    if (w->mFlags & kWindowModal) {
      return w->IsKindOf(TModalWindow::GetClassId()) ? static_cast<TModalWindow*>(w) : nullptr;
    }
  }
  return nullptr;
}

bool TWindow::ForEachChild(TWindowSpider* spider, bool reverse) {
  bool result = true;
  if (mChildren.empty()) return result;
  // The next child is found again by address after each visit (never dereferenced first), so
  // a visit may remove or delete the child it was given.
  TWindow* next = reverse ? mChildren.back() : mChildren.front();
  while (next) {
    TWindow* current = next;
    auto at = std::find(mChildren.begin(), mChildren.end(), current);
    if (at == mChildren.end()) break;
    if (reverse) {
      next = at == mChildren.begin() ? nullptr : *(at - 1);
    } else {
      next = at + 1 == mChildren.end() ? nullptr : *(at + 1);
    }
    result = spider->Visit(current);
    if (!result) break;
  }
  return result;
}

void TWindow::DeleteChildren() {
  ChildrenDelete spider(this, TWindowManager::Get());
  ForEachChild(&spider);
}

TString TWindow::GetIdText() const {
  return TString::Format("%8x", mId);
}

// --- Geometry --------------------------------------------------------------------------

TRect TWindow::GetScreenRect() const {
  TRect r = mRect;
  for (const TWindow* w = mParent; w; w = w->mParent) r = Offset(r, w->mRect.left, w->mRect.top);
  return r;
}

void TWindow::LocalToParent(TPoint* point) const {
  point->x += mRect.left;
  point->y += mRect.top;
}

void TWindow::ParentToLocal(TPoint* point) const {
  point->x -= mRect.left;
  point->y -= mRect.top;
}

void TWindow::LocalToScreen(TPoint* point) const {
  const TRect screen = GetScreenRect();
  point->x += screen.left;
  point->y += screen.top;
}

void TWindow::ScreenToLocal(TPoint* point) const {
  const TRect screen = GetScreenRect();
  point->x -= screen.left;
  point->y -= screen.top;
}

void TWindow::SetPosition(int x, int y) {
  Invalidate();
  const int width = GetWidth(), height = GetHeight();
  mRect = TRect{x, y, x + width, y + height};
  Invalidate();
}

void TWindow::SetSize(int width, int height) {
  if (mParent) mParent->Invalidate(&mRect);
  mHasDirtyRect = false;
  mRect.right = mRect.left + width;
  mRect.bottom = mRect.top + height;
  Invalidate();
}

// --- Redraw ----------------------------------------------------------------------------

void TWindow::Invalidate(const TRect* area) {
  if (area && (area->right == 0 || area->bottom == 0)) return;
  TRect copy = area ? *area : TRect{};
  InvalidateArea(area ? &copy : nullptr, true, true);
}

bool TWindow::AddDirtyRect(TRect* area) {
  const TRect rect = area ? *area : GetLocalRect();
  if (!mHasDirtyRect) {
    mDirtyRect = rect;
    mHasDirtyRect = true;
    return false;
  }
  if (SameRect(rect, mDirtyRect)) return false;
  mDirtyRect.SetUnion(mDirtyRect, rect);
  return true;
}

bool TWindow::InvalidateArea(TRect* area, bool skipRoot, bool climb) {
  if (area) {
    // Only the part inside the window counts; nothing at all when none is.
    area->SetIntersection(*area, GetLocalRect());
    if (IsEmptyRect(*area)) return false;
  }
  // The window may widen the area to all it will redraw; the parent is then told of that.
  AddDirtyRect(area);
  mFlags |= kWindowDirty;
  TWindowManager* manager = TWindowManager::Get();
  if (manager) {
    manager->MarkDirty(this);
    TModalWindow* root = manager->GetRootWindow();
    if (!area && root && SameRect(mRect, root->GetRect())) manager->RequestFullRedraw();
    if (!skipRoot && (mFlags & kWindowCachedLayer) && root && root != this) {
      const TRect screen = GetScreenRect();
      const TRect local = area ? *area : GetLocalRect();
      const TRect onScreen = Offset(local, screen.left, screen.top);
      root->Invalidate(&onScreen);
      return false;
    }
  }
  if (!climb || (mFlags & kWindowStopInvalidation) || !mParent) return false;
  TRect inParent = area ? Offset(*area, mRect.left, mRect.top) : mRect;
  mParent->InvalidateArea(&inParent, false, true);
  return false;
}

void TWindow::PropagateDirty() {
  if (!(mFlags & kWindowDirty) || mChildren.empty()) return;
  if (mHasDirtyRect) {
    TRect area = mDirtyRect;
    TDirtyChildren spider(&area);
    ForEachChild(&spider);
    if (!spider.HasGrown()) {
      mDirtyRect = area;
      return;
    }
    mHasDirtyRect = false;
  }
  TDirtyChildren whole(nullptr);
  ForEachChild(&whole);
}

bool TWindow::DrawTree(int mode) {
  if (!IsVisible()) return false;
  if (mode == kDrawLayers) {
    if (!(mFlags & kWindowLayer) || !mParent || !(mParent->mFlags & kWindowCachedLayer)) {
      return false;
    }
    mFlags |= kWindowCachedLayer;
  } else if (mode == kDrawUncached && (mFlags & kWindowCachedLayer)) {
    return false;
  }
  TPlatform* platform = TPlatform::GetInstance();
  bool pushed = false;
  if (platform) {
    TRect viewport;
    platform->GetViewport(&viewport.left, &viewport.top, &viewport.right, &viewport.bottom);
    TRect visible;
    visible.SetIntersection(GetScreenRect(), viewport);
    if (IsEmptyRect(visible)) {
      // Nothing of the window (nor of its children, which are clipped to it) can show.
      mFlags &= ~kWindowDirty;
      mHasDirtyRect = false;
      return false;
    }
    platform->PushViewport(visible.left, visible.top, visible.right, visible.bottom);
    pushed = true;
  }
  if (mFlags & kWindowDirty) {
    Draw();
    mFlags &= ~kWindowDirty;
  }
  for (size_t i = mChildren.size(); i-- > 0;) {
    if (i >= mChildren.size()) continue;
    TWindow* child = mChildren[i];
    if (!(child->mFlags & kWindowModal)) child->DrawTree(mode);
  }
  if (pushed) platform->PopViewport();
  mHasDirtyRect = false;
  return true;
}

// --- Input and messages ----------------------------------------------------------------

bool TWindow::DispatchEvent(const TPlatformEvent& event, TPoint* point) {
  switch (event.type) {
    case kEventLeftDown:
      return OnMouseDown(point);
    case kEventOtherButton:
      return OnMouseButton(point, static_cast<int>(event.param));
    case kEventLeftUp:
      return OnMouseUp(point);
    case kEventMouseMove:
      return OnMouseMove(point);
    case kEventMouseHover:
      return OnMouseHover(point);
    case kEventKeyDown:
      return OnKeyDown(static_cast<int>(event.param & 0xFF), event.param2);
    case kEventKeyUp:
      return OnKeyUp(static_cast<int>(event.param & 0xFF));
    case kEventChar:
      // The engine's text is 8-bit: a character beyond it (Unicode above U+00FF) is refused
      // rather than becoming whatever its low byte is.
      return event.param <= 0xFF && OnChar(static_cast<int>(event.param));
    default:
      return false;
  }
}

void TWindow::HandleEvent(const TPlatformEvent& event, bool focusTaken) {
  TPoint point{event.x, event.y};
  const bool handled = DispatchEvent(event, &point);
  TWindowManager* manager = TWindowManager::Get();
  if (event.type == kEventLeftDown && !focusTaken) {
    for (TWindow* w = this; w; w = w->mParent) {
      if (w->mFlags & kWindowFocusHolder) {
        if (manager) manager->SetFocus(w);
        break;
      }
    }
    focusTaken = true;
  }
  if (handled) return;
  if (!(mFlags & kWindowModal)) {
    const bool pointer = IsPointerEvent(event.type);
    TPlatformEvent onward = event;
    if (pointer) {
      onward.x += mRect.left;
      onward.y += mRect.top;
    }
    if (!mParent) return;
    std::vector<TWindow*>& siblings = mParent->mChildren;
    auto at = std::find(siblings.begin(), siblings.end(), this);
    if (at != siblings.end()) {
      for (auto it = at + 1; it != siblings.end(); ++it) {
        TWindow* sibling = *it;
        if (!sibling->IsVisible() || !sibling->mRect.Contains(onward.x, onward.y)) continue;
        TPoint inSibling{onward.x, onward.y};
        sibling->ParentToLocal(&inSibling);
        TWindow* target = sibling->FindWindowAt(inSibling, -1);
        TPlatformEvent forTarget = event;
        if (pointer) {
          TPoint screen{onward.x, onward.y};
          mParent->LocalToScreen(&screen);
          target->ScreenToLocal(&screen);
          forTarget.x = screen.x;
          forTarget.y = screen.y;
        }
        target->HandleEvent(forTarget, focusTaken);
        return;
      }
    }
    mParent->HandleEvent(onward, focusTaken);
    return;
  }
  if (!manager) return;
  if (event.type == kEventLeftUp) {
    manager->PostMessage(new TMessage(kMessageRawInput, "mouse:up"));
  } else if (event.type == kEventKeyDown) {
    manager->PostMessage(
        new TMessage(kMessageRawInput, TString("raw:") + static_cast<char>(event.param & 0xFF)));
  }
}

void TWindow::SendMessage(TMessage* message) {
  for (TWindow* w = this; w; w = w->mParent) {
    if (w->OnMessage(message)) {
      delete message;
      return;
    }
    if (w->mFlags & kWindowModal) {
      if (w->IsKindOf(TModalWindow::GetClassId())) {
        TWindow* focusChild = static_cast<TModalWindow*>(w)->GetFocusChild();
        if (focusChild && focusChild->OnMessage(message)) {
          delete message;
          return;
        }
      }
      break;
    }
  }
  // Past the modal window (or off the top of a tree without one): the script's turn.
  if (TWindowManager* manager = TWindowManager::Get()) {
    manager->PostToScript(message);
  } else {
    delete message;
  }
}

// --- Animation -------------------------------------------------------------------------

TWindowAnim* TWindow::GetAnim() {
  if (mAnim) return mAnim;
  mAnim = new TWindowAnim(this);
  TModalWindow* modal = FindModalAncestor();
  if (modal && modal->GetTaskList()) {
    modal->AddTask(mAnim);
    mAnimOwned = false;
  } else {
    mAnimOwned = true;  // no list runs it; it goes with the window
  }
  return mAnim;
}

void TWindow::SetAnimPeriod(uint32_t period, bool repeat, bool fromNow, bool catchUp) {
  GetAnim()->SetPeriod(period, repeat, fromNow, catchUp);
}
