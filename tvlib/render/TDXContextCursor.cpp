// The software cursor and the present: save-under surfaces, the cursor thread's polls, the
// cursor drawn into every frame, and the cursor image's restore after a lost device.
#include <algorithm>
#include <chrono>
#include <thread>

#include "tvlib/core/DebugLog.h"
#include "tvlib/platform/window/TWindowBackend.h"
#include "tvlib/render/TDXContext.h"
#include "tvlib/render/TDxDisplayHandlerData.h"
#include "tvlib/render/TTexture.h"

namespace {

// The cursor thread draws at most this often, and waits about 5 ms for the mutex: tries
// spaced by a short sleep (a timed lock of this mutex is invisible to ThreadSanitizer).
constexpr uint32_t kPollMs = 16;
constexpr int kPollTries = 20;
constexpr auto kPollTryGap = std::chrono::microseconds(250);
// The game area the cursor is kept to when drawn into the back buffer.
constexpr float kGameWidth = 800.0f;
constexpr float kGameHeight = 600.0f;

// Re-entry guard of RestoreMouseImage (SetCursorImage may lead back into it).
bool gRestoringMouseImage = false;

int Round(float v) {
  return static_cast<int>(v + 0.5f);
}

bool Same(TPoint a, TPoint b) {
  return a.x == b.x && a.y == b.y;
}

}  // namespace

MouseTextureListener::~MouseTextureListener() {
  if (mContext) mContext->listener = nullptr;
}

bool MouseTextureListener::Run() {
  if (mContext) mContext->RestoreMouseImage();
  return true;
}

float TDXContext::Scale() const {
  float scale = 1.0f;
  if (host) host->GetDisplayScale(&scale);
  return scale;
}

void TDXContext::RequestRepaint() {
  if (host) host->RequestRepaint();
}

void TDXContext::ReadCursorPosition() {
  int x = 0, y = 0;
  if (!pointerSource || !pointerSource(&x, &y)) return;
  // The presenter may show the image scaled (full screen, or a window of another size than
  // asked): the pointer is read where the image lies under it.
  if (sd::TPresenter* presenter = display.GetPresenter()) presenter->DesktopToImage(&x, &y);
  const sd::TRect& screen = display.GetScreenRect();
  float scale = Scale();
  cursorPos = TPoint{static_cast<int>((x - screen.left) / scale),
                     static_cast<int>((y - screen.top) / scale)};
}

sd::TRect TDXContext::DrawClip(bool toBack) const {
  if (!toBack) return display.GetScreenRect();
  float scale = Scale();
  return sd::TRect{0, 0, Round(kGameWidth * scale), Round(kGameHeight * scale)};
}

sd::TSurface* TDXContext::DrawTarget(bool toBack) const {
  return toBack ? display.GetBackBuffer().get() : display.GetPrimary().get();
}

bool TDXContext::CursorBlit(TPoint at, const sd::TRect& clip, bool saveUnderSource,
                            TCursorBlit* out) const {
  float scale = Scale();
  int width = Round(cursorWidth * scale), height = Round(cursorHeight * scale);
  int left = Round(at.x * scale) + hotOffset.x + clip.left;
  int top = Round(at.y * scale) + hotOffset.y + clip.top;
  sd::TRect dest{left, top, left + width, top + height};
  sd::TRect source =
      saveUnderSource ? sd::TRect{0, 0, width, height} : sd::TRect{0, 0, cursorWidth, cursorHeight};
  // An edge cut by d screen pixels moves the matching source edge by d in source pixels.
  float perPixel = saveUnderSource ? 1.0f : 1.0f / scale;
  auto cut = [perPixel](int d) { return static_cast<int>(d * perPixel); };
  if (dest.left < clip.left) {
    source.left += cut(clip.left - dest.left);
    dest.left = clip.left;
  }
  if (dest.top < clip.top) {
    source.top += cut(clip.top - dest.top);
    dest.top = clip.top;
  }
  if (dest.right > clip.right) {
    source.right -= cut(dest.right - clip.right);
    dest.right = clip.right;
  }
  if (dest.bottom > clip.bottom) {
    source.bottom -= cut(dest.bottom - clip.bottom);
    dest.bottom = clip.bottom;
  }
  if (dest.IsEmpty() || source.IsEmpty()) return false;
  out->dest = dest;
  out->source = source;
  return true;
}

