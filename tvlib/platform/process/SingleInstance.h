// Keeps the game to one running instance per installation, user and display.
//
// The first instance binds a datagram socket in the abstract Unix namespace, named from a
// hash of the instance name and "_MUTEX", the user's id and the X display (the abstract
// namespace is shorter than a path and needs no file to clean up: the name is released when
// the process ends, even after a crash). The namespace is the whole machine's, so without the
// user and the display a copy of the same build run by another user, or on another display
// (a test's private X server), would end at once. A later instance finds the name taken,
// sends the first one a request to raise its window, and is told to exit. The first instance
// collects such requests on its idle ticks with TakeRaiseRequest.
#pragma once

#include "tvlib/core/TString.h"

class TSingleInstance {
 public:
  enum class TClaim { kFirst, kAlreadyRunning, kFailed };

  TSingleInstance() = default;
  ~TSingleInstance();
  TSingleInstance(const TSingleInstance&) = delete;
  TSingleInstance& operator=(const TSingleInstance&) = delete;

  // kFirst: this process now holds the name. kAlreadyRunning: another process holds it and
  // has been asked to raise its window. kFailed: no socket could be had (logged); the game
  // runs on as if it were the first. `display` is the X display the game shows on (the
  // DISPLAY variable by default; its screen number does not count).
  TClaim Claim(const TString& instanceName);
  TClaim Claim(const TString& instanceName, const char* display);

  // True when another instance has asked for the window since the last call; never blocks.
  bool TakeRaiseRequest();

 private:
  int mSocket = -1;
};
