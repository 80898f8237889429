// The platform object: the singleton, the clock, the task lists and the owned services.
#include "tvlib/core/TPlatform.h"

#include "tvlib/core/TAsset.h"
#include "tvlib/core/TStringTable.h"

#include "tvlib/core/TPortal.h"
#include "tvlib/core/TTaskList.h"
#include "tvlib/media/TSoundManager.h"
#include "tvlib/platform/clock/Clock.h"
#include "tvlib/render/TDisplayHandler.h"
#include "tvlib/render/TTvMiniVecDraw.h"
#include "tvlib/ui/TTextBlock.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

// Read by the cursor thread's clock users as well as the UI thread.
std::atomic<TPlatform*> gInstance{nullptr};

}  // namespace

TPlatformData::TPlatformData() : startTime(ClockMilliseconds()) {
  windowManager = std::make_unique<TWindowManager>();
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

TPlatform::TPlatform(TPlatformData* data) : mData(data) { gInstance = this; }

TPlatform::~TPlatform() {
  TPlatform* self = this;
  gInstance.compare_exchange_strong(self, nullptr);
}

TPlatform* TPlatform::GetInstance() { return gInstance; }

void TPlatform::Shutdown() {
  mData->cursorTexture.reset();
  mData->ReleaseServices();
  TPlatform* self = this;
  gInstance.compare_exchange_strong(self, nullptr);
}

uint32_t TPlatform::GetTime() {
  TPlatform* platform = gInstance;
  uint32_t start = platform ? platform->mData->startTime : 0;
  return ClockMilliseconds() - start - GetPortalSuspendedTime();
}

void TPlatform::AddTask(TTask* task) { mData->taskList.Add(task); }
bool TPlatform::RemoveTask(TTask* task) { return mData->taskList.Remove(task); }
TTaskList* TPlatform::GetTaskList() { return &mData->taskList; }
void TPlatform::AddRestoreListener(TTask* task) { mData->restoreListeners.Add(task); }

TWindowManager* TPlatform::GetWindowManager() { return mData->windowManager.get(); }
TStringTable* TPlatform::GetStringTable() { return mData->stringTable.get(); }

TString& TPlatform::GetSettingRef(const TString& key) { return mData->settings.GetSettingRef(key); }
TString TPlatform::GetSetting(const TString& key) { return mData->settings.GetSetting(key); }
void TPlatform::SetSetting(const TString& key, const TString& value) {
  mData->settings.SetSetting(key, value);
}
bool TPlatform::IsSettingSet(const TString& key) { return mData->settings.IsSettingSet(key); }
TSoundManager* TPlatform::GetSoundManager() { return mData->soundManager.get(); }
TDisplayHandler* TPlatform::GetDisplayHandler() { return mData->displayHandler.get(); }

void TPlatform::SetDisplayHandler(TDisplayHandler* handler) {
  std::unique_ptr<TDisplayHandler> old;
  {
    // The cursor thread polls the handler under this lock, so it never sees one deleted.
    std::lock_guard<std::mutex> lock(mData->cursorLock);
    old = std::move(mData->displayHandler);
    mData->displayHandler.reset(handler);
  }
}

bool TPlatform::StartSound() {
  if (!mData->soundManager) mData->soundManager = std::make_unique<TSoundManager>();
  bool started = mData->soundManager->Init();
  if (HasPortalCommandArrived()) UpdatePortalMute();
  return started;
}

bool HasPqSwitch() {
  TPlatform* platform = TPlatform::GetInstance();
  return platform && platform->GetData()->commandLine.Find("-pq=") >= 0;
}
