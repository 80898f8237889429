// The control's script channel, fed the game's messages eight bytes at a time: no script it
// hands on outgrows the buffer or holds a NUL, it never holds more than the buffer, and each
// script it hands on comes through the sender's encoding unchanged.
#include <cstdlib>
#include <string>

#include "webcontrol/ScriptChannel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TScriptChannel channel;
  for (size_t at = 0; at < size; at += kScriptChunkBytes) {
    size_t length = size - at < kScriptChunkBytes ? size - at : kScriptChunkBytes;
    std::string script;
    bool ran = channel.ReceiveBytes(data + at, length, &script);
    if (channel.GetHeldBytes() >= kScriptBufferBytes) std::abort();
    if (!ran) continue;
    if (script.size() >= kScriptBufferBytes || script.find('\0') != std::string::npos) std::abort();
    TScriptChannel again;
    std::string back;
    bool whole = false;
    for (const THostMessage& message : EncodeScriptMessages(script))
      whole = again.Receive(message, &back);
    if (!whole || back != script) std::abort();
  }
  return 0;
}
