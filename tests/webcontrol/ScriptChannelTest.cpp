// The script channel: the host protocol's chunk codec and the control's receiving side.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "webcontrol/ScriptChannel.h"

namespace {

// Four characters as a parameter, the first in the lowest byte.
long Chars(const char (&text)[5]) {
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= uint32_t{static_cast<uint8_t>(text[i])} << (8 * i);
  return static_cast<int32_t>(value);
}

// Every script the messages complete, in order.
std::vector<std::string> Receive(TScriptChannel& channel, const std::vector<THostMessage>& in) {
  std::vector<std::string> scripts;
  for (const THostMessage& message : in) {
    std::string script;
    if (channel.Receive(message, &script)) scripts.push_back(script);
  }
  return scripts;
}

}  // namespace

TEST(ScriptChannelTest, FourCharactersAndANulInOneMessageRunOnce) {
  TScriptChannel channel;
  // The NUL is the low byte of lParam; the bytes after it are dropped.
  EXPECT_EQ(Receive(channel, {{kHostCommand, Chars("go()"), Chars("\0xyz")}}),
            std::vector<std::string>{"go()"});
  EXPECT_EQ(channel.GetHeldBytes(), 0u);
}

TEST(ScriptChannelTest, ANulInWParamLeavesLParamUnread) {
  TScriptChannel channel;
  EXPECT_EQ(Receive(channel, {{kHostCommand, Chars("ab\0c"), Chars("defg")}}),
            std::vector<std::string>{"ab"});
  EXPECT_EQ(channel.GetHeldBytes(), 0u);
}

TEST(ScriptChannelTest, ScriptsRunAcrossMessagesAndOnlyKHostCommandCounts) {
  TScriptChannel channel;
  std::vector<THostMessage> in = {
      {kHostCommand, Chars("aler"), Chars("t(1)")},
      {kHostForward, Chars("XXXX"), Chars("XXXX")},  // not a chunk
      {kHostQuit, 0, 0},
      {kHostCommand, Chars(";b()"), 0},
      {kHostCommand, Chars("c\0\0\0"), 0},
  };
  EXPECT_EQ(Receive(channel, in), (std::vector<std::string>{"alert(1);b()", "c"}));
}

TEST(ScriptChannelTest, ScriptsWithNothingToRunAreNotHandedOn) {
  // The game's full-screen report shares the message: wParam 1 or 0.
  TScriptChannel channel;
  std::vector<THostMessage> in = {{kHostCommand, 1, 0},
                                  {kHostCommand, 0, 0},
                                  {kHostCommand, Chars(" \t\n "), 0},
                                  {kHostCommand, Chars("x()\0"), 0}};
  EXPECT_EQ(Receive(channel, in), std::vector<std::string>{"x()"});
}

TEST(ScriptChannelTest, TheLongestScriptFitsAndALongerOneIsDroppedUpToItsNul) {
  const std::string longest(kScriptBufferBytes - 1, 'a');
  const std::string tooLong(kScriptBufferBytes, 'b');
  // Sent chunk by chunk as the designed sender does, without the encoder's own limit.
  auto chunks = [](const std::string& script) {
    std::vector<THostMessage> in;
    std::string padded = script + std::string(8 - script.size() % 8, '\0');
    for (size_t at = 0; at < padded.size(); at += 8) {
      char w[5] = {}, l[5] = {};
      padded.copy(w, 4, at);
      padded.copy(l, 4, at + 4);
      in.push_back({kHostCommand, Chars(w), Chars(l)});
    }
    return in;
  };
  TScriptChannel channel;
  EXPECT_EQ(Receive(channel, chunks(longest)), std::vector<std::string>{longest});
  EXPECT_TRUE(Receive(channel, chunks(tooLong)).empty());
  EXPECT_EQ(channel.GetHeldBytes(), 0u);
  // The channel starts afresh: the next script arrives whole.
  EXPECT_EQ(Receive(channel, chunks("next()")), std::vector<std::string>{"next()"});
}

TEST(ScriptChannelTest, TheEncoderAndTheChannelAgree) {
  const std::vector<std::string> scripts = {
      "", "a", "abcdefg", "abcdefgh", "window.external.x('\xE9\xFF');", std::string(1023, 'z')};
  for (const std::string& script : scripts) {
    std::vector<THostMessage> messages = EncodeScriptMessages(script);
    EXPECT_EQ(messages.size(), script.size() / 8 + 1) << script;
    TScriptAssembler assembler;
    std::string received;
    bool done = false;
    for (const THostMessage& message : messages) {
      uint8_t bytes[kScriptChunkBytes];
      ScriptChunkBytes(message.wParam, message.lParam, bytes);
      ASSERT_FALSE(done) << "a message after the end";
      done = assembler.Append(bytes, sizeof bytes, &received);
    }
    EXPECT_TRUE(done);
    EXPECT_EQ(received, script);
  }
  EXPECT_TRUE(EncodeScriptMessages(std::string(1024, 'z')).empty());
  // A NUL ends the script.
  EXPECT_EQ(EncodeScriptMessages(std::string("ab\0cdefghijk", 12)).size(), 1u);
}
