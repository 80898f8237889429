// The main window procedure: creation, minimise and restore, activation bookkeeping.
#include <gtest/gtest.h>

#include "tests/app/PlatformFixture.h"

namespace {

class WindowProcTest : public PlatformTest {
 protected:
  std::vector<uint32_t> EventsUntilTick() {
    std::vector<uint32_t> types;
    for (TPlatformEvent e = Next(); e.type != kEventTick && types.size() < 10; e = Next()) {
      types.push_back(e.type * 10 + e.param);  // code and parameter in one number
    }
    return types;
  }
  void Position(int x, int y, int cx, int cy) { Window().InputPosition({x, y, cx, cy, 0}); }
};

TEST_F(WindowProcTest, CreatesTheCaptionedWindowHidden) {
  EXPECT_TRUE(mBackend->mCreated);
  EXPECT_EQ(mBackend->mTitle, "Tarvolen");
  EXPECT_EQ(mBackend->mDesc.width, 480);
  EXPECT_EQ(mBackend->mDesc.height, 360);
  EXPECT_FALSE(mBackend->mShown);
  mPlatform->SetWindowTitle("FestraVask");
  EXPECT_EQ(mBackend->mTitle, "FestraVask");
}

TEST_F(WindowProcTest, MinimiseAndRestoreBeforeThePumpCancelOut) {
  Window().InputSize(SIZE_MINIMIZED);
  Window().InputSize(SIZE_RESTORED);
  EXPECT_EQ(mSound->mCalls, Calls({"SetActive(0)", "SetActive(1)"}));
  EXPECT_TRUE(EventsUntilTick().empty());
  Window().InputSize(SIZE_MINIMIZED);
  EXPECT_EQ(EventsUntilTick(), (std::vector<uint32_t>{180}));
  Window().InputSize(SIZE_MAXIMIZED);
  EXPECT_EQ(EventsUntilTick(), (std::vector<uint32_t>{181}));
}

TEST_F(WindowProcTest, ActivationChangesAlwaysReport) {
  Window().InputFocusChange(false);
  Window().InputFocusChange(true);
  // The visibility toggled back; the activation change is still reported once.
  EXPECT_EQ(EventsUntilTick(), (std::vector<uint32_t>{181}));
  EXPECT_FALSE(mData.hidden);
}

TEST_F(WindowProcTest, HiddenOrOffScreenCountsAsDeactivation) {
  Position(-20000, 0, 480, 360);
  EXPECT_TRUE(mData.hidden);
  EXPECT_EQ(EventsUntilTick(), (std::vector<uint32_t>{180, 180}));
  Position(10, 10, 480, 360);
  EXPECT_FALSE(mData.hidden);
  EXPECT_EQ(EventsUntilTick(), (std::vector<uint32_t>{181, 181}));
  Position(10, 10, 0, 0);
  EXPECT_TRUE(mData.hidden);
  Window().InputPosition({0, 0, 0, 0, SWP_NOSIZE});  // a move without a size says nothing
  EXPECT_TRUE(mData.hidden);
}

TEST_F(WindowProcTest, DeactivationInFullScreenHidesTheGame) {
  mDisplay->mFullscreen = true;
  Window().InputFocusChange(false);
  EXPECT_TRUE(mData.hidden);
  EventsUntilTick();
  mData.visible = true;  // a full-screen game that lost the focus is still on screen
  uint32_t before = mClock.now;
  EXPECT_EQ(Next().type, kEventTick);
  EXPECT_EQ(mBackend->mRaiseCount, 0);  // hidden: paused instead of raised
  EXPECT_EQ(mClock.now - before, 50u);
}

TEST_F(WindowProcTest, CursorImageChoosesBetweenSoftwareCursorAndArrow) {
  auto owner = std::make_shared<int>(0);
  std::shared_ptr<TTexture> texture(owner, reinterpret_cast<TTexture*>(owner.get()));
  mPlatform->SetCursorImage(texture, 3, 4);
  EXPECT_EQ(mDisplay->Count("SetCursorTexture"), 1);
  Window().InputMouseMove(1, 1);  // the system asks for the cursor
  EXPECT_FALSE(mBackend->mSystemCursorShown);
  mPlatform->SetCursorImage(nullptr, 0, 0);
  Window().InputMouseMove(2, 2);
  EXPECT_TRUE(mBackend->mSystemCursorShown);
}

TEST_F(WindowProcTest, PaintCloseAndTheSmallAnswers) {
  EXPECT_EQ(Window().SendMessage(WM_ERASEBKGND, 0, 0), 1);
  EXPECT_EQ(Window().SendMessage(WM_TIMER, 0, 0), 0);
  EXPECT_EQ(Window().SendMessage(WM_NCHITTEST, 0, 0), HTCLIENT);
  Window().InputExposed();
  EXPECT_EQ(Next().type, kEventPaint);  // the paint message
  EXPECT_TRUE(mPlatform->ConsumeRepaintRequest());
  EXPECT_FALSE(mPlatform->ConsumeRepaintRequest());
  EXPECT_EQ(Next().type, kEventPaint);  // the procedure's own paint flag
  EXPECT_EQ(Next().type, kEventTick);
}

TEST_F(WindowProcTest, MouseMoveTracksLeaveOncePerEntryAndMovesTheSoftwareCursor) {
  Window().SendMessage(WM_MOUSEMOVE, 0, MakePointParam(-3, 40));
  Window().SendMessage(WM_MOUSEMOVE, 0, MakePointParam(5, 41));
  EXPECT_EQ(mDisplay->mCalls,
            Calls({"OnWindowMoved", "UpdateCursor(-3,40)", "UpdateCursor(5,41)"}));
  EXPECT_TRUE(mData.leaveTracked);
  EXPECT_TRUE(mData.hoverTracked);
}

TEST_F(WindowProcTest, DisplayChangeIsReadOnlyWhileMinimised) {
  Window().SendMessage(WM_DISPLAYCHANGE, 0, 0);
  Window().InputSize(SIZE_MINIMIZED);
  Window().SendMessage(WM_DISPLAYCHANGE, 0, 0);
  EXPECT_EQ(mDisplay->Count("OnDisplayChange"), 1);
}

TEST_F(WindowProcTest, HostMessagesArePassedOnOnlyWhenEmbedded) {
  EXPECT_EQ(Window().SendMessage(WM_USER + 2, 7, 8), 1);
  EXPECT_TRUE(mBackend->mSentToHost.empty());
  mData.parentWindow = 0x42;
  Window().SendMessage(WM_USER + 2, 7, 8);
  ASSERT_EQ(mBackend->mSentToHost.size(), 1u);
  EXPECT_EQ(mBackend->mSentToHost[0].message, WM_USER + 2);
  EXPECT_EQ(mBackend->mSentToHost[0].wParam, 7u);
  EXPECT_EQ(mBackend->mSentToHost[0].lParam, 8);
}

TEST_F(WindowProcTest, EmbeddedWindowsTakeNoActivationClick) {
  mData.embedded = true;
  Window().SendMessage(WM_MOUSEACTIVATE, 0, 0);
  EXPECT_FALSE(mData.mouseActivated);
}

TEST_F(WindowProcTest, ProcedureDoesNothingWithoutItsPlatform) {
  Window().SetUserData(nullptr);
  Window().SendMessage(WM_CLOSE, 0, 0);  // default handling: the window goes
  EXPECT_FALSE(mData.closeRequested);
  EXPECT_FALSE(mBackend->mCreated);
}

TEST(MainWindowDeathTest, LostHostWindowEndsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        TPlatformData data;
        TAppPlatform platform(&data);
        data.hostWindow = 0x1234;
        data.embedded = true;
        platform.CreateMainWindow(std::make_unique<THeadlessWindowBackend>());
      },
      testing::ExitedWithCode(255), "");
}

