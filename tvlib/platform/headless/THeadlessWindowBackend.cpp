// The headless window backend's few operations that do more than record.
#include "tvlib/platform/headless/THeadlessWindowBackend.h"

#include "tvlib/platform/headless/THeadlessPresenter.h"

bool THeadlessWindowBackend::CreateWindow(const TWindowDesc& desc) {
  if (desc.hostWindow != 0 && !IsHostWindow(desc.hostWindow)) return false;
  mDesc = desc;
  mTitle = desc.title;
  mCreated = true;
  return true;
}

bool THeadlessWindowBackend::GetHostClientSize(uint64_t id, int* width, int* height) {
  if (!IsHostWindow(id)) return false;
  bool own = id == GetWindowId();
  *width = own ? mDesc.width : mHostWidth;
  *height = own ? mDesc.height : mHostHeight;
  return true;
}

bool THeadlessWindowBackend::SetClipboardText(const std::string& text) {
  if (!mClipboardWorks) return false;
  mClipboard = text;
  mHasClipboard = true;
  return true;
}

bool THeadlessWindowBackend::GetClipboardText(std::string* text) {
  if (!mClipboardWorks || !mHasClipboard) return false;
  *text = mClipboard;
  return true;
}

void THeadlessWindowBackend::Poll(TNativeWindow& window) {
  // Input fed while delivering may queue more for the next poll.
  std::vector<std::function<void(TNativeWindow&)>> pending;
  pending.swap(mPending);
  for (auto& input : pending) input(window);
}

std::unique_ptr<TWindowBackend> CreateHeadlessWindowBackend() {
  return std::make_unique<THeadlessWindowBackend>();
}

std::unique_ptr<sd::TPresenter> THeadlessWindowBackend::CreatePresenter() {
  return std::make_unique<sd::THeadlessPresenter>();
}
