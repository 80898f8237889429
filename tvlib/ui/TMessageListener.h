// A taker of messages that carry no target: the window manager offers each one to its
// listeners in order before any window sees it.
#pragma once

class TMessage;

class TMessageListener {
 public:
  virtual ~TMessageListener() = default;
  // true: consumed (the manager then deletes the message).
  virtual bool Offer(TMessage* message) = 0;
};
