// The platform object: the one entry through which the engine reaches the operating system,
// the main window, the clock, the task lists and the display handler.
//
// One instance per program, reachable through GetInstance once constructed (null before and
// after). It holds only a pointer to its data block (TPlatformData), which it does not own.
// UI thread only, except GetTime, which any thread may read.
#pragma once

#include <cstdint>
#include <memory>

#include "tvlib/core/TColor32.h"
#include "tvlib/core/TMat4.h"
#include "tvlib/core/TPoint.h"
#include "tvlib/core/TPlatformData.h"
#include "tvlib/core/TPlatformEvent.h"
#include "tvlib/core/TString.h"
#include "tvlib/core/TVertexSet.h"

class TDisplayHandler;
class TSoundManager;
class TStringTable;
class TTask;
class TTaskList;
class TTexture;
class TWindowManager;

class TPlatform {
public:
  explicit TPlatform(TPlatformData* data);
  ~TPlatform();
  TPlatform(const TPlatform&) = delete;
  TPlatform& operator=(const TPlatform&) = delete;

  static TPlatform* GetInstance();
  TPlatformData* GetData() { return mData; }
  // The application setup: version, data folders, the log, the file system, the string
  // table, the cursor thread and the machine's identifier. Run once by the start-up, after
  // the data block is built and before the main window exists.
  void Setup();
  // Stops the cursor thread, deletes the services and the main window in order, and leaves
  // GetInstance answering null. The string table and the asset manager go with the block.
  void Shutdown();
  const TString& GetVersionString() const { return mData->versionText; }
  bool IsScreensaver() const { return mData->screensaver; }

  // --- Clock and tasks -----------------------------------------------------------------
  // Milliseconds since the data block was built, less the time a portal host kept the game
  // suspended; 32-bit, wrapping.
  static uint32_t GetTime();
  void AddTask(TTask* task);
  bool RemoveTask(TTask* task);
  TTaskList* GetTaskList();
  // Tasks run once after the display device was restored.
  void AddRestoreListener(TTask* task);

  // --- Settings (the settings map's operations) ------------------------------------
  TString& GetSettingRef(const TString& key);
  TString GetSetting(const TString& key);
  void SetSetting(const TString& key, const TString& value);
  bool IsSettingSet(const TString& key);

  // --- Main window ---------------------------------------------------------------------
  // The icon of every window made from now on: size x size packed ARGB pixels, rows top to
  // bottom, kept by the caller for the program's life.
  static void SetProgramIcon(const uint32_t* argb, int size);
  // Creates the main window on `backend` (null: the backend the environment chooses).
  // A host window that is gone ends the process with status 255.
  void CreateMainWindow(std::unique_ptr<TWindowBackend> backend = nullptr);
  void SetWindowTitle(const TString& text);
  // The mouse-cursor image; a null texture brings back the system arrow.
  void SetCursorImage(std::shared_ptr<TTexture> texture, int hotX, int hotY);
  void UpdateCursor();

  // --- Events and frames ---------------------------------------------------------------
  void GetEvent(TPlatformEvent* out);
  bool BeginFrame(bool prepare);
  void EndFrame(bool present);
  bool Begin2d();
  void End2d();
  bool IsIn2d() const { return mData->in2d; }
  void DrawVertices(int primitive, const TVertexSet& vertices);
  void DrawIndexedVertices(int primitive, const TVertexSet& vertices, const uint16_t* indices,
                           int indexCount);
  bool SetFullscreen(bool full);
  bool IsFullscreen();
  void InitDisplay(int width, int height, bool full);
  bool ConsumeRepaintRequest();
  void RestoreAssets();

  // --- Services ------------------------------------------------------------------------
  // Opens a web address in the user's browser (or the "-host=" program when embedded).
  // Answers above 32 on success, as the designed shell call did.
  int OpenUrl(const TString& address);
  bool SetClipboardText(const TString& text);
  TString GetClipboardText();
  // Creates the sound manager on first use and starts it.
  bool StartSound();
  void StartCursorThread();
  // Stops the cursor thread and waits for it; nothing when it is not running.
  void StopCursorThread();

  TWindowManager* GetWindowManager();
  TStringTable* GetStringTable();
  TSoundManager* GetSoundManager();
  TDisplayHandler* GetDisplayHandler();
  // Installs a handler (owned from now on) and deletes the previous one.
  void SetDisplayHandler(TDisplayHandler* handler);
  // Installs the display handler the program runs on (defined by the render library).
  void CreateDisplayHandler();
  int GetMouseMode() const { return mData->mouseMode; }

  // --- Display forwarding --------------------------------------------------------------
  void SetTexture(int value, std::shared_ptr<TTexture> texture);
  void FillRect(int x, int y, int width, int height, TColor32 colour,
                std::shared_ptr<TTexture> texture);
  void GetViewport(int* left, int* top, int* right, int* bottom);
  void PushViewport(int left, int top, int right, int bottom);
  void PopViewport();
  bool SetRenderTarget(std::shared_ptr<TTexture> texture);
  bool PopRenderTarget();
  bool IsFlipDone();
  void HandleOutOfVideoMemory();
  void SetBlendMode(int mode);
  void SetTextureFilter(int mode);
  void SetWorldMatrix(const TMat4& matrix);
  void SetViewMatrix(const TMat4& matrix);
  void SetProjectionMatrix(const TMat4& matrix);
  void GetWorldMatrix(TMat4* matrix);
  void GetViewMatrix(TMat4* matrix);
  void GetProjectionMatrix(TMat4* matrix);

private:
  friend intptr_t MainWindowProc(TNativeWindow*, uint32_t, uintptr_t, intptr_t);
  void ConvertMessage(const TWindowMessage& message, TPlatformEvent* out);
  void ConvertKeyDown(const TWindowMessage& message, TPlatformEvent* out);
  void ConvertButton(const TWindowMessage& message, TPlatformEvent* out);
  bool SwallowActivationClick(bool buttonUp);
  TPoint GetPointer();
  void KeepOnTop();
  // Raise requests of later instances and the system's request to end the program.
  void ServiceProcessRequests();
  void DrawFrameRateOverlay();

  TPlatformData* mData;
};

// The main window's procedure: bookkeeping only; the pump turns the flags into events.
intptr_t MainWindowProc(TNativeWindow* window, uint32_t message, uintptr_t wParam,
                        intptr_t lParam);
void SetWindowVisibleState(TNativeWindow* window, bool visible);
void HandleActivateApp(TNativeWindow* window, bool active);
// Reports the full-screen wish to the host window and keeps it (IsParentFullscreen).
void NotifyParentFullscreen(bool full);
bool IsParentFullscreen();
void SendToParent(uint32_t message, uintptr_t wParam, intptr_t lParam);
// Whether the command line holds "-pq=" (the host decides full screen).
bool HasPqSwitch();