bool TDXContext::SurfaceFailed(sd::HR hr) {
  if (hr == sd::kErrSurfaceLost) {
    surfacesLost = true;
    cursorDrawn = false;
    return true;
  }
  if (hr == sd::kErrOutOfVideoMemory) OutOfVideoMemory();
  return false;
}

sd::HR TDXContext::EraseCursor() {
  TCursorBlit blit;
  sd::TSurface* target = DrawTarget(drawToBack);
  if (!target || !saveUnder[saveIndex].Get()) return sd::kOk;
  if (!CursorBlit(lastDrawnPos, DrawClip(drawToBack), true, &blit)) return sd::kOk;
  return target->Blt(&blit.dest, saveUnder[saveIndex].Get(), &blit.source, sd::kBltWait);
}

void TDXContext::EraseCursorFromBackBuffer() {
  std::lock_guard<std::recursive_timed_mutex> lock(mouseMutex);
  if (!cursorWidth || !cursorHeight || !cursorDrawn) return;
  TCursorBlit blit;
  if (!CursorBlit(cursorPos, DrawClip(true), true, &blit)) return;
  bool wasToBack = drawToBack;
  drawToBack = true;
  EraseCursor();
  drawToBack = wasToBack;
  cursorDrawn = false;
}

TPoint TDXContext::UpdateCursor(int x, int y, bool force) {
  bool poll = x == -1;
  // Every cursor field is read under the mutex; the thread's poll waits only briefly for it so
  // it never stalls a frame (a missed poll is simply skipped).
  std::unique_lock<std::recursive_timed_mutex> lock(mouseMutex, std::defer_lock);
  if (poll && !force) {
    // Busy with a frame: not "no cursor", so the thread polls again at its short interval.
    bool locked = lock.try_lock();
    for (int i = 0; !locked && i < kPollTries; ++i) {
      std::this_thread::sleep_for(kPollTryGap);
      locked = lock.try_lock();
    }
    if (!locked) return TPoint{0, 0};
  } else {
    lock.lock();
  }
  if ((host && (host->IsScreensaver() || !host->IsActive())) || surfacesLost) return cursorPos;
  if (!force) {
    if (!positionKnown) {
      if (poll) return TPoint{-1, -1};
      ReadCursorPosition();
      positionKnown = true;
    }
    if (poll && RenderTime(host) - lastDrawTime < kPollMs) return cursorPos;
    const sd::TRect& screen = display.GetScreenRect();
    int left = cursorPos.x + screen.left, top = cursorPos.y + screen.top;
    if (left < 0 || top < 0 || left + cursorWidth > desktopWidth ||
        top + cursorHeight > desktopHeight || noSaveUnder) {
      RequestRepaint();
      return cursorPos;
    }
  }
  if (poll) ReadCursorPosition();
  if (!cursorSurface.Get() || cursorWidth == 0 || cursorHeight == 0) return TPoint{x, y};
  sd::TSurface* target = nullptr;
  if (force) {
    target = DrawTarget(true);
    cursorDrawn = false;
  } else if (IsFrontBufferReady()) {
    target = DrawTarget(false);
  }
  if (!target) return cursorPos;
  if (!force && cursorDrawn && positionKnown && Same(cursorPos, lastDrawnPos)) return cursorPos;

  float scale = Scale();
  const sd::TRect& screen = display.GetScreenRect();
  int screenX = Round(cursorPos.x * scale) + screen.left;
  int screenY = Round(cursorPos.y * scale) + screen.top;
  if (display.IsWindowed() && !force &&
      (screenX < screen.left || screenY < screen.top || screenX >= screen.right ||
       screenY >= screen.bottom)) {
    HideCursor();
    ReadCursorPosition();
    return cursorPos;
  }
  sd::TRect clip = DrawClip(force);
  int fresh = 1 - saveIndex;
  TCursorBlit save, draw;
  bool visible =
      CursorBlit(cursorPos, clip, true, &save) && CursorBlit(cursorPos, clip, false, &draw);
  if (visible) {
    sd::HR hr = saveUnder[fresh].Get()->Blt(&save.source, target, &save.dest, sd::kBltWait);
    if (SurfaceFailed(hr)) return cursorPos;
  }
  if (cursorDrawn) {
    sd::HR hr = EraseCursor();
    if (SurfaceFailed(hr) || sd::Failed(hr)) return cursorPos;
  }
  drawToBack = force;
  if (visible) {
    sd::HR hr =
        target->Blt(&draw.dest, cursorSurface.Get(), &draw.source, sd::kBltWait | sd::kBltKeySrc);
    if (SurfaceFailed(hr)) return cursorPos;
  }
  TCursorBlit old;
  if (cursorDrawn && visible && CursorBlit(lastDrawnPos, clip, true, &old)) {
    // The fresh save-under caught part of the old cursor: the old one holds the true
    // background there.
    sd::TRect overlap = sd::Intersect(save.dest, old.dest);
    if (!overlap.IsEmpty()) {
      sd::TRect from{overlap.left - old.dest.left + old.source.left,
                     overlap.top - old.dest.top + old.source.top, 0, 0};
      from.right = from.left + overlap.Width();
      from.bottom = from.top + overlap.Height();
      sd::TRect to{overlap.left - save.dest.left + save.source.left,
                   overlap.top - save.dest.top + save.source.top, 0, 0};
      to.right = to.left + overlap.Width();
      to.bottom = to.top + overlap.Height();
      saveUnder[fresh].Get()->Blt(&to, saveUnder[saveIndex].Get(), &from, sd::kBltWait);
    }
  }
  lastDrawnPos = cursorPos;
  saveIndex = fresh;
  cursorDrawn = visible;
  lastDrawTime = RenderTime(host);
  return cursorPos;
}

