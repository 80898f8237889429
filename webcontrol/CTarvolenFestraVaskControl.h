// The web launcher control: the page's parameters, the dispatch methods that pass the page's
// commands on to the game, the script channel back to the page, the control's window with
// its line of text, and the launcher it starts once.
//
// Host's thread only (the page's apartment); the launcher runs on a thread of its own and
// shares only the launch flags and the window's id. Destroying the control is its teardown:
// it asks the game to quit, waits for the launcher, and only then destroys its window.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "webcontrol/FestraVaskControl.h"
#include "webcontrol/PageParams.h"
#include "webcontrol/ScriptChannel.h"
#include "webcontrol/TControlWindow.h"
#include "webcontrol/TLaunchThread.h"
#include "webcontrol/TLauncher.h"

inline constexpr char kStatusLoading[] = "Loading FestraVask...";
inline constexpr char kStatusCannotRun[] = "Sorry, the game cannot run.";

class CTarvolenFestraVaskControl final : private TControlWindow::TOwner {
 public:
  // Runs a script on the page. It must not destroy the control.
  using TScriptHandler = std::function<void(const std::string& script)>;

  explicit CTarvolenFestraVaskControl(std::unique_ptr<TLauncher> launcher);
  ~CTarvolenFestraVaskControl();
  CTarvolenFestraVaskControl(const CTarvolenFestraVaskControl&) = delete;
  CTarvolenFestraVaskControl& operator=(const CTarvolenFestraVaskControl&) = delete;

  void Load(const fv_param* params, size_t count) { mParams.Load(params, count); }
  const TPageParams& GetPageParams() const { return mParams; }
  void SetScriptHandler(TScriptHandler handler) { mScriptHandler = std::move(handler); }

  // Creates the control's window in `parent` and, the first time, starts the launcher.
  // The window's id; 0 on failure.
  unsigned long CreateControlWindow(const char* displayName, unsigned long parent, int x, int y,
                                    int width, int height);
  int GetConnectionNumber() const { return mWindow.GetConnectionNumber(); }
  void DispatchEvents() { mWindow.DispatchEvents(); }
  TControlWindow& GetWindow() { return mWindow; }

  // Calls a dispatch method: posts its command to the game's window. False only for an id the
  // interface does not have.
  bool Invoke(int dispid);

  fv_state GetState() const;
  const char* GetStatusText() const override;

 private:
  void OnHostMessage(const THostMessage& message) override;

  std::unique_ptr<TLauncher> mLauncher;
  TPageParams mParams;
  TScriptHandler mScriptHandler;
  TScriptChannel mScripts;
  TLaunchFlags mFlags;
  TControlWindow mWindow{*this};
  std::unique_ptr<TLaunchThread> mLaunch;  // set once: the launcher starts only once
};
