// The control's methods, its script channel, its text and its teardown.
#include "webcontrol/CTarvolenFestraVaskControl.h"

#include "webcontrol/ControlMethods.h"

CTarvolenFestraVaskControl::CTarvolenFestraVaskControl(std::unique_ptr<TLauncher> launcher)
    : mLauncher(std::move(launcher)) {}

CTarvolenFestraVaskControl::~CTarvolenFestraVaskControl() {
  mFlags.quitting = true;
  mWindow.PostToGame({kHostQuit, 0, 0});
  mLaunch.reset();  // waits for the launcher: the game has ended and is cleaned up
  mWindow.Destroy();
}

unsigned long CTarvolenFestraVaskControl::CreateControlWindow(const char* displayName,
                                                              unsigned long parent, int x, int y,
                                                              int width, int height) {
  if (!mWindow.Create(displayName, parent, x, y, width, height)) return 0;
  if (!mLaunch) mLaunch = std::make_unique<TLaunchThread>(*mLauncher, mParams, mWindow, mFlags);
  return mWindow.GetId();
}

bool CTarvolenFestraVaskControl::Invoke(int dispid) {
  const TControlMethod* method = FindControlMethod(dispid);
  if (!method) return false;
  if (method->posts) mWindow.PostToGame({kHostCommand, static_cast<long>(method->command), 0});
  return true;
}

fv_state CTarvolenFestraVaskControl::GetState() const {
  bool started = mFlags.gameStarted;
  if (!mFlags.finished) return started ? FV_STATE_RUNNING : FV_STATE_LOADING;
  return started ? FV_STATE_FINISHED : FV_STATE_FAILED;
}

const char* CTarvolenFestraVaskControl::GetStatusText() const {
  if (mFlags.gameStarted) return "";
  return mFlags.finished ? kStatusCannotRun : kStatusLoading;
}

void CTarvolenFestraVaskControl::OnHostMessage(const THostMessage& message) {
  std::string script;
  if (mScripts.Receive(message, &script) && mScriptHandler) mScriptHandler(script);
}
