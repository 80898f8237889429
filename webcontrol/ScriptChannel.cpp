// Receiving the game's scripts.
#include "webcontrol/ScriptChannel.h"

#include <algorithm>

namespace {

bool HasSomethingToRun(const std::string& script) {
  return std::any_of(script.begin(), script.end(), [](char c) {
    auto byte = static_cast<unsigned char>(c);
    return byte > 0x20 && byte != 0x7F;
  });
}

}  // namespace

bool TScriptChannel::Receive(const THostMessage& message, std::string* script) {
  if (message.message != kHostCommand) return false;
  uint8_t bytes[kScriptChunkBytes];
  ScriptChunkBytes(message.wParam, message.lParam, bytes);
  return ReceiveBytes(bytes, sizeof bytes, script);
}

bool TScriptChannel::ReceiveBytes(const uint8_t* bytes, size_t length, std::string* script) {
  std::string assembled;
  if (!mAssembler.Append(bytes, length, &assembled) || !HasSomethingToRun(assembled)) return false;
  *script = std::move(assembled);
  return true;
}
