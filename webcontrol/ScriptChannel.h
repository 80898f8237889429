// The script channel as the control receives it: the game's kHostCommand messages to the
// control's window, eight bytes each, assembled into scripts for the page (the codec is the
// host protocol's, HostProtocol.h).
//
// A script with nothing to run (empty, or only blanks and control characters) is not handed
// on: the game's full-screen report (kHostCommand with wParam 1 or 0) travels on the same
// message and would otherwise reach the page as a script "\x01" or "".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "tvlib/platform/x11/HostProtocol.h"

class TScriptChannel {
 public:
  // Takes one message sent to the control's window. True, with `script` set, when it ended a
  // script to run on the page.
  bool Receive(const THostMessage& message, std::string* script);
  // The same for the bytes of one message (the codec's entry).
  bool ReceiveBytes(const uint8_t* bytes, size_t length, std::string* script);

  size_t GetHeldBytes() const { return mAssembler.GetHeldBytes(); }

 private:
  TScriptAssembler mAssembler;
};
