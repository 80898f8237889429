// Test doubles for the platform: a recording display handler and sound
// manager, and a fixture that builds a platform on the headless window backend.
#pragma once

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "tests/support/FakeClock.h"
#include "tvlib/app/TAppPlatform.h"
#include "tvlib/app/TPortal.h"
#include "tvlib/core/Clock.h"
#include "tvlib/media/TSoundManager.h"
#include "tvlib/platform/headless/THeadlessWindowBackend.h"
#include "tvlib/render/TDisplayHandler.h"

using Calls = std::vector<std::string>;

class TRecordingSoundManager : public TSoundManager {
 public:
  bool Init() override {
    mCalls.push_back("Init");
    return TSoundManager::Init();
  }
  void Update() override { mCalls.push_back("Update"); }
  void SetActive(bool active) override {
    mCalls.push_back(active ? "SetActive(1)" : "SetActive(0)");
    TSoundManager::SetActive(active);
  }
  void SetMasterVolume(float volume) override {
    mCalls.push_back("SetMasterVolume(" + std::to_string(volume).substr(0, 4) + ")");
    TSoundManager::SetMasterVolume(volume);
  }
  std::vector<std::string> mCalls;
};

// Records every call by name; the answers are settable.
class TRecordingDisplayHandler : public TDisplayHandler {
 public:
  std::vector<std::string> mCalls;
  mutable std::mutex mCallsLock;
  bool mDeviceValid = true;
  bool mFullscreen = false;
  bool mBeginAnswer = true;
  TPoint mCursor{7, 9};
  TPoint mCursorUpdate{-1, -1};
  bool* mDestroyed = nullptr;

  ~TRecordingDisplayHandler() override {
    if (mDestroyed) *mDestroyed = true;
  }
  // The cursor thread notes its polls while the test reads: both take the lock.
  void Note(const std::string& call) {
    std::lock_guard lock(mCallsLock);
    mCalls.push_back(call);
  }
  int Count(const std::string& call) const {
    std::lock_guard lock(mCallsLock);
    int n = 0;
    for (const auto& c : mCalls) n += c == call;
    return n;
  }

