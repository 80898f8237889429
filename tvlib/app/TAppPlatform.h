// The platform object's implementation: the composition root that owns the data block's
// services (window manager, sound manager, display handler) and wires them together.
//
// It implements the core's TPlatform interface for every layer, the renderer's TRenderHost
// for the display handlers it makes and the text layer's TTextServices. It holds only a pointer to
// its data block (TPlatformData), which it does not own. UI thread only, except GetTime.
#pragma once

#include <cstdint>
#include <memory>

#include "tvlib/app/TPlatformData.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/render/TRenderHost.h"
#include "tvlib/ui/TTextServices.h"

struct TWindowMessage;
struct TPoint;

class TAppPlatform : public TPlatform, public TRenderHost, public TTextServices {
 public:
  explicit TAppPlatform(TPlatformData* data);
  ~TAppPlatform() override;

  TPlatformData* GetData() override { return mData; }
  void Setup() override;
  void Shutdown() override;
  const TString& GetVersionString() const override { return mData->versionText; }
  bool IsScreensaver() const override { return mData->screensaver; }

  void AddTask(TTask* task) override;
  bool RemoveTask(TTask* task) override;
  TTaskList* GetTaskList() override;
  void AddRestoreListener(TTask* task) override;

  TString& GetSettingRef(const TString& key) override;
  TString GetSetting(const TString& key) override;
  void SetSetting(const TString& key, const TString& value) override;
  bool IsSettingSet(const TString& key) override;

  void CreateMainWindow(std::unique_ptr<TWindowBackend> backend) override;
  void SetWindowTitle(const TString& text) override;
  void SetCursorImage(std::shared_ptr<TTexture> texture, int hotX, int hotY) override;
  void UpdateCursor() override;

  void GetEvent(TPlatformEvent* out) override;
  void PostQuitMessage() override;
  bool BeginFrame(bool prepare) override;
  void EndFrame(bool present) override;
  bool Begin2d() override;
  void End2d() override;
  bool IsIn2d() const override { return mData->in2d; }
  void DrawVertices(int primitive, const TVertexSet& vertices) override;
  void DrawIndexedVertices(int primitive, const TVertexSet& vertices, const uint16_t* indices,
                           int indexCount) override;
  bool SetFullscreen(bool full) override;
  bool IsFullscreen() override;
  void InitDisplay(int width, int height, bool full) override;
  bool ConsumeRepaintRequest() override;
  void RestoreAssets() override;

  int OpenUrl(const TString& address) override;
  bool SetClipboardText(const TString& text) override;
  TString GetClipboardText() override;
  bool StartSound() override;
  void StartCursorThread() override;
  void StopCursorThread() override;

  TWindowManager* GetWindowManager() override;
  TStringTable* GetStringTable() override;
  TSoundManager* GetSoundManager() override;
  TDisplayHandler* GetDisplayHandler() override;
  void SetDisplayHandler(TDisplayHandler* handler) override;
  void CreateDisplayHandler() override;
  int GetMouseMode() const override { return mData->mouseMode; }

  void SetTexture(int value, std::shared_ptr<TTexture> texture) override;
  void FillRect(int x, int y, int width, int height, TColor32 colour,
                std::shared_ptr<TTexture> texture) override;
  void GetViewport(int* left, int* top, int* right, int* bottom) override;
  void PushViewport(int left, int top, int right, int bottom) override;
  void PopViewport() override;
  bool SetRenderTarget(std::shared_ptr<TTexture> texture) override;
  bool PopRenderTarget() override;
  bool IsFlipDone() override;
  void HandleOutOfVideoMemory() override;
  void SetBlendMode(int mode) override;
  void SetTextureFilter(int mode) override;
  void SetWorldMatrix(const TMat4& matrix) override;
  void SetViewMatrix(const TMat4& matrix) override;
  void SetProjectionMatrix(const TMat4& matrix) override;
  void GetWorldMatrix(TMat4* matrix) override;
  void GetViewMatrix(TMat4* matrix) override;
  void GetProjectionMatrix(TMat4* matrix) override;

  // --- The renderer's host ---------------------------------------------------------------
  uint32_t GetEngineTime() const override { return TPlatform::GetTime(); }
  TWindowBackend* GetWindowBackend() override;
  // Also the text services' display scale.
  bool GetDisplayScale(float* scale) const override { return mData->GetDisplayScale(scale); }
  bool HasHostWindow() const override { return mData->hostWindow != 0; }
  bool IsVisible() const override { return mData->visible; }
  bool IsHidden() const override { return mData->hidden; }
  bool IsActive() const override { return mData->active; }
  bool HasActivationChanged() const override { return mData->activationChanged; }
  bool IsHostWindowLost() override;
  bool HostDecidesFullscreen() const override;
  void RequestRepaint() override { mData->repaintRequested = true; }
  void NoteDisplayModeChanged() override { mData->displayModeChanged = true; }
  void RequestQuit() override;
  bool IsDrawingDisabled() override;
  bool IsInScene() const override { return mData->in2d || mData->in3d; }

  // --- The text services -----------------------------------------------------------------
  TFontCache* GetFontCache() override { return &mData->fontCache; }
  TTvMiniVecDraw* GetTextRasteriser() override { return mData->vectorRasteriser.get(); }

 protected:
  uint32_t GetElapsedTime() const override;

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
intptr_t MainWindowProc(TNativeWindow* window, uint32_t message, uintptr_t wParam, intptr_t lParam);
void SetWindowVisibleState(TNativeWindow* window, bool visible);
void HandleActivateApp(TNativeWindow* window, bool active);
// Reports the full-screen wish to the host window and keeps it (IsParentFullscreen).
void NotifyParentFullscreen(bool full);
bool IsParentFullscreen();
void SendToParent(uint32_t message, uintptr_t wParam, intptr_t lParam);
// Whether the command line holds "-pq=" (the host decides full screen).
bool HasPqSwitch();
