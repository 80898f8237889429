// Portal hosts' commands: silence until start, mute requests, pauses and the mouse capture.
#include <gtest/gtest.h>

#include "tests/app/PlatformFixture.h"

namespace {

class PortalTest : public PlatformTest {
 protected:
  PortalTest() : PlatformTest("game -msn") { SetPortalMode(); }
  // A host command as it arrives: a WM_USER message handled at once.
  intptr_t Command(uint32_t code) { return Window().SendMessage(WM_USER, code, 0); }
};

TEST_F(PortalTest, SilentFromTheFirstCommandUntilStart) {
  mSound->SetMasterVolume(0.8f);
  mSound->mCalls.clear();
  EXPECT_EQ(Command(kPortalMenu), 1);  // the host is answered 1
  EXPECT_EQ(mSound->mCalls, Calls({"SetMasterVolume(0.00)"}));
  for (uint32_t code : {2u, 3u, 5u, 6u, 8u, 9u, 10u, 11u}) Command(code);
  EXPECT_EQ(mSound->mCalls.size(), 1u);  // still silent, nothing applied twice
  Command(kPortalStart);
  EXPECT_EQ(mSound->mCalls, Calls({"SetMasterVolume(0.00)", "SetMasterVolume(0.80)"}));
}

TEST_F(PortalTest, MuteRequestBeforeStartIsKeptUntilWithdrawn) {
  Command(kPortalMuteOn);
  Command(kPortalStart);
  EXPECT_EQ(mSound->GetGroupVolume(-1), 0.0f);
  Command(kPortalMuteOff);
  EXPECT_EQ(mSound->GetGroupVolume(-1), 1.0f);
}

TEST_F(PortalTest, PauseTwiceThenResumeHoldsTheClockOnce) {
  Command(kPortalStart);
  uint32_t before = TPlatform::GetTime();
  mClock.Advance(10);
  Command(kPortalPause);
  EXPECT_EQ(mSound->GetGroupVolume(-1), 0.0f);  // silent while suspended
  mClock.Advance(300);
  Command(kPortalPause);
  mClock.Advance(200);
  EXPECT_TRUE(IsPortalSuspended());
  Command(kPortalResume5);
  EXPECT_FALSE(IsPortalSuspended());
  EXPECT_EQ(GetPortalSuspendedTime(), 500u);
  EXPECT_EQ(TPlatform::GetTime(), before + 10);
  EXPECT_EQ(mSound->GetGroupVolume(-1), 1.0f);
}

TEST_F(PortalTest, PauseUnderPqReleasesTheMouseCapture) {
  mData.commandLine = "game -pq=1";
  Window().SetCapture();
  Command(kPortalPause);
  EXPECT_FALSE(Window().HasCapture());
  EXPECT_FALSE(mBackend->mCapture);
}

TEST_F(PortalTest, PumpOnlyPumpsMessagesWhileSuspended) {
  Command(kPortalStart);
  Command(kPortalPause);
  // The host resumes a little later; until then no tick comes out of the pump.
  mBackend->Feed([](TNativeWindow& w) { w.InputHostMessage(WM_USER, kPortalResume9, 0); });
  EXPECT_EQ(Next().type, kEventTick);
  EXPECT_FALSE(IsPortalSuspended());
  EXPECT_EQ(GetPortalSuspendedTime(), 1u);  // one pumping millisecond

  Command(kPortalPause);
  Window().PostQuitMessage();
  EXPECT_EQ(Next().type, kEventQuit);
}

TEST(PortalWithoutSound, CommandsBeforeSoundChangeOnlyTheFlags) {
  ResetPortalState();
  TFakeClock clock;
  TPlatformData data;
  TAppPlatform platform(&data);
  SetPortalMode();
  HandlePortalCommand(kPortalMuteOn);  // no sound manager yet: nothing to call
  HandlePortalCommand(kPortalStart);
  EXPECT_TRUE(platform.StartSound());
  // The rule owed since the first command is applied once sound exists.
  EXPECT_EQ(platform.GetSoundManager()->GetGroupVolume(-1), 0.0f);
  HandlePortalCommand(kPortalMuteOff);
  EXPECT_EQ(platform.GetSoundManager()->GetGroupVolume(-1), 1.0f);
  ResetPortalState();
}

TEST(PortalWithoutSound, SilentFromTheStartUntilTheHostStartsIt) {
  ResetPortalState();
  TFakeClock clock;
  TPlatformData data;
  TAppPlatform platform(&data);
  SetPortalMode();
  EXPECT_TRUE(platform.StartSound());  // no command has come yet
  EXPECT_EQ(platform.GetSoundManager()->GetGroupVolume(-1), 0.0f);
  // The player's own volume, set meanwhile, waits for the start.
  ApplyMasterVolume(0.5f);
  EXPECT_EQ(platform.GetSoundManager()->GetGroupVolume(-1), 0.0f);
  HandlePortalCommand(kPortalStart);
  EXPECT_EQ(platform.GetSoundManager()->GetGroupVolume(-1), 0.5f);
  ResetPortalState();
}

TEST(PortalOutsidePortalMode, CommandsAreIgnored) {
  ResetPortalState();
  TFakeClock clock;
  TPlatformData data;
  TAppPlatform platform(&data);
  platform.StartSound();
  HandlePortalCommand(kPortalPause);
  HandlePortalCommand(kPortalMuteOn);
  EXPECT_FALSE(IsPortalSuspended());
  EXPECT_EQ(platform.GetSoundManager()->GetGroupVolume(-1), 1.0f);
}

}  // namespace
