// The platform's services: GUIDs, colours, addresses, the clipboard, sound, the cursor thread.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <cmath>

#include <chrono>
#include <regex>
#include <set>
#include <thread>

#include "tests/app/PlatformFixture.h"
#include "tests/support/TempDir.h"
#include "tvlib/core/TAsset.h"
#include "tvlib/core/TColor32.h"
#include "tvlib/core/TGuid.h"

namespace {

TEST(Guid, IsThirtyTwoLowerCaseHexDigitsAndFresh) {
  std::set<std::string> seen;
  for (int i = 0; i < 20; ++i) {
    std::string text = MakeGuidString().c_str();
    EXPECT_TRUE(std::regex_match(text, std::regex("[0-9a-f]{32}"))) << text;
    seen.insert(text);
  }
  EXPECT_EQ(seen.size(), 20u);
}

TEST(Color32, PacksAlphaRedGreenBlue) {
  TColor32 c(uint8_t{0x11}, uint8_t{0x22}, uint8_t{0x33}, uint8_t{0x44});
  EXPECT_EQ(c.GetValue(), 0x44112233u);
  c.SetGreen(0xAB);
  EXPECT_EQ(c.GetValue(), 0x4411AB33u);
  EXPECT_EQ(TColor32(1.0f, 0.5f, 0.0f, 0.999f).GetValue(), 0xFEFF7F00u);  // truncated
  EXPECT_EQ(TColor32().GetValue(), 0u);
  EXPECT_EQ(TColor32(std::nanf(""), 2.0f, -1.0f, 1.0f).GetValue(), 0xFF00FF00u);
  EXPECT_EQ(TColor32(0x80FF0000u).GetRed(), 0xFF);
}

class ServicesTest : public PlatformTest {};

TEST_F(ServicesTest, OpenUrlStartsTheHostProgramWithoutAShell) {
  TTempDir dir;
  std::string script = dir / "host.sh";
  std::string out = dir / "args";
  WriteWholeFile(script, "#!/bin/sh\nprintf '%s|' \"$@\" > " + out + ".tmp && mv " + out + ".tmp " +
                             out + "\n");
  chmod(script.c_str(), 0755);
  mData.embedded = true;
  mData.commandLine = ("game -wnd=1 -host=" + script + " -x").c_str();
  const char* address = "http://x.test/?a=1&b=$(touch pwned);`id`";
  EXPECT_GT(mPlatform->OpenUrl(address), 32);
  for (int i = 0; i < 500 && ReadWholeFile(out).empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(ReadWholeFile(out), std::string(address) + "|");  // one argument, untouched
}

TEST_F(ServicesTest, OpenUrlReportsAProgramThatCannotStart) {
  mData.embedded = true;
  mData.commandLine = "game -host=/nonexistent/browser";
  EXPECT_LE(mPlatform->OpenUrl("http://x.test/"), 32);
}

TEST_F(ServicesTest, ClipboardTextGoesThroughTheWindowBackend) {
  EXPECT_EQ(mPlatform->GetClipboardText(), TString(""));
  EXPECT_TRUE(mPlatform->SetClipboardText("Grüße"));
  EXPECT_EQ(mPlatform->GetClipboardText(), TString("Grüße"));
  mBackend->mClipboardWorks = false;
  EXPECT_FALSE(mPlatform->SetClipboardText("x"));
  EXPECT_EQ(mPlatform->GetClipboardText(), TString(""));
}

TEST_F(ServicesTest, DisplayCallsAreForwardedToTheHandler) {
  TMat4 m;
  int l, t, r, b;
  mPlatform->SetTexture(0, nullptr);
  mPlatform->FillRect(10, 20, 30, 40, TColor32(0xFF0000FFu), nullptr);
  mPlatform->GetViewport(&l, &t, &r, &b);
  mPlatform->PushViewport(1, 2, 3, 4);
  mPlatform->PopViewport();
  EXPECT_TRUE(mPlatform->SetRenderTarget(nullptr));
  EXPECT_TRUE(mPlatform->PopRenderTarget());
  EXPECT_TRUE(mPlatform->IsFlipDone());
  mPlatform->HandleOutOfVideoMemory();
  mPlatform->SetBlendMode(2);
  mPlatform->SetTextureFilter(1);
  mPlatform->SetWorldMatrix(m);
  mPlatform->SetViewMatrix(m);
  mPlatform->SetProjectionMatrix(m);
  mPlatform->GetWorldMatrix(&m);
  mPlatform->GetViewMatrix(&m);
  mPlatform->GetProjectionMatrix(&m);
  mData.Restore();
  EXPECT_EQ(mDisplay->mCalls,
            Calls({"SetTexture", "FillRect(10,20,40,60,0.000000,1.000000)", "GetViewport",
                   "PushViewport", "PopViewport", "PushRenderTarget", "PopRenderTarget",
                   "IsFlipDone", "HandleOutOfVideoMemory", "SetBlendMode(2)", "SetTextureFilter(1)",
                   "SetWorldMatrix", "SetViewMatrix", "SetProjectionMatrix", "GetWorldMatrix",
                   "GetViewMatrix", "GetProjectionMatrix", "Restore"}));
  EXPECT_EQ(m.rows[3].x, 5.0f);
  EXPECT_EQ(r, 800);
}

TEST_F(ServicesTest, StartSoundInitialisesTheExistingManager) {
  EXPECT_TRUE(mPlatform->StartSound());
  EXPECT_EQ(mPlatform->GetSoundManager(), mSound);
  EXPECT_EQ(mSound->mCalls, Calls({"Init"}));
}

TEST_F(ServicesTest, CursorThreadPollsAndSurvivesHandlerSwaps) {
  mDisplay->mCursorUpdate = {3, 4};  // a cursor is shown: the fast poll
  mPlatform->StartCursorThread();
  for (int i = 0; i < 20; ++i) {
    bool destroyed = false;
    auto* next = new TRecordingDisplayHandler;
    next->mCursorUpdate = {3, 4};
    next->mDestroyed = &destroyed;
    mPlatform->SetDisplayHandler(next);  // the old one is deleted under the cursor lock
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
    mPlatform->SetDisplayHandler(new TRecordingDisplayHandler);
    EXPECT_TRUE(destroyed);
  }
  auto* last = new TRecordingDisplayHandler;
  last->mCursorUpdate = {3, 4};
  mPlatform->SetDisplayHandler(last);
  // Wait for two polls of the new handler, however busy the machine is.
  for (int waited = 0; last->Count("UpdateCursor(-1,-1)") < 2 && waited < 5000; waited += 5)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_GE(last->Count("UpdateCursor(-1,-1)"), 2);
  mPlatform->StopCursorThread();
  mPlatform->StopCursorThread();  // stopping twice is harmless
}

TEST_F(ServicesTest, SettingsAreTheSettingsMapsOwn) {
  EXPECT_FALSE(mPlatform->IsSettingSet("metrics"));
  EXPECT_EQ(mPlatform->GetSetting("metrics"), TString(""));
  mPlatform->SetSetting("metrics", "2");
  EXPECT_TRUE(mPlatform->IsSettingSet("metrics"));
  mPlatform->GetSettingRef("game") = "festra";
  EXPECT_EQ(mData.settings.GetSetting("game"), TString("festra"));
}

TEST_F(ServicesTest, DeviceDataOfEveryAssetIsReleasedAndRestored) {
  struct TCountingAsset : TAsset {
    int released = 0, restored = 0;
    void Release() override { ++released; }
    void Restore() override { ++restored; }
  };
  auto asset = std::make_shared<TCountingAsset>();
  GetAssetManager()->Insert("tex", asset);
  mData.ReleaseAssets();
  mPlatform->RestoreAssets();
  EXPECT_EQ(asset->released, 1);
  EXPECT_EQ(asset->restored, 1);
  EXPECT_NE(mPlatform->GetStringTable(), nullptr);
}

}  // namespace
