// The headless window backend: no display, deterministic, for tests.
//
// It records what the engine does to the window (title, size, shown, cursor, capture,
// focus, messages to the host) and lets a test set what the engine reads (held modifiers,
// pointer position, host windows that exist, clipboard text). Input is fed by calling the
// window's Input* operations directly, or queued here and delivered at the next Poll.
#pragma once

#include <functional>
#include <set>
#include <vector>

#include "tvlib/platform/window/TNativeWindow.h"

class THeadlessWindowBackend : public TWindowBackend {
 public:
  struct SentToHost {
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
  };

  const char* GetName() const override { return "headless"; }
  bool CreateWindow(const TWindowDesc& desc) override;
  void DestroyWindow() override { mCreated = false; }
  void SetTitle(const std::string& title) override { mTitle = title; }
  void ShowWindow(bool shown) override { mShown = shown; }
  void RaiseWindow() override { ++mRaiseCount; }
  // The fake window's own id, which it also answers as a host (the harness layout).
  static constexpr uint64_t kOwnWindowId = 0x1f00001;
  uint64_t GetWindowId() override { return mCreated ? kOwnWindowId : 0; }
  bool IsHostWindow(uint64_t id) override {
    return mHostWindows.count(id) != 0 || (id != 0 && id == GetWindowId());
  }
  bool GetHostClientSize(uint64_t id, int* width, int* height) override;
  void SetMouseCapture(bool on) override { mCapture = on; }
  void SetInputFocus() override { ++mFocusCount; }
  void ShowSystemCursor(bool shown) override { mSystemCursorShown = shown; }
  uint32_t GetModifiers() override { return mModifiers; }
  void GetCursorPosition(int* x, int* y) override {
    *x = mCursorX;
    *y = mCursorY;
  }
  bool SetClipboardText(const std::string& text) override;
  bool GetClipboardText(std::string* text) override;
  void Poll(TNativeWindow& window) override;
  void Wait(uint32_t) override {}
  void SendToHost(uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    mSentToHost.push_back({message, wParam, lParam});
  }
  // A presenter in memory; no system pointer and no message boxes.
  std::unique_ptr<sd::TPresenter> CreatePresenter() override;
  bool ReadSystemPointer(int*, int*) override { return false; }
  bool ShowMessageBox(const char*, const char*, uint32_t) override { return false; }

  // Test controls.
  void Feed(std::function<void(TNativeWindow&)> input) { mPending.push_back(std::move(input)); }
  bool mCreated = false;
  TWindowDesc mDesc;
  std::string mTitle;
  bool mShown = false;
  int mRaiseCount = 0;
  bool mCapture = false;
  int mFocusCount = 0;
  bool mSystemCursorShown = true;
  uint32_t mModifiers = 0;
  int mCursorX = 0, mCursorY = 0;
  std::set<uint64_t> mHostWindows;
  int mHostWidth = 800, mHostHeight = 600;
  bool mClipboardWorks = true;
  bool mHasClipboard = false;
  std::string mClipboard;
  std::vector<SentToHost> mSentToHost;

 private:
  std::vector<std::function<void(TNativeWindow&)>> mPending;
};

std::unique_ptr<TWindowBackend> CreateHeadlessWindowBackend();
