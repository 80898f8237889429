// Fault injection for the software rendering device.
//
// Tests install a hook that is asked before every device operation named below; a failure code it
// returns is what the operation answers, with nothing else done. This is how the device-loss,
// out-of-video-memory and fallback ladders of the display code are reached without a real driver.
// The hook is process-wide and meant for tests on one thread; with no hook installed the check is a
// single load of an empty std::function.
#pragma once

#include <functional>

#include "tvlib/platform/render/SdDefs.h"

namespace sd {

// Every operation that can be made to fail.
enum class TCall {
  // Display object.
  kSetCooperativeLevel,
  kTestCooperativeLevel,
  kRestoreAllSurfaces,
  kSetDisplayMode,
  kRestoreDisplayMode,
  kCreateSurface,
  kCreatePalette,
  kGetAvailableVidMem,
  kCreateDevice,
  // Surfaces.
  kLock,
  kUnlock,
  kBlt,
  kBltFast,
  kFlip,
  kGetFlipStatus,
  kRestore,
  kSetColorKey,
  kSetPalette,
  kAddAttachedSurface,
  // 3-D device.
  kBeginScene,
  kEndScene,
  kClear,
  kSetRenderTarget,
  kSetViewport,
  kSetRenderState,
  kSetTextureStageState,
  kSetTexture,
  kSetTransform,
  kSetMaterial,
  kSetLight,
  kLightEnable,
  kDrawPrimitive,
  kDrawIndexedPrimitive,
  kDrawCoverage,
  // Texture helpers.
  kCreateTexture,
  kLoadTextureFromMemory,
};

using TFaultFn = std::function<HR(TCall)>;

// Installs the hook (an empty function removes it).
void SetFaultHook(TFaultFn hook);

// What the hook answers for this call: kOk when no hook is installed or it lets the call pass.
HR CheckFault(TCall call);

// Installs a hook for the lifetime of the guard (tests), restoring none afterwards.
class TFaultScope {
 public:
  explicit TFaultScope(TFaultFn hook) { SetFaultHook(std::move(hook)); }
  ~TFaultScope() { SetFaultHook({}); }
  TFaultScope(const TFaultScope&) = delete;
  TFaultScope& operator=(const TFaultScope&) = delete;
};

}  // namespace sd
