// The platform's smaller services: web addresses, the clipboard, the cursor thread and the
// forwarding of display calls to the display handler.
#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "tvlib/app/TAppPlatform.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/platform/process/Process.h"
#include "tvlib/render/TDisplayHandler.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

// ShellExecute-style answers: above 32 is success.
constexpr int kOpenSucceeded = 33;
constexpr int kOpenFailed = 2;

// How often the cursor thread polls, with and without a cursor on screen, when the window
// backend gives no pointer events. With them it sleeps until the pointer moves, and after a
// move looks once more a poll period later, so that the last place is drawn even when the
// move came within the period the cursor is drawn at most once in.
constexpr int kCursorPollMs = 16;
constexpr int kNoCursorPollMs = 250;

// The program a "-host=" switch names: its first blank-delimited word, empty when none.
std::string HostProgram(const TString& commandLine) {
  int at = commandLine.Find("-host=");
  if (at < 0) return {};
  std::string rest = commandLine.c_str() + at + 6;
  return rest.substr(0, rest.find(' '));
}

void CursorThreadProc(TPlatformData* data) {
  // The cursor must keep up with the pointer while the UI thread is busy: the highest
  // ordinary priority when the system allows it (it needs the privilege; without it the
  // thread runs at the normal one).
  setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), -20);
  pthread_setname_np(pthread_self(), "tv-cursor");  // for profilers and /proc
  using TPointerWait = TWindowBackend::TPointerWait;
  TPointerWait last = TPointerWait::kQuiet;
  while (!data->cursorThreadStop) {
    int pause = kCursorPollMs;
    TWindowBackend* backend = nullptr;
    {
      std::unique_lock<std::mutex> lock(data->cursorLock);
      backend = data->cursorBackend;
      if (data->displayHandler && data->windowManager) {
        if (data->displayHandler->UpdateCursor(-1, -1).x == -1) pause = kNoCursorPollMs;
      }
    }
    if (backend) {
      last = backend->WaitForPointer(last == TPointerWait::kMoved ? kCursorPollMs : -1);
      if (last != TPointerWait::kCannotTell) continue;
    }
    // Waiting on the lock's condition lets a stop request end the pause at once.
    std::unique_lock<std::mutex> lock(data->cursorLock);
    data->cursorWake.wait_for(lock, std::chrono::milliseconds(pause),
                              [data] { return data->cursorThreadStop.load(); });
  }
}

}  // namespace

int TAppPlatform::OpenUrl(const TString& address) {
  std::string program = "xdg-open";
  if (mData->embedded) {
    std::string host = HostProgram(mData->commandLine);
    if (!host.empty()) program = host;
  }
  if (!SpawnProgram({program, address.c_str()})) {
    DebugLog("TPlatform::OpenUrl failed! Could not start %s.", program.c_str());
    return kOpenFailed;
  }
  return kOpenSucceeded;
}

bool TAppPlatform::SetClipboardText(const TString& text) {
  return mData->window && mData->window->GetBackend().SetClipboardText(text.c_str());
}

TString TAppPlatform::GetClipboardText() {
  std::string text;
  if (!mData->window || !mData->window->GetBackend().GetClipboardText(&text)) return {};
  return TString(text.c_str());
}

void TAppPlatform::StartCursorThread() {
  if (mData->cursorThread.joinable()) return;
  mData->cursorThreadStop = false;
  mData->cursorThread = std::thread(CursorThreadProc, mData);
}

void TAppPlatform::StopCursorThread() {
  mData->StopCursorThread();
}

// Display forwarding: each passes its arguments to the handler's operation of the same role.
// Without a handler there is no device: nothing is drawn and the answers are false or empty.

void TAppPlatform::SetTexture(int, std::shared_ptr<TTexture> texture) {
  if (auto* handler = GetDisplayHandler()) handler->SetTexture(std::move(texture));
}

void TAppPlatform::FillRect(int x, int y, int width, int height, TColor32 colour,
                            std::shared_ptr<TTexture> texture) {
  auto* handler = GetDisplayHandler();
  if (!handler) return;
  const float rgba[4] = {colour.GetRed() / 255.0f, colour.GetGreen() / 255.0f,
                         colour.GetBlue() / 255.0f, colour.GetAlpha() / 255.0f};
  handler->FillRect(x, y, x + width, y + height, rgba, std::move(texture));
}

void TAppPlatform::GetViewport(int* left, int* top, int* right, int* bottom) {
  *left = *top = *right = *bottom = 0;
  if (auto* handler = GetDisplayHandler()) handler->GetViewport(left, top, right, bottom);
}

void TAppPlatform::PushViewport(int left, int top, int right, int bottom) {
  if (auto* handler = GetDisplayHandler()) handler->PushViewport(left, top, right, bottom);
}

void TAppPlatform::PopViewport() {
  if (auto* handler = GetDisplayHandler()) handler->PopViewport();
}

bool TAppPlatform::SetRenderTarget(std::shared_ptr<TTexture> texture) {
  auto* handler = GetDisplayHandler();
  return handler && handler->PushRenderTarget(std::move(texture));
}

bool TAppPlatform::PopRenderTarget() {
  auto* handler = GetDisplayHandler();
  return handler && handler->PopRenderTarget();
}

bool TAppPlatform::IsFlipDone() {
  auto* handler = GetDisplayHandler();
  return handler && handler->IsFlipDone();
}

void TAppPlatform::HandleOutOfVideoMemory() {
  if (auto* handler = GetDisplayHandler()) handler->HandleOutOfVideoMemory();
}

void TAppPlatform::SetBlendMode(int mode) {
  if (auto* handler = GetDisplayHandler()) handler->SetBlendMode(mode);
}

void TAppPlatform::SetTextureFilter(int mode) {
  if (auto* handler = GetDisplayHandler()) handler->SetTextureFilter(mode);
}

void TAppPlatform::SetWorldMatrix(const TMat4& matrix) {
  if (auto* handler = GetDisplayHandler()) handler->SetWorldMatrix(matrix);
}

void TAppPlatform::SetViewMatrix(const TMat4& matrix) {
  if (auto* handler = GetDisplayHandler()) handler->SetViewMatrix(matrix);
}

void TAppPlatform::SetProjectionMatrix(const TMat4& matrix) {
  if (auto* handler = GetDisplayHandler()) handler->SetProjectionMatrix(matrix);
}

void TAppPlatform::GetWorldMatrix(TMat4* matrix) {
  if (auto* handler = GetDisplayHandler()) handler->GetWorldMatrix(matrix);
}

void TAppPlatform::GetViewMatrix(TMat4* matrix) {
  if (auto* handler = GetDisplayHandler()) handler->GetViewMatrix(matrix);
}

void TAppPlatform::GetProjectionMatrix(TMat4* matrix) {
  if (auto* handler = GetDisplayHandler()) handler->GetProjectionMatrix(matrix);
}
