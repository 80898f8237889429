// The display handler: the one object through which the engine reaches the graphics device.
//
// An abstract interface of 61 operations in a fixed slot order. The platform owns exactly
// one handler (TPlatform::SetDisplayHandler), installs it as the current one (TRenderHost.h)
// and forwards its display calls to it. Only
// UpdateCursor is called from another thread (the cursor thread); everything else runs on
// the UI thread. This file fixes the contract; the implementation (modes, frames, device
// loss, 3-D) is the rendering subsystem's.
#pragma once

#include <memory>
#include <span>

#include "tvlib/core/TMat4.h"
#include "tvlib/core/TPoint.h"
#include "tvlib/core/TString.h"
#include "tvlib/core/TVertexSet.h"
#include "tvlib/platform/render/TRaster.h"

class TTexture;
class TDxTextureData;
struct TMaterial;  // the device's material record (diffuse, ambient, specular, emissive, power)
struct TLight;     // type, colours, position, direction, range, attenuation, cone angles

class TDisplayHandler {
 public:
  virtual ~TDisplayHandler() = default;  // 0
  virtual bool IntersectTriangle(const float origin[3], const float direction[3], const float a[3],
                                 const float b[3], const float c[3], float* distance,
                                 float hit[3]) = 0;                // 1
  virtual void SetTexture(std::shared_ptr<TTexture> texture) = 0;  // 2
  virtual void SetMaterial(const TMaterial& material) = 0;         // 3
  virtual void SetLight(int index, const TLight* light) = 0;       // 4
  virtual TString GetDeviceDescription() = 0;                      // 5
  virtual bool Begin2d() = 0;                                      // 6
  virtual void End2d() = 0;                                        // 7
  virtual bool Begin3d() = 0;                                      // 8
  virtual void End3d() = 0;                                        // 9
  virtual bool SetDisplay(int width, int height, bool fullScreen, bool force, bool quiet,
                          bool embedded) = 0;                                   // 10
  virtual void GetDisplaySize(int* width, int* height, bool* fullScreen) = 0;   // 11
  virtual bool SetFullscreen(bool fullScreen) = 0;                              // 12
  virtual bool IsFullscreen() = 0;                                              // 13
  virtual bool BeginDraw(bool prepare) = 0;                                     // 14
  virtual void EndDraw(bool present) = 0;                                       // 15
  virtual void PresentRect(const int destination[4], const int source[4]) = 0;  // 16
  // Colour as red, green, blue, alpha in 0..1; an empty target is the back buffer.
  virtual void FillRect(int left, int top, int right, int bottom, const float colour[4],
                        std::shared_ptr<TTexture> target) = 0;                     // 17
  virtual void SetViewport(int left, int top, int right, int bottom) = 0;          // 18
  virtual void GetViewport(int* left, int* top, int* right, int* bottom) = 0;      // 19
  virtual void PushViewport(int left, int top, int right, int bottom) = 0;         // 20
  virtual void DrawVertices(int /*primitive*/, const TVertexSet& /*vertices*/) {}  // 21
  virtual void DrawIndexedVertices(int /*primitive*/, const TVertexSet& /*vertices*/,
                                   const uint16_t* /*indices*/, int /*indexCount*/) {}        // 22
  virtual void PopViewport() = 0;                                                             // 23
  virtual bool PushRenderTarget(std::shared_ptr<TTexture> target) = 0;                        // 24
  virtual bool PopRenderTarget() = 0;                                                         // 25
  virtual bool IsRenderingToScreen() = 0;                                                     // 26
  virtual bool IsDeviceValid() = 0;                                                           // 27
  virtual bool IsFlipDone() = 0;                                                              // 28
  virtual void NoteDeviceTrouble() = 0;                                                       // 29
  virtual void HandleOutOfVideoMemory() = 0;                                                  // 30
  virtual void OnDisplayChange() = 0;                                                         // 31
  virtual void ResetWorkingCount() = 0;                                                       // 32
  virtual void Restore() = 0;                                                                 // 33
  virtual void SetShadeMode(int mode) = 0;                                                    // 34
  virtual void SetWorldMatrix(const TMat4& matrix) = 0;                                       // 35
  virtual void SetViewMatrix(const TMat4& matrix) = 0;                                        // 36
  virtual void SetProjectionMatrix(const TMat4& matrix) = 0;                                  // 37
  virtual void SetBlendMode(int mode) = 0;                                                    // 38
  virtual void SetTextureFilter(int mode) = 0;                                                // 39
  virtual void SetTextureAddressMode(int modeU, int modeV) = 0;                               // 40
  virtual void SetZWriteEnable(bool enable) = 0;                                              // 41
  virtual void SetZEnable(bool enable) = 0;                                                   // 42
  virtual void SetViewLookAt(const float eye[3], const float at[3], const float up[3]) = 0;   // 43
  virtual void SetPerspective(float nearZ, float farZ, float fieldOfView, float aspect) = 0;  // 44
  virtual void SetOrthographic(float nearZ, float farZ) = 0;                                  // 45
  virtual void GetWorldMatrix(TMat4* matrix) = 0;                                             // 46
  virtual void GetViewMatrix(TMat4* matrix) = 0;                                              // 47
  virtual void GetProjectionMatrix(TMat4* matrix) = 0;                                        // 48
  virtual void SetCullMode(int mode) = 0;                                                     // 49
  virtual void SetAmbientColor(float red, float green, float blue, float alpha) = 0;          // 50
  virtual void HideCursor() = 0;                                                              // 51
  // The cursor thread polls with (-1, -1); answers the cursor position, x -1 with no cursor.
  virtual TPoint UpdateCursor(int x, int y) = 0;                                             // 52
  virtual void OnWindowMoved() = 0;                                                          // 53
  virtual TPoint GetCursorPosition() = 0;                                                    // 54
  virtual bool HideSystemCursor() = 0;                                                       // 55
  virtual bool SetCursorTexture(std::shared_ptr<TTexture> texture, int hotX, int hotY) = 0;  // 56
  virtual bool RequiresSquareTextures() = 0;                                                 // 57
  // A new device-data object for a texture, owned by the caller.
  virtual TDxTextureData* CreateTextureData() = 0;  // 58
  virtual void CalibrateTexelOffset() {}            // 59
  // Glyphs of coverage rows in screen space (the vector rasteriser's output, TRaster.h's rule),
  // blended as the current blend mode says, in one pass; no texture, no depth.
  virtual void DrawCoverage(std::span<const sd::TRasterCoverageGlyph> /*glyphs*/) {}  // 60
};