  bool IntersectTriangle(const float*, const float*, const float*, const float*, const float*,
                         float*, float*) override {
    Note("IntersectTriangle");
    return false;
  }
  void SetTexture(std::shared_ptr<TTexture>) override { Note("SetTexture"); }
  void SetMaterial(const TMaterial&) override { Note("SetMaterial"); }
  void SetLight(int, const TLight*) override { Note("SetLight"); }
  TString GetDeviceDescription() override { return "fake"; }
  bool Begin2d() override {
    Note("Begin2d");
    return mBeginAnswer;
  }
  void End2d() override { Note("End2d"); }
  bool Begin3d() override {
    Note("Begin3d");
    return true;
  }
  void End3d() override { Note("End3d"); }
  bool SetDisplay(int w, int h, bool full, bool, bool, bool embedded) override {
    Note("SetDisplay(" + std::to_string(w) + "," + std::to_string(h) + "," + std::to_string(full) +
         "," + std::to_string(embedded) + ")");
    return true;
  }
  void GetDisplaySize(int*, int*, bool*) override { Note("GetDisplaySize"); }
  bool SetFullscreen(bool full) override {
    Note(full ? "SetFullscreen(1)" : "SetFullscreen(0)");
    mFullscreen = full;
    return true;
  }
  bool IsFullscreen() override { return mFullscreen; }
  bool BeginDraw(bool) override {
    Note("BeginDraw");
    return mBeginAnswer;
  }
  void EndDraw(bool) override { Note("EndDraw"); }
  void PresentRect(const int*, const int*) override { Note("PresentRect"); }
  void FillRect(int l, int t, int r, int b, const float c[4], std::shared_ptr<TTexture>) override {
    Note("FillRect(" + std::to_string(l) + "," + std::to_string(t) + "," + std::to_string(r) + "," +
         std::to_string(b) + "," + std::to_string(c[0]) + "," + std::to_string(c[3]) + ")");
  }
  void SetViewport(int, int, int, int) override { Note("SetViewport"); }
  void GetViewport(int* l, int* t, int* r, int* b) override {
    Note("GetViewport");
    *l = 0, *t = 0, *r = 800, *b = 600;
  }
  void PushViewport(int, int, int, int) override { Note("PushViewport"); }
  void DrawVertices(int, const TVertexSet&) override { Note("DrawVertices"); }
  void DrawIndexedVertices(int, const TVertexSet&, const uint16_t*, int) override {
    Note("DrawIndexedVertices");
  }
  void PopViewport() override { Note("PopViewport"); }
  bool PushRenderTarget(std::shared_ptr<TTexture>) override {
    Note("PushRenderTarget");
    return true;
  }
  bool PopRenderTarget() override {
    Note("PopRenderTarget");
    return true;
  }
  bool IsRenderingToScreen() override { return true; }
  bool IsDeviceValid() override { return mDeviceValid; }
  bool IsFlipDone() override {
    Note("IsFlipDone");
    return true;
  }
  void NoteDeviceTrouble() override { Note("NoteDeviceTrouble"); }
  void HandleOutOfVideoMemory() override { Note("HandleOutOfVideoMemory"); }
  void OnDisplayChange() override { Note("OnDisplayChange"); }
  void ResetWorkingCount() override { Note("ResetWorkingCount"); }
  void Restore() override { Note("Restore"); }
  void SetShadeMode(int) override { Note("SetShadeMode"); }
  void SetWorldMatrix(const TMat4&) override { Note("SetWorldMatrix"); }
  void SetViewMatrix(const TMat4&) override { Note("SetViewMatrix"); }
  void SetProjectionMatrix(const TMat4&) override { Note("SetProjectionMatrix"); }
  void SetBlendMode(int mode) override { Note("SetBlendMode(" + std::to_string(mode) + ")"); }
  void SetTextureFilter(int mode) override {
    Note("SetTextureFilter(" + std::to_string(mode) + ")");
  }
  void SetTextureAddressMode(int, int) override { Note("SetTextureAddressMode"); }
  void SetZWriteEnable(bool) override { Note("SetZWriteEnable"); }
  void SetZEnable(bool) override { Note("SetZEnable"); }
  void SetViewLookAt(const float*, const float*, const float*) override { Note("SetViewLookAt"); }
  void SetPerspective(float, float, float, float) override { Note("SetPerspective"); }
  void SetOrthographic(float, float) override { Note("SetOrthographic"); }
  void GetWorldMatrix(TMat4* m) override {
    Note("GetWorldMatrix");
    m->rows[3].x = 5;
  }
  void GetViewMatrix(TMat4*) override { Note("GetViewMatrix"); }
  void GetProjectionMatrix(TMat4*) override { Note("GetProjectionMatrix"); }
  void SetCullMode(int) override { Note("SetCullMode"); }
  void SetAmbientColor(float, float, float, float) override { Note("SetAmbientColor"); }
  void HideCursor() override { Note("HideCursor"); }
  TPoint UpdateCursor(int x, int y) override {
    Note("UpdateCursor(" + std::to_string(x) + "," + std::to_string(y) + ")");
    return mCursorUpdate;
  }
  void OnWindowMoved() override { Note("OnWindowMoved"); }
  TPoint GetCursorPosition() override { return mCursor; }
  bool HideSystemCursor() override { return false; }
  bool SetCursorTexture(std::shared_ptr<TTexture>, int, int) override {
    Note("SetCursorTexture");
    return true;
  }
  bool RequiresSquareTextures() override { return false; }
  TDxTextureData* CreateTextureData() override { return nullptr; }
  void CalibrateTexelOffset() override { Note("CalibrateTexelOffset"); }
};

// A platform on the headless backend with a fake clock, a recording sound manager and a
// recording display handler.
class PlatformTest : public ::testing::Test {
 protected:
  explicit PlatformTest(const char* commandLine = "") {
    ResetPortalState();
    mData.commandLine = commandLine;
    mPlatform = std::make_unique<TAppPlatform>(&mData);
    auto backend = std::make_unique<THeadlessWindowBackend>();
    mBackend = backend.get();
    mPlatform->CreateMainWindow(std::move(backend));
    mSound = new TRecordingSoundManager;
    mData.soundManager.reset(mSound);
    mDisplay = new TRecordingDisplayHandler;
    mPlatform->SetDisplayHandler(mDisplay);
  }
  ~PlatformTest() override { ResetPortalState(); }

  TNativeWindow& Window() { return *mData.window; }
  // The next event of the pump.
  TPlatformEvent Next() {
    TPlatformEvent event;
    mPlatform->GetEvent(&event);
    return event;
  }

  TFakeClock mClock;
  TPlatformData mData;
  std::unique_ptr<TAppPlatform> mPlatform;
  THeadlessWindowBackend* mBackend = nullptr;
  TRecordingSoundManager* mSound = nullptr;
  TRecordingDisplayHandler* mDisplay = nullptr;
};