TEST(MainWindowHost, EmbeddedWindowLivesInItsHost) {
  TFakeClock clock;
  TPlatformData data;
  TAppPlatform platform(&data);
  data.hostWindow = 0x1234;
  data.embedded = true;
  auto backend = std::make_unique<THeadlessWindowBackend>();
  THeadlessWindowBackend* fake = backend.get();
  fake->mHostWindows.insert(0x1234);
  platform.CreateMainWindow(std::move(backend));
  EXPECT_EQ(fake->mDesc.hostWindow, 0x1234u);
  EXPECT_EQ(data.parentWindow, 0x1234u);
  data.window->InputFocusChange(false);  // a child window is never deactivated
  EXPECT_TRUE(data.active);
}

TEST(MainWindow, CarriesTheProgramIcon) {
  TFakeClock clock;
  TPlatformData data;
  TAppPlatform platform(&data);
  static const uint32_t kIcon[2 * 2] = {0xff102030, 0xff405060, 0x00000000, 0x80ffffff};
  TPlatform::SetProgramIcon(kIcon, 2);
  auto backend = std::make_unique<THeadlessWindowBackend>();
  THeadlessWindowBackend* fake = backend.get();
  platform.CreateMainWindow(std::move(backend));
  TPlatform::SetProgramIcon(nullptr, 0);
  EXPECT_EQ(fake->mDesc.icon, kIcon);
  EXPECT_EQ(fake->mDesc.iconSize, 2);
}

}  // namespace
