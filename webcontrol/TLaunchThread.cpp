// Running the launcher on its thread.
#include "webcontrol/TLaunchThread.h"

#include <X11/Xlib.h>

#include "webcontrol/TControlWindow.h"
#include "webcontrol/XConnection.h"

TLaunchThread::TLaunchThread(TLauncher& launcher, const TPageParams& params,
                             const TControlWindow& window, TLaunchFlags& flags)
    : mLauncher(launcher),
      mParams(params),
      mWindow(window),
      mDisplayName(window.GetDisplayName()),
      mFlags(flags),
      mThread(&TLaunchThread::Main, this) {}

TLaunchThread::~TLaunchThread() {
  mThread.join();
}

void TLaunchThread::Main() {
  mDisplay = OpenControlConnection(mDisplayName.c_str());
  mLauncher.Run(*this);
  // Finished before the repaint, so that the repaint already shows the outcome.
  mFlags.finished = true;
  RequestRepaint();
  CloseControlConnection(mDisplay);
  mDisplay = nullptr;
}

unsigned long TLaunchThread::GetControlWindow() const {
  return mWindow.GetId();
}

bool TLaunchThread::ControlWindowExists() {
  XWindowAttributes attributes;
  return mDisplay && XGetWindowAttributes(mDisplay, mWindow.GetId(), &attributes) != 0;
}

void TLaunchThread::SetGameStarted() {
  mFlags.gameStarted = true;
}

void TLaunchThread::RequestRepaint() {
  if (!mDisplay) return;
  // An exposure of the whole window, which the control's connection receives and draws.
  XClearArea(mDisplay, mWindow.GetId(), 0, 0, 0, 0, True);
  XFlush(mDisplay);
}
