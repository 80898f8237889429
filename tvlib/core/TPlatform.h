// The platform object: the one entry through which the engine reaches the operating system,
// the main window, the clock, the task lists and the display handler.
//
// An interface: the core declares it so that every layer reaches the platform's services
// through GetInstance, and the composition root (tvlib/app, TAppPlatform) implements it
// over the data block it owns. One instance per program, reachable once constructed (null
// before and after). UI thread only, except GetTime, which any thread may read.
#pragma once

#include <cstdint>
#include <memory>

#include "tvlib/core/TColor32.h"
#include "tvlib/core/TMat4.h"
#include "tvlib/core/TPlatformEvent.h"
#include "tvlib/core/TString.h"
#include "tvlib/core/TVertexSet.h"

class TDisplayHandler;
class TPlatformData;
class TSoundManager;
class TStringTable;
class TTask;
class TTaskList;
class TTexture;
class TWindowBackend;
class TWindowManager;

class TPlatform {
 public:
  virtual ~TPlatform();
  TPlatform(const TPlatform&) = delete;
  TPlatform& operator=(const TPlatform&) = delete;

  static TPlatform* GetInstance();
  // The data block behind the implementation: for the composition root and the game only.
  virtual TPlatformData* GetData() = 0;
  // The application setup: version, data folders, the log, the file system, the string
  // table, the cursor thread and the machine's identifier. Run once by the start-up, after
  // the data block is built and before the main window exists.
  virtual void Setup() = 0;
  // Stops the cursor thread, deletes the services and the main window in order, and leaves
  // GetInstance answering null. The string table and the asset manager go with the block.
  virtual void Shutdown() = 0;
  virtual const TString& GetVersionString() const = 0;
  virtual bool IsScreensaver() const = 0;

  // --- Clock and tasks -----------------------------------------------------------------
  // Milliseconds since the data block was built, less the time a portal host kept the game
  // suspended; 32-bit, wrapping. Without a platform, the engine clock's reading.
  static uint32_t GetTime();
  virtual void AddTask(TTask* task) = 0;
  virtual bool RemoveTask(TTask* task) = 0;
  virtual TTaskList* GetTaskList() = 0;
  // Tasks run once after the display device was restored.
  virtual void AddRestoreListener(TTask* task) = 0;

  // --- Settings (the settings map's operations) ------------------------------------
  virtual TString& GetSettingRef(const TString& key) = 0;
  virtual TString GetSetting(const TString& key) = 0;
  virtual void SetSetting(const TString& key, const TString& value) = 0;
  virtual bool IsSettingSet(const TString& key) = 0;

  // --- Main window ---------------------------------------------------------------------
  // The icon of every window made from now on: size x size packed ARGB pixels, rows top to
  // bottom, kept by the caller for the program's life.
  static void SetProgramIcon(const uint32_t* argb, int size);
  // The icon last set; null (and size 0) when none was.
  static const uint32_t* GetProgramIcon(int* size);
  // Creates the main window on `backend` (null: the backend the environment chooses).
  // A host window that is gone ends the process with kExitStartupFailed.
  virtual void CreateMainWindow(std::unique_ptr<TWindowBackend> backend) = 0;
  virtual void SetWindowTitle(const TString& text) = 0;
  // The mouse-cursor image; a null texture brings back the system arrow.
  virtual void SetCursorImage(std::shared_ptr<TTexture> texture, int hotX, int hotY) = 0;
  virtual void UpdateCursor() = 0;

  // --- Events and frames ---------------------------------------------------------------
  virtual void GetEvent(TPlatformEvent* out) = 0;
  // Posts the quit message: GetEvent answers kEventQuit once the events before it are read.
  virtual void PostQuitMessage() = 0;
  virtual bool BeginFrame(bool prepare) = 0;
  virtual void EndFrame(bool present) = 0;
  virtual bool Begin2d() = 0;
  virtual void End2d() = 0;
  virtual bool IsIn2d() const = 0;
  virtual void DrawVertices(int primitive, const TVertexSet& vertices) = 0;
  virtual void DrawIndexedVertices(int primitive, const TVertexSet& vertices,
                                   const uint16_t* indices, int indexCount) = 0;
  virtual bool SetFullscreen(bool full) = 0;
  virtual bool IsFullscreen() = 0;
  virtual void InitDisplay(int width, int height, bool full) = 0;
  virtual bool ConsumeRepaintRequest() = 0;
  virtual void RestoreAssets() = 0;

  // --- Services ------------------------------------------------------------------------
  // Opens a web address in the user's browser (or the "-host=" program when embedded).
  // Answers above 32 on success, as the designed shell call did.
  virtual int OpenUrl(const TString& address) = 0;
  virtual bool SetClipboardText(const TString& text) = 0;
  virtual TString GetClipboardText() = 0;
  // Creates the sound manager on first use and starts it.
  virtual bool StartSound() = 0;
  virtual void StartCursorThread() = 0;
  // Stops the cursor thread and waits for it; nothing when it is not running.
  virtual void StopCursorThread() = 0;

  virtual TWindowManager* GetWindowManager() = 0;
  virtual TStringTable* GetStringTable() = 0;
  virtual TSoundManager* GetSoundManager() = 0;
  virtual TDisplayHandler* GetDisplayHandler() = 0;
  // Installs a handler (owned from now on) and deletes the previous one.
  virtual void SetDisplayHandler(TDisplayHandler* handler) = 0;
  // Installs the display handler the program runs on.
  virtual void CreateDisplayHandler() = 0;
  virtual int GetMouseMode() const = 0;

  // --- Display forwarding --------------------------------------------------------------
  virtual void SetTexture(int value, std::shared_ptr<TTexture> texture) = 0;
  virtual void FillRect(int x, int y, int width, int height, TColor32 colour,
                        std::shared_ptr<TTexture> texture) = 0;
  virtual void GetViewport(int* left, int* top, int* right, int* bottom) = 0;
  virtual void PushViewport(int left, int top, int right, int bottom) = 0;
  virtual void PopViewport() = 0;
  virtual bool SetRenderTarget(std::shared_ptr<TTexture> texture) = 0;
  virtual bool PopRenderTarget() = 0;
  virtual bool IsFlipDone() = 0;
  virtual void HandleOutOfVideoMemory() = 0;
  virtual void SetBlendMode(int mode) = 0;
  virtual void SetTextureFilter(int mode) = 0;
  virtual void SetWorldMatrix(const TMat4& matrix) = 0;
  virtual void SetViewMatrix(const TMat4& matrix) = 0;
  virtual void SetProjectionMatrix(const TMat4& matrix) = 0;
  virtual void GetWorldMatrix(TMat4* matrix) = 0;
  virtual void GetViewMatrix(TMat4* matrix) = 0;
  virtual void GetProjectionMatrix(TMat4* matrix) = 0;

 protected:
  // Registers the new object as the instance.
  TPlatform();
  // Leaves GetInstance answering null when this object is the instance.
  void Unregister();
  // GetTime's reading for this platform.
  virtual uint32_t GetElapsedTime() const = 0;
};