void TDXContext::HideCursor() {
  std::lock_guard<std::recursive_timed_mutex> lock(mouseMutex);
  if (!cursorSurface.Get()) return;
  // Only a cursor on screen is erased: an old save-under would paint a stale picture.
  if (cursorDrawn) EraseCursor();
  cursorDrawn = false;
  if (positionKnown) ResetCursor();
}

void TDXContext::ResetCursor() {
  std::lock_guard<std::recursive_timed_mutex> lock(mouseMutex);
  if (!cursorSurface.Get()) return;
  display.UpdateBounds();
  cursorPos = lastDrawnPos = TPoint{-1, -1};
  positionKnown = false;
  cursorDrawn = false;
  saveIndex = 0;
}

void TDXContext::OnWindowMoved() {
  std::lock_guard<std::recursive_timed_mutex> lock(mouseMutex);
  sd::TRect before = display.GetScreenRect();
  display.UpdateBounds();
  if (!(before == display.GetScreenRect())) {
    cursorDrawn = false;
    ReadCursorPosition();
  }
}

TPoint TDXContext::GetCursorPosition() {
  std::lock_guard<std::recursive_timed_mutex> lock(mouseMutex);
  ReadCursorPosition();
  return cursorPos;
}

std::shared_ptr<TTexture> TDXContext::GetCursorTexture() {
  std::lock_guard<std::recursive_timed_mutex> lock(mouseMutex);
  if (cursorTexture && cursorWidth >= 1 && cursorHeight >= 1) return cursorTexture;
  return nullptr;
}

bool TDXContext::PrepareBackBuffer() {
  if (display.IsWindowed()) return true;
  std::lock_guard<std::recursive_timed_mutex> lock(mouseMutex);
  const sd::TSurfacePtr& back = display.GetBackBuffer();
  const sd::TSurfacePtr& primary = display.GetPrimary();
  sd::HR hr = back && primary ? back->BltFast(0, 0, primary.get(), nullptr, sd::kBltFastWait)
                              : sd::kErrPointer;
  if (sd::Failed(hr)) {
    if (hr == sd::kErrOutOfVideoMemory) OutOfVideoMemory();
    if (onDeviceBroken) onDeviceBroken();
    return false;
  }
  if (cursorDrawn) {
    // The cursor stays on the primary; only the copy loses it.
    EraseCursorFromBackBuffer();
    cursorDrawn = true;
  }
  return true;
}

