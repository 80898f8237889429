// The owner of the window tree's roots and of everything global to windows: the modal stack
// (whose bottom is the root screen), the windows kept on top, the mouse-capture list, the
// focused window, the set of windows to redraw, deferred deletions, the message queue and its
// listeners, the window factories by type name, the window script and the sounds windows
// play (TUiSounds).
//
// The platform owns one (TWindowManager::Get) and hands it every engine event: pointer events
// go to the capture list or the window under the pointer, keys to the focused window, and the
// tick runs the top window's tasks, drains the queue and draws what is dirty (DrawAll).
// Delivering a type-5 message posts the platform's quit message, and so does popping the last
// modal window, so the program never hangs on an empty screen. A deleted window is taken out
// of every list and no queued message reaches it. UI thread only.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "tvlib/core/TPlatformEvent.h"
#include "tvlib/script/TLuaBindings.h"
#include "tvlib/ui/TMessage.h"
#include "tvlib/ui/TMessageListener.h"
#include "tvlib/ui/TModalWindow.h"
#include "tvlib/ui/TUiSounds.h"
#include "tvlib/ui/TWindowFactory.h"
#include "tvlib/ui/TWindowScript.h"

class TLuaObjectWrapper;
class TTaskList;
class TTexture;

class TWindowManager {
 public:
  TWindowManager();
  virtual ~TWindowManager();
  TWindowManager(const TWindowManager&) = delete;
  TWindowManager& operator=(const TWindowManager&) = delete;

  // The platform's window manager; null without a platform.
  static TWindowManager* Get();

  // --- Window script and factories -----------------------------------------------------
  // Keeps `script` (owned from now on; a previous one is deleted), registers the window type
  // "XSellWindow" and binds "SetTopModalOnly" in it, makes the top modal window its parent
  // for new windows and puts it on the platform's frame task list.
  void AttachScript(TWindowScript* script);
  TWindowScript* GetWindowScript() { return mScript.get(); }
  // Runs a layout script file with `parent` as the parent of its windows; false when it
  // could not run (or there is no script). A missing file is logged with its name. A script
  // its limits stopped (TScriptLimits.h) leaves no screen half built: a modal `parent` is
  // dropped with whatever it held.
  bool RunWindowScript(TWindow* parent, const TString& file);
  // Makes "<name>{ ... }" a window constructor of the script; nothing without a script.
  void AddWindowType(const TString& name, TWindowCreator creator);
  // Sets the window script's label-localisation flag; returns the old value (false, and
  // nothing set, without a script).
  bool SetLocalizeLabels(bool localize);
  // Keeps `factory` (owned) under the name, deleting the one it replaces.
  void SetFactory(const TString& name, TWindowFactory* factory);
  TWindowFactory* GetFactory(const TString& name) const;
  // The sound effects windows play, supplied by the composition root; null: silence.
  void SetSounds(std::unique_ptr<TUiSounds> sounds) { mSounds = std::move(sounds); }
  TUiSounds* GetSounds() const { return mSounds.get(); }

  // --- Modal stack -------------------------------------------------------------------
  TModalWindow* GetTopModal() const { return mModalStack.empty() ? nullptr : mModalStack.back(); }
  TModalWindow* GetRootWindow() const { return mRoot; }
  const std::vector<TModalWindow*>& GetModalStack() const { return mModalStack; }
  // Makes `window` the top modal window (a child of the previous top, which owns it from now
  // on), focuses it and runs its Init.
  void PushModal(TModalWindow* window);
  // Takes the top window off the stack and deletes it at the next event; the new top gets the
  // focus. Popping the last one quits the program.
  void PopModal();
  // Pops `window` and every modal window above it; nothing when it is not on the stack.
  void DropModal(const TWindow* window);
  // Makes `window` (owned from now on) the root: pushed, sized to the viewport, Init again.
  void SetRootWindow(TModalWindow* window);
  // Pushes a dialog built by the layout script file, showing `body` under `title`, named
  // `name`; returns it.
  TModalWindow* PushDialog(const TString& layoutScript, const TString& body, const TString& title,
                           const TString& name);

  // --- Mouse, overlays, focus --------------------------------------------------------
  // Puts the window at the front of the capture list; returns the previous front (the window
  // itself when it was already in the list, which then stays as it was).
  TWindow* CaptureMouse(TWindow* window);
  void ReleaseMouse(TWindow* window);
  const std::vector<TWindow*>& GetCapture() const { return mCapture; }
  // Windows drawn above the modal stack in every drawn frame (not owned until the manager is
  // destroyed, which deletes those still listed).
  void AddOverlay(TWindow* window);
  bool RemoveOverlay(TWindow* window);
  void SetFocus(TWindow* window);
  TWindow* GetFocus() const { return mFocus; }

