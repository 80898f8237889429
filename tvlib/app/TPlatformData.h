// The platform's data block: the main window's state flags, the frame-rate ring, the cursor
// thread, the task lists and the services the platform owns.
//
// One block per program, built before the TPlatform object and destroyed after it. The
// window procedure raises the flags; the event pump turns each into one engine event.
// Everything here belongs to the UI thread except the cursor thread's stop flag and the
// display handler and window manager pointers, which the cursor thread reads under
// cursorLock.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "tvlib/core/TSettings.h"
#include "tvlib/core/TString.h"
#include "tvlib/core/TTaskList.h"
#include "tvlib/platform/process/SingleInstance.h"
#include "tvlib/platform/window/TNativeWindow.h"
#include "tvlib/ui/TFontCache.h"

class TAssetManager;
class TDisplayHandler;
class TSoundManager;
class TStringTable;
class TTextBlock;
class TTexture;
class TTvMiniVecDraw;
class TWindowManager;

inline constexpr int kFrameRing = 15;  // frames in the frame-rate ring

class TPlatformData {
 public:
  TPlatformData();
  ~TPlatformData();
  TPlatformData(const TPlatformData&) = delete;
  TPlatformData& operator=(const TPlatformData&) = delete;

  // Writes the display scale; answers whether the game runs embedded in a host window.
  bool GetDisplayScale(float* scale) const;
  // Asks the display handler to restore the lost device.
  void Restore();
  // Every asset drops its display-device data.
  void ReleaseAssets();
  // Stops the cursor thread and waits for it (nothing when it is not running).
  void StopCursorThread();
  // Stops the cursor thread and deletes the services, then the window, in the order each
  // still needs the next.
  void ReleaseServices();

  TString commandLine;
  TString programPath;    // the program file, canonical
  TString programFolder;  // the program's folder, ending in "/"
  TString assetsFolder;   // programFolder followed by "assets/"
  TString userFolder;     // per-user data folder, no trailing "/"
  TString commonFolder;   // shared data folder, no trailing "/"
  TString versionText;    // "major.minor.patch.build"
  TString startupFolder;  // the working directory at start
  TSingleInstance singleInstance;
  std::unique_ptr<TNativeWindow> window;  // the main window, null until created
  uint64_t hostWindow = 0;                // X window id from "-wnd="; 0 when not embedded
  uint64_t parentWindow = 0;              // the main window's parent, 0 for a desktop window
  bool hostFullscreen = false;            // last full-screen state reported to the host
  bool screensaver = false;
  bool embedded = false;
  bool harnessTest = false;
  float displayScale = 1.0f;
  std::shared_ptr<TTexture> cursorTexture;
  int cursorHotX = 0, cursorHotY = 0;
  bool displayModeChanged = false;
  bool visible = true;
  bool in2d = false, in3d = false;
  bool visibilityChanged = false;
  bool closeRequested = false;
  bool active = true;
  bool activationChanged = false;
  bool hidden = false;
  bool wasHidden = false;  // the window was hidden by a position change
  bool paintPending = false;
  uint32_t startTime = 0;
  uint32_t frameTimes[kFrameRing] = {};
  int frameIndex = 0;
  float framesPerSecond = 0.0f;
  uint32_t lastFpsOutput = 0;
  bool fpsOverlay = false;
  TTextBlock* fpsText = nullptr;
  bool mouseActivated = false;
  uint32_t activationTime = 0;
  std::atomic<bool> repaintRequested = false;  // also raised by the cursor thread
  bool restorePending = false;
  bool hoverTracked = false, mouseLeft = false, leaveTracked = false;
  bool screensaverMouseKnown = false;  // the screensaver's remembered pointer position
  int screensaverMouseX = -1, screensaverMouseY = -1;
  int mouseMode = 0;  // pointer positions are absolute game coordinates
  TSettings settings;
  TFontCache fontCache;  // emptied when the block goes

  std::unique_ptr<TWindowManager> windowManager;
  std::unique_ptr<TAssetManager> assetManager;
  std::unique_ptr<TStringTable> stringTable;
  std::unique_ptr<TSoundManager> soundManager;
  std::unique_ptr<TDisplayHandler> displayHandler;
  std::unique_ptr<TTvMiniVecDraw> vectorRasteriser;  // made by the display set-up
  TTaskList restoreListeners;
  TTaskList taskList;

  // The cursor thread and what it shares with the UI thread.
  std::thread cursorThread;
  std::atomic<bool> cursorThreadStop{false};
  std::mutex cursorLock;  // guards displayHandler and windowManager against the cursor thread
  std::condition_variable cursorWake;
  // The window backend the cursor thread waits on for pointer moves (guarded by cursorLock;
  // the window outlives the thread).
  TWindowBackend* cursorBackend = nullptr;
};
