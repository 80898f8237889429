// The display handler over the software rendering device: display modes, the frame bracket,
// 2-D states, viewports and render targets, fills, device loss and restore, the cursor and
// present. Its 3-D operations are empty here; TDx3dDisplayHandler, the class the program
// creates, fills them in.
//
// Needs: TDXContext (device, present, cursor), its host's flags (visible, active, hidden,
// embedded, display scale), the asset manager (release and restore of device data), the file
// layer for "common:display.xml", and the message boxes of the platform layer. Main thread
// only, except UpdateCursor (the cursor thread).
#pragma once

#include <cstddef>
#include <memory>

#include "tvlib/platform/render/TPresenter.h"
#include "tvlib/render/TDisplayHandler.h"

struct TDxDisplayHandlerData;
class TRenderHost;

// Reads the bytes of "common:display.xml": false when they hold no "Settings" element, else
// its "LowMemoryVideo" flag.
bool ReadDisplaySettings(const char* bytes, size_t size, bool* lowMemoryVideo);

class TDxDisplayHandler : public TDisplayHandler {
 public:
  // presenter: where frames are shown (owned); null: the one the host's window backend takes.
  // host: the program showing the frames; null: the handler runs alone.
  explicit TDxDisplayHandler(std::unique_ptr<sd::TPresenter> presenter = nullptr,
                             TRenderHost* host = nullptr);
  ~TDxDisplayHandler() override;
  TDxDisplayHandler(const TDxDisplayHandler&) = delete;
  TDxDisplayHandler& operator=(const TDxDisplayHandler&) = delete;

  // The current handler, as the display handler of this kind (or null).
  static TDxDisplayHandler* GetInstance();
  TRenderHost* GetHost() const;

  bool IntersectTriangle(const float[3], const float[3], const float[3], const float[3],
                         const float[3], float*, float[3]) override {
    return false;
  }
  void SetTexture(std::shared_ptr<TTexture> texture) override;
  void DrawCoverage(std::span<const sd::TRasterCoverageGlyph> glyphs) override;
  void SetMaterial(const TMaterial&) override {}
  void SetLight(int, const TLight*) override {}
  TString GetDeviceDescription() override;
  bool Begin2d() override;
  void End2d() override;
  bool Begin3d() override { return true; }
  void End3d() override {}
  bool SetDisplay(int width, int height, bool fullScreen, bool force, bool quiet,
                  bool embedded) override;
  void GetDisplaySize(int* width, int* height, bool* fullScreen) override;
  bool SetFullscreen(bool fullScreen) override;
  bool IsFullscreen() override;
  bool BeginDraw(bool prepare) override;
  void EndDraw(bool present) override;
  void PresentRect(const int destination[4], const int source[4]) override;
  void FillRect(int left, int top, int right, int bottom, const float colour[4],
                std::shared_ptr<TTexture> target) override;
  void SetViewport(int left, int top, int right, int bottom) override;
  void GetViewport(int* left, int* top, int* right, int* bottom) override;
  void PushViewport(int left, int top, int right, int bottom) override;
  void PopViewport() override;
  bool PushRenderTarget(std::shared_ptr<TTexture> target) override;
  bool PopRenderTarget() override;
  bool IsRenderingToScreen() override;
  bool IsDeviceValid() override;
  bool IsFlipDone() override;
  void NoteDeviceTrouble() override;
  void HandleOutOfVideoMemory() override;
  void OnDisplayChange() override;
  void ResetWorkingCount() override;
  void Restore() override;
  void SetShadeMode(int mode) override;
  void SetWorldMatrix(const TMat4&) override {}
  void SetViewMatrix(const TMat4&) override {}
  void SetProjectionMatrix(const TMat4&) override {}
  void SetBlendMode(int mode) override;
  void SetTextureFilter(int mode) override;
  void SetTextureAddressMode(int modeU, int modeV) override;
  void SetZWriteEnable(bool enable) override;
  void SetZEnable(bool enable) override;
  void SetViewLookAt(const float[3], const float[3], const float[3]) override {}
  void SetPerspective(float, float, float, float) override {}
  void SetOrthographic(float, float) override {}
  void GetWorldMatrix(TMat4*) override {}
  void GetViewMatrix(TMat4*) override {}
  void GetProjectionMatrix(TMat4*) override {}
  void SetCullMode(int) override {}
  void SetAmbientColor(float, float, float, float) override {}
  void HideCursor() override;
  TPoint UpdateCursor(int x, int y) override;
  void OnWindowMoved() override;
  TPoint GetCursorPosition() override;
  bool HideSystemCursor() override;
  bool SetCursorTexture(std::shared_ptr<TTexture> texture, int hotX, int hotY) override;
  bool RequiresSquareTextures() override;
  TDxTextureData* CreateTextureData() override;
  void CalibrateTexelOffset() override;

  // broken = 1, brokenTime = now.
  void MarkDeviceBroken();
  // Moves the device from one render target to another; always true (failures are recorded).
  bool SwitchRenderTarget(const sd::TSurfacePtr& from, const sd::TSurfacePtr& to);
  // Places the device viewport: rect clamped into clip, scaled when embedded.
  sd::HR ApplyViewport(int left, int top, int right, int bottom, const int clip[4]);
  // Sends a vertex set: the FVF, after setting the lighting and, for scaled screen-space
  // vertices when embedded, the transforms that map the game area onto the back buffer.
  uint32_t SelectVertexFormat(int format);
  void RestoreVertexTransforms(int format);
  // Fits a rectangle to the monitor (the desktop): flags 1 centres it, otherwise it is moved
  // inside; flags 2 asks for the work area, which here is the whole desktop.
  void FitRectToMonitor(sd::TRect* rect, int flags) const;
  // Moves the window's client area as FitRectToMonitor places it.
  void PositionWindowOnMonitor(int flags);
  // The anchor-free desktop test: the desktop must be strictly larger than w x h.
  bool IsDesktopTooSmall(int width, int height) const;

  TDxDisplayHandlerData& Data() { return *mData; }
  sd::TPresenter& Presenter() { return *mPresenter; }

 protected:
  // A device result: out of video memory goes to HandleOutOfVideoMemory.
  sd::HR Check(sd::HR hr);
  void SetRenderState(uint32_t state, uint32_t value);
  void SetStageState(uint32_t state, uint32_t value);
  // Stage 0 modulates the texture with what came before, colour and alpha; alpha's second
  // argument is the vertex colour in 2-D, the lit colour in 3-D.
  void SetModulateStage(uint32_t alphaArg2);

 private:
  bool SetDisplayFailed(int width, int height, bool fullScreen, bool quiet, bool activeNow);
  void SetDisplaySucceeded(bool embedded);
  void SetInitialRenderStates();

  std::unique_ptr<sd::TPresenter> mPresenter;
  std::unique_ptr<TDxDisplayHandlerData> mData;
};
