// Device loss: validity, marking the device broken, the restore ladder, and the one-time switch
// to the low-memory configuration recorded in "common:display.xml".
#include "tvlib/core/Clock.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TAsset.h"
#include "tvlib/core/TFile.h"
#include "tvlib/core/TSafeSave.h"
#include "tvlib/core/TXmlNode.h"
#include "tvlib/render/TDxDisplayHandler.h"
#include "tvlib/render/TDxDisplayHandlerData.h"

namespace {

// NoteDeviceTrouble marks the device at most once in this many milliseconds.
constexpr uint32_t kTroubleIntervalMs = 250;
// Fewer frames than this since the last set-up: restoring in place is not trusted.
constexpr uint32_t kMinWorkingFrames = 3;
// Attempts to regain the cooperative level, each after this pause.
constexpr int kCooperativeAttempts = 5;
constexpr uint32_t kCooperativePauseMs = 500;

}  // namespace

bool TDxDisplayHandler::IsDeviceValid() {
  TDxDisplayHandlerData& d = *mData;
  if (d.broken) return false;
  if (d.directDraw && d.device) return true;
  MarkDeviceBroken();
  return false;
}

void TDxDisplayHandler::NoteDeviceTrouble() {
  uint32_t now = RenderTime(mData->host);
  // Elapsed time since the last mark, by difference: a clock that wraps stays right.
  if (mData->broken || mData->brokenTime != 0) {
    if (now - mData->brokenTime <= kTroubleIntervalMs) return;
  }
  mData->broken = true;
  mData->brokenTime = now;
}

void TDxDisplayHandler::Restore() {
  TDxDisplayHandlerData& d = *mData;
  if (TAssetManager* assets = GetAssetManager()) assets->ReleaseAll();
  TRenderHost* host = d.host;
  if (host && host->IsHidden()) {
    ClockSleep(50);
    return;
  }
  int width = 0, height = 0;
  GetDisplaySize(&width, &height, nullptr);
  if (!d.directDraw || d.reconfigurePending) {
    DebugLog("TPlatformData::Restore: mDirectDraw NULL. Calling SetDisplay()");
    SetDisplay(width, height, d.fullScreen, true, true, false);
    return;
  }
  bool visible = !host || host->IsVisible();
  sd::HR hr = d.directDraw->TestCooperativeLevel();
  if (sd::Failed(hr)) {
    if (!visible) return;
    for (int attempt = 0;; ++attempt) {
      ClockSleep(kCooperativePauseMs);
      if (hr == sd::kErrExclusiveModeAlreadySet) return;
      if (hr == sd::kErrNoExclusiveMode) {
        hr = d.directDraw->SetCooperativeLevel(sd::kCoopFullScreen | sd::kCoopExclusive);
      }
      if (attempt < kCooperativeAttempts - 1) {
        if (sd::Succeeded(hr)) break;
        continue;
      }
      if (hr != sd::kErrWrongMode) return;
      break;
    }
    Check(hr);
    DebugLog("Restore: Test Cooperative level failed. Calling SetDisplay");
    SetDisplay(width, height, d.fullScreen, true, false, false);
    return;
  }
  if (d.workingCount < kMinWorkingFrames) {
    if (!visible) {
      MarkDeviceBroken();
      return;
    }
    DebugLog("TPlatformData::Restore: Working count too small (%d). Calling SetDisplay()",
             static_cast<int>(d.workingCount));
    SetDisplay(width, height, d.fullScreen, true, false, false);
    return;
  }
  d.workingCount = 0;
  d.broken = false;
  hr = d.directDraw->RestoreAllSurfaces();
  if (hr == sd::kOk) {
    RestoreAllAssets();
    return;
  }
  if (hr == sd::kErrWrongMode) {
    DebugLog("Restore: RestoreAllSurfaces resulted in DDERR_WRONGMODE. Calling SetDisplay.");
  } else {
    DebugLog("RestoreAllSurfaces failed!\n");
    Check(hr);
  }
  SetDisplay(width, height, d.fullScreen, true, false, false);
}

void TDxDisplayHandler::HandleOutOfVideoMemory() {
  TDxDisplayHandlerData& d = *mData;
  if (d.lowMemoryVideo) return;
  d.lowMemoryVideo = true;
  MarkDeviceBroken();
  d.reconfigurePending = true;
  TXmlNode settings("Settings");
  settings.SetAttribute("LowMemoryVideo", "1");
  TString text = settings.ToString();
  // A failed write leaves the low-memory mode for this run only.
  if (!WriteFileAtomically("common:display.xml", text.c_str(), static_cast<size_t>(text.Length()),
                           kSharedFileMode))
    DebugLog("Could not save common:display.xml");
}