  // --- Redraw and deletion -----------------------------------------------------------
  void MarkDirty(TWindow* window) { mDirty.insert(window); }
  bool IsMarkedDirty(TWindow* window) const { return mDirty.count(window) != 0; }
  void RequestFullRedraw() { mFullRedraw = true; }
  // Deletes the window at the start of the next event; queued messages aimed at it or below
  // it lose their target, and it loses the mouse.
  void DeleteLater(TWindow* window);
  // Called by ~TWindow: the window leaves every list of the manager.
  void ForgetWindow(TWindow* window);
  void DeletePending();
  // The texture the layer windows are drawn into first (empty: none).
  void SetRenderTarget(std::shared_ptr<TTexture> target) { mRenderTarget = std::move(target); }
  const std::shared_ptr<TTexture>& GetRenderTarget() const { return mRenderTarget; }

  // --- Messages ----------------------------------------------------------------------
  // Appends to the queue, which owns the message until it is delivered.
  void PostMessage(TMessage* message);
  // Delivers queued messages (and those posted meanwhile) until the queue is empty.
  void DrainQueue();
  // Delivers one message (owned): type 5 quits first; without a target it goes to the
  // listeners, else the focused window, else the top modal window.
  void Deliver(TMessage* message);
  // Hands a message nobody took (owned; may be null) and a button's command (not owned; may
  // be null) to the window script's queues; a message the script does not take, or any
  // message without a script, is deleted.
  void PostToScript(TMessage* message, TLuaObjectWrapper* command = nullptr);
  void AddListener(TMessageListener* listener);
  size_t GetQueueLength() const { return mQueue.size(); }

  // --- Events and frames -------------------------------------------------------------
  void SetTopModalOnly(bool topOnly) { mTopModalOnly = topOnly; }
  void HandleEvent(TPlatformEvent* event);
  // The frame step: redraws what is dirty.
  void DrawAll();
  // Milliseconds until the top window's earliest timed task is due, at most `cap`.
  uint32_t GetMsUntilDue(uint32_t cap);

  // While set, the frame step draws nothing and the display handler does not present.
  bool mDrawingDisabled = false;
  // While set, only the top modal window is drawn.
  bool mTopModalOnly = false;

 private:
  void RouteToPointer(const TPlatformEvent& event);
  void RouteToCapture(const TPlatformEvent& event);
  void DrawModalStack(int mode);
  void DrawOverlays();
  void ClearQueuedTargets(TWindow* window, bool subtree);
  static void PostQuit();
  // Deletes the queued messages that hold values of the window script's state.
  void DropScriptMessages();
  // Takes the window script off the task list it was put on.
  void DetachScriptTask();
  // Binds the manager's script functions in the window script (TWindowManagerBind.cpp).
  void BindScriptFunctions(lua_State* L);
  // Runs `call` on each window of `windows` (a copy) that is not deleted meanwhile.
  template <typename Call>
  void ForEachLive(const std::vector<TWindow*>& windows, Call call);

  std::map<TString, std::unique_ptr<TWindowFactory>> mFactories;
  std::unique_ptr<TUiSounds> mSounds;
  std::shared_ptr<TTexture> mRenderTarget;
  TModalWindow* mRoot = nullptr;
  bool mModalPopped = false;
  std::vector<TModalWindow*> mModalStack;  // back() is the top
  std::vector<TWindow*> mPendingDelete;
  std::vector<TWindow*> mOverlays;  // [0] is the front
  std::vector<TWindow*> mCapture;   // [0] is the most recent
  std::set<TWindow*> mDirty;
  TWindow* mFocus = nullptr;
  bool mFullRedraw = false;
  bool mShuttingDown = false;
  std::deque<std::unique_ptr<TMessage>> mQueue;
  std::vector<std::unique_ptr<TMessageListener>> mListeners;
  // Copies of lists being walked while handlers run: ForgetWindow nulls a deleted window.
  std::vector<std::vector<TWindow*>*> mWalks;
  std::unique_ptr<TWindowScript> mScript;
  TTaskList* mScriptTasks = nullptr;  // the platform's list the script runs on
  TLuaBindings mBindings;
};
