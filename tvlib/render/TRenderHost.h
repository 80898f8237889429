// What the renderer needs from the program that shows its frames: the native window, the
// embedding, the window's state, the repaint request, restore listeners and asset restore.
//
// Declared here and implemented by the composition root (the platform object), so that the
// rendering library reaches nothing above it. A display handler is given its host when it is
// made; a handler made without one runs alone: a visible, active desktop window in memory.
// The current handler (the one the program draws with) is installed by the handler's owner.
#pragma once

#include <cstdint>

class TDisplayHandler;
class TTask;
class TWindowBackend;

class TRenderHost {
 public:
  virtual ~TRenderHost() = default;

  // The engine's milliseconds (the platform's clock); any thread.
  virtual uint32_t GetEngineTime() const = 0;
  // The main window's backend; null while there is no main window.
  virtual TWindowBackend* GetWindowBackend() = 0;
  // Writes the display scale; answers whether the game runs embedded in a host window.
  virtual bool GetDisplayScale(float* scale) const = 0;
  // Whether a "-wnd=" host window was given.
  virtual bool HasHostWindow() const = 0;
  virtual bool IsVisible() const = 0;
  // Hidden by a position change (minimised).
  virtual bool IsHidden() const = 0;
  virtual bool IsActive() const = 0;
  // The activation changed since the pump last reported it.
  virtual bool HasActivationChanged() const = 0;
  // The game is embedded in a host window that no longer exists.
  virtual bool IsHostWindowLost() = 0;
  // The host window decides full screen ("-pq="): the desktop size does not force it.
  virtual bool HostDecidesFullscreen() const = 0;
  virtual bool IsScreensaver() const = 0;
  // Asks for a repaint of the window; any thread.
  virtual void RequestRepaint() = 0;
  // The display mode changed: the windows lay out again.
  virtual void NoteDisplayModeChanged() = 0;
  // The display cannot go on: the program ends (no close dialog: nothing could draw it).
  virtual void RequestQuit() = 0;
  // The windows want nothing presented ("drawing disabled").
  virtual bool IsDrawingDisabled() = 0;
  // Tasks run once after the display device was restored.
  virtual void AddRestoreListener(TTask* task) = 0;
  // Every asset rebuilds its device data and the screen is drawn again.
  virtual void RestoreAssets() = 0;
  // The 2-D bracket the host keeps (drawing into a render target goes through it).
  virtual bool Begin2d() = 0;
  virtual void End2d() = 0;
  virtual bool IsIn2d() const = 0;
  // Inside a 2-D or 3-D bracket: vertices may be drawn.
  virtual bool IsInScene() const = 0;
};

// The handler the program draws with and its host, null when none: the handler's owner
// installs them (and nulls) as it replaces the handler.
void SetCurrentDisplayHandler(TDisplayHandler* handler, TRenderHost* host);
TDisplayHandler* GetCurrentDisplayHandler();
TRenderHost* GetCurrentRenderHost();
// The host's engine time; the engine clock's own reading for a handler running alone.
uint32_t RenderTime(const TRenderHost* host);
