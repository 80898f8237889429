// The control's X window: a child of the page's window, made over a connection of the
// control's own (XConnection.h). It draws the control's line of text when exposed, hands the
// host-protocol messages sent to it to its owner, and posts messages to the game's window,
// its topmost child.
//
// Host's thread only, except GetId (atomic), which the launcher thread reads.
#pragma once

#include <atomic>
#include <string>

#include "tvlib/platform/x11/HostProtocol.h"

struct _XDisplay;

class TControlWindow {
 public:
  class TOwner {
   public:
    // The line of text the window shows.
    virtual const char* GetStatusText() const = 0;
    virtual void OnHostMessage(const THostMessage& message) = 0;

   protected:
    ~TOwner() = default;
  };

  explicit TControlWindow(TOwner& owner) : mOwner(owner) {}
  ~TControlWindow();
  TControlWindow(const TControlWindow&) = delete;
  TControlWindow& operator=(const TControlWindow&) = delete;

  // Opens the connection on the first call (`displayName` null: $DISPLAY) and creates the
  // window, mapped, at (x, y) in `parent`. False when the connection or the window cannot be
  // made, or while the window exists.
  bool Create(const char* displayName, unsigned long parent, int x, int y, int width, int height);
  // Created, and not destroyed since (by Destroy or with its parent).
  bool Exists() const { return mExists; }
  // The window's id (0 before the first creation).
  unsigned long GetId() const { return mId.load(); }
  // The display the connection was opened on, for the launcher's own connection.
  const std::string& GetDisplayName() const { return mDisplayName; }
  int GetConnectionNumber() const;

  // Handles every event that has arrived.
  void DispatchEvents();
  // Posts to the game's window, the topmost child; nothing when there is none. A window that
  // goes meanwhile makes the post fail silently.
  void PostToGame(const THostMessage& message);
  // Posts to any window; silent when it does not exist.
  void Post(unsigned long target, const THostMessage& message);
  void Destroy();

 private:
  void Draw();
  unsigned long FindGameWindow();

  TOwner& mOwner;
  _XDisplay* mDisplay = nullptr;
  std::string mDisplayName;
  unsigned long mAtom = 0;
  std::atomic<unsigned long> mId{0};
  bool mExists = false;
};