sd::HR TDXContext::Present() {
  std::lock_guard<std::recursive_timed_mutex> lock(mouseMutex);
  display.UpdateBounds();
  if (surfacesLost) {
    RestoreMouseImage();
    surfacesLost = false;
  }
  cursorDrawn = false;
  UpdateCursor(-1, -1, true);
  sd::HR hr = display.Present();
  if (display.IsWindowed()) {
    drawToBack = true;
    if (cursorDrawn) {
      EraseCursorFromBackBuffer();
      cursorDrawn = true;
    }
  }
  drawToBack = false;
  return hr;
}

bool TDXContext::SetCursorImage(std::shared_ptr<TTexture> texture, int hotX, int hotY) {
  std::lock_guard<std::recursive_timed_mutex> lock(mouseMutex);
  HideCursor();
  bool hadTexture = cursorTexture != nullptr;
  cursorTexture = texture;
  if (!PrepareBackBuffer()) return false;
  cursorWidth = cursorHeight = 0;
  if (!texture) return true;
  if (!listener) {
    if (host) {
      listener = new MouseTextureListener(this);
      host->AddRestoreListener(listener);
    }
  }
  TDxTextureData* data = texture->GetData();
  if (!data || !data->surface) {
    DebugLog("Cursor surface missing!");
    return false;
  }
  cursorSurface.Attach(data->surface);
  saveUnder[0].Release();
  saveUnder[1].Release();
  sd::TDisplay* dd = display.GetDirectDraw();
  if (!noSaveUnder && dd) {
    sd::TSurfaceDesc desc = cursorSurface.Desc();
    desc.flags = sd::kDescCaps | sd::kDescWidth | sd::kDescHeight | sd::kDescPixelFormat;
    desc.caps = sd::kCapsOffscreenPlain;
    // The save-unders hold screen pixels: they take the screen's format.
    desc.format = display.GetBackBuffer() ? display.GetBackBuffer()->Format() : desc.format;
    desc.width = Round(desc.width * Scale());
    desc.height = Round(desc.height * Scale());
    for (CSurface& s : saveUnder) {
      sd::HR hr = s.Create(*dd, desc);
      if (hr == sd::kErrOutOfVideoMemory) {
        OutOfVideoMemory();
        noSaveUnder = true;
        break;
      }
      if (sd::Failed(hr)) return false;
    }
  }
  // The key is magenta in the cursor image's own format.
  const sd::TPixelFormat& format = cursorSurface.Desc().format;
  sd::TColorKey key{format.rMask | format.bMask | format.aMask,
                    format.rMask | format.bMask | format.aMask};
  sd::HR hr = cursorSurface.Get()->SetColorKey(sd::kColorKeySrcBlt, &key);
  if (sd::Failed(hr)) {
    if (hr == sd::kErrOutOfVideoMemory) OutOfVideoMemory();
    return false;
  }
  hotOffset = TPoint{-hotX, -hotY};
  // The image's own size: the surface's padding is not part of the cursor.
  cursorWidth = std::min(texture->GetWidth(), cursorSurface.Desc().width);
  cursorHeight = std::min(texture->GetHeight(), cursorSurface.Desc().height);
  display.UpdateBounds();
  if (hadTexture) {
    ResetCursor();
    TPoint at = GetCursorPosition();
    UpdateCursor(at.x, at.y, false);
  }
  return true;
}

void TDXContext::RestoreMouseImage() {
  if (gRestoringMouseImage) {
    DebugLog("Second concurrent call to RestoreMouseImage");
    return;
  }
  gRestoringMouseImage = true;
  std::lock_guard<std::recursive_timed_mutex> lock(mouseMutex);
  if (cursorSurface.Get() && cursorTexture) {
    if (SetCursorImage(cursorTexture, -hotOffset.x, -hotOffset.y)) surfacesLost = false;
  }
  TWindowBackend* backend = host ? host->GetWindowBackend() : nullptr;
  if (GetCursorTexture() && backend) backend->ShowSystemCursor(false);
  gRestoringMouseImage = false;
}
