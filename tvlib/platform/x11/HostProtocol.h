// The protocol between a host window and the program embedded in it: the game and its test
// hosts, and the web launcher control and the game it starts.
//
// Windows-style messages travel as X11 client messages of one atom, format 32: l[0] the
// message number, l[1] wParam, l[2] lParam. Only 32 bits of each field cross the wire.
// The host sends portal commands (kHostCommand with a command code in wParam) and the quit
// message; the embedded program sends script text for the host's page back as kHostCommand
// messages of eight bytes each (the script chunks below).
//
// Header-only and free of Xlib and of every other engine header, so that the launcher control
// includes it without linking the engine: both sides read the same numbers and the same codec.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr char kHostMessageAtomName[] = "_TARVOLEN_HOST_MESSAGE";
inline constexpr int kHostMessageFormat = 32;

// Message numbers (the Windows values: WM_USER, WM_USER + 2, WM_QUIT).
// To the embedded program: a portal command; from it: a script chunk, or the full-screen
// report (wParam 1 or 0).
inline constexpr uint32_t kHostCommand = 1024;
// Sent to the embedded program, passed on to its host as it is.
inline constexpr uint32_t kHostForward = 1026;
// To the embedded program: end.
inline constexpr uint32_t kHostQuit = 18;

// Portal command codes, the wParam of kHostCommand sent to the game.
inline constexpr uint32_t kPortalMenu = 1;
inline constexpr uint32_t kPortalMuteOn = 2;
inline constexpr uint32_t kPortalMuteOff = 3;
inline constexpr uint32_t kPortalPause = 4;
inline constexpr uint32_t kPortalResume5 = 5;
inline constexpr uint32_t kPortalResume6 = 6;
inline constexpr uint32_t kPortalStart = 7;
inline constexpr uint32_t kPortalRestart = 8;
inline constexpr uint32_t kPortalResume9 = 9;
inline constexpr uint32_t kPortalResume10 = 10;

struct THostMessage {
  uint32_t message = 0;
  long wParam = 0;
  long lParam = 0;
};

// The fields of a format-32 client message (Xlib's data.l, five longs).
inline void WriteHostMessageFields(const THostMessage& message, long fields[5]) {
  fields[0] = static_cast<long>(message.message);
  fields[1] = message.wParam;
  fields[2] = message.lParam;
  fields[3] = 0;
  fields[4] = 0;
}
inline THostMessage ReadHostMessageFields(const long fields[5]) {
  return {static_cast<uint32_t>(fields[0]), fields[1], fields[2]};
}

// Script chunks: each kHostCommand message carries up to eight bytes of one script, four in
// wParam and four in lParam, each field read from its lowest byte upwards. A NUL ends the
// script; bytes after it in the same message are dropped. The receiver holds at most
// kScriptBufferBytes, the NUL included, so a script has at most 1023 bytes.
inline constexpr size_t kScriptChunkBytes = 8;
inline constexpr size_t kScriptBufferBytes = 1024;

// The eight bytes a message carries, in order.
inline void ScriptChunkBytes(long wParam, long lParam, uint8_t bytes[kScriptChunkBytes]) {
  const uint32_t fields[2] = {static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam)};
  for (size_t i = 0; i < kScriptChunkBytes; ++i)
    bytes[i] = static_cast<uint8_t>(fields[i / 4] >> (8 * (i % 4)));
}

// The messages that carry `script` (up to its first NUL) and the NUL that ends it; none for
// a script the receiver could not hold.
inline std::vector<THostMessage> EncodeScriptMessages(std::string_view script) {
  std::vector<THostMessage> messages;
  script = script.substr(0, script.find('\0'));
  if (script.size() >= kScriptBufferBytes) return messages;
  for (size_t start = 0; start <= script.size(); start += kScriptChunkBytes) {
    uint32_t fields[2] = {0, 0};
    for (size_t i = 0; i < kScriptChunkBytes && start + i < script.size(); ++i)
      fields[i / 4] |= uint32_t{static_cast<uint8_t>(script[start + i])} << (8 * (i % 4));
    messages.push_back({kHostCommand, static_cast<long>(static_cast<int32_t>(fields[0])),
                        static_cast<long>(static_cast<int32_t>(fields[1]))});
  }
  return messages;
}

// The receiving side: collects the bytes of successive messages into one script.
class TScriptAssembler {
 public:
  // Takes the bytes of one message. True, with `script` set, when a NUL ended a script.
  // A script that outgrows the buffer is dropped up to its NUL; the next one starts afresh.
  bool Append(const uint8_t* bytes, size_t length, std::string* script) {
    for (size_t i = 0; i < length; ++i) {
      if (bytes[i] == 0) {
        bool whole = !mOverflowed;
        if (whole) script->assign(mBuffer);
        mBuffer.clear();
        mOverflowed = false;
        return whole;
      }
      if (mOverflowed) continue;
      if (mBuffer.size() + 1 >= kScriptBufferBytes) {  // no room left for the NUL
        mOverflowed = true;
        mBuffer.clear();
        continue;
      }
      mBuffer.push_back(static_cast<char>(bytes[i]));
    }
    return false;
  }

  // Bytes held for a script not yet ended.
  size_t GetHeldBytes() const { return mBuffer.size(); }

 private:
  std::string mBuffer;
  bool mOverflowed = false;
};
