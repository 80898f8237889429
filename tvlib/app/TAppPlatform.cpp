// The platform object's implementation: the clock, the task lists, the owned services and
// the renderer's host.
#include "tvlib/app/TAppPlatform.h"

#include "tvlib/app/AppUiSounds.h"
#include "tvlib/app/TPortal.h"
#include "tvlib/core/Clock.h"
#include "tvlib/core/TAsset.h"
#include "tvlib/core/TStringTable.h"
#include "tvlib/core/TTaskList.h"
#include "tvlib/media/TSoundManager.h"
#include "tvlib/platform/audio/AudioOutputs.h"
#include "tvlib/platform/dialog/TMessageBox.h"
#include "tvlib/platform/sdl/TSdlAudioOutput.h"
#include "tvlib/render/TDisplayHandler.h"
#include "tvlib/render/TDx3dDisplayHandler.h"
#include "tvlib/render/TTvMiniVecDraw.h"
#include "tvlib/ui/TTextBlock.h"
#include "tvlib/ui/TWindowManager.h"

TPlatformData::TPlatformData() : startTime(ClockMilliseconds()) {
  windowManager = std::make_unique<TWindowManager>();
  windowManager->SetSounds(MakeAppUiSounds());
  assetManager = std::make_unique<TAssetManager>();
  stringTable = std::make_unique<TStringTable>();
}

TPlatformData::~TPlatformData() {
  ReleaseServices();
  stringTable.reset();
  assetManager.reset();
  ClearFontCache(&fontCache);
}

void TPlatformData::StopCursorThread() {
  if (!cursorThread.joinable()) return;
  {
    // Raised under the lock: the thread tests the flag under it before it waits, so the
    // wake-up cannot fall between its test and its wait.
    std::lock_guard<std::mutex> lock(cursorLock);
    cursorThreadStop = true;
    if (cursorBackend) cursorBackend->WakePointerWait();
  }
  cursorWake.notify_all();
  cursorThread.join();
}

void TPlatformData::ReleaseServices() {
  // The cursor thread uses the window manager and the display handler: it goes first.
  StopCursorThread();
  TTextBlock::Delete(fpsText);
  fpsText = nullptr;
  windowManager.reset();
  taskList.DeleteAll();
  soundManager.reset();
  vectorRasteriser.reset();
  displayHandler.reset();
  // The window procedure must find no platform while the window is destroyed.
  if (window) window->SetUserData(nullptr);
  SetMessageBoxService({});
  cursorBackend = nullptr;  // the cursor thread has stopped
  window.reset();
}

bool TPlatformData::GetDisplayScale(float* scale) const {
  *scale = displayScale;
  return embedded;
}

void TPlatformData::Restore() {
  if (displayHandler) displayHandler->Restore();
}

void TPlatformData::ReleaseAssets() {
  if (assetManager) assetManager->ReleaseAll();
}

TAppPlatform::TAppPlatform(TPlatformData* data) : mData(data) {
  SetTextServices(this);
}

TAppPlatform::~TAppPlatform() {
  if (GetCurrentRenderHost() == this) SetCurrentDisplayHandler(nullptr, nullptr);
  if (GetTextServices() == this) SetTextServices(nullptr);
}

void TAppPlatform::Shutdown() {
  mData->cursorTexture.reset();
  SetCurrentDisplayHandler(nullptr, nullptr);
  mData->ReleaseServices();
  Unregister();
}

uint32_t TAppPlatform::GetElapsedTime() const {
  return ClockMilliseconds() - mData->startTime - GetPortalSuspendedTime();
}

void TAppPlatform::AddTask(TTask* task) {
  mData->taskList.Add(task);
}
bool TAppPlatform::RemoveTask(TTask* task) {
  return mData->taskList.Remove(task);
}
TTaskList* TAppPlatform::GetTaskList() {
  return &mData->taskList;
}
void TAppPlatform::AddRestoreListener(TTask* task) {
  mData->restoreListeners.Add(task);
}

TWindowManager* TAppPlatform::GetWindowManager() {
  return mData->windowManager.get();
}
TStringTable* TAppPlatform::GetStringTable() {
  return mData->stringTable.get();
}

TString& TAppPlatform::GetSettingRef(const TString& key) {
  return mData->settings.GetSettingRef(key);
}
TString TAppPlatform::GetSetting(const TString& key) {
  return mData->settings.GetSetting(key);
}
void TAppPlatform::SetSetting(const TString& key, const TString& value) {
  mData->settings.SetSetting(key, value);
}
bool TAppPlatform::IsSettingSet(const TString& key) {
  return mData->settings.IsSettingSet(key);
}
TSoundManager* TAppPlatform::GetSoundManager() {
  return mData->soundManager.get();
}
TDisplayHandler* TAppPlatform::GetDisplayHandler() {
  return mData->displayHandler.get();
}

void TAppPlatform::SetDisplayHandler(TDisplayHandler* handler) {
  std::unique_ptr<TDisplayHandler> old;
  {
    // The cursor thread polls the handler under this lock, so it never sees one deleted.
    std::lock_guard<std::mutex> lock(mData->cursorLock);
    old = std::move(mData->displayHandler);
    mData->displayHandler.reset(handler);
    SetCurrentDisplayHandler(handler, this);
  }
}

void TAppPlatform::CreateDisplayHandler() {
  SetDisplayHandler(new TDx3dDisplayHandler(nullptr, this));
}

TWindowBackend* TAppPlatform::GetWindowBackend() {
  return mData->window ? &mData->window->GetBackend() : nullptr;
}

bool TAppPlatform::IsHostWindowLost() {
  return mData->embedded && !mData->harnessTest && mData->hostWindow != 0 && mData->window &&
         !mData->window->GetBackend().IsHostWindow(mData->hostWindow);
}

bool TAppPlatform::HostDecidesFullscreen() const {
  return HasPqSwitch();
}

void TAppPlatform::PostQuitMessage() {
  if (mData->window) mData->window->PostQuitMessage();
}

void TAppPlatform::RequestQuit() {
  PostQuitMessage();
}

bool TAppPlatform::IsDrawingDisabled() {
  return mData->windowManager && mData->windowManager->mDrawingDisabled;
}

bool TAppPlatform::StartSound() {
  if (!mData->soundManager)
    mData->soundManager = std::make_unique<TSoundManager>([] {
      return OpenConfiguredAudioDevice([] { return std::make_unique<TSdlAudioOutput>(); });
    });
  bool started = mData->soundManager->Init();
  // In portal mode the game is silent from its start until the host starts it (command 7),
  // not only from the first command the host sends.
  if (IsPortalMode()) UpdatePortalMute();
  return started;
}

bool HasPqSwitch() {
  TPlatform* platform = TPlatform::GetInstance();
  return platform && platform->GetData()->commandLine.Find("-pq=") >= 0;
}
