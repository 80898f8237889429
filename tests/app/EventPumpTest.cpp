// The event pump: keys with their modifiers, the engine's Alt shortcuts and close requests.
#include <gtest/gtest.h>

#include "tests/app/PlatformFixture.h"
#include "tvlib/ui/TModalWindow.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

struct TExpected {
  uint32_t type, param, param2;
  int x, y;
};

void ExpectEvent(const TPlatformEvent& e, const TExpected& want) {
  EXPECT_EQ(e.type, want.type);
  EXPECT_EQ(e.param, want.param);
  EXPECT_EQ(e.param2, want.param2);
  EXPECT_EQ(e.x, want.x);
  EXPECT_EQ(e.y, want.y);
}

class EventPumpTest : public PlatformTest {
 protected:
  explicit EventPumpTest(const char* commandLine = "") : PlatformTest(commandLine) {}
  TPlatformEvent Post(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0) {
    Window().PostMessage(message, wParam, lParam);
    return Next();
  }
  // Takes events up to the next tick.
  void Drain() {
    for (int i = 0; i < 10 && Next().type != kEventTick; ++i) {
    }
  }
};

TEST_F(EventPumpTest, KeysCarryTheirModifierBits) {
  struct TCase {
    uint32_t message;
    uint32_t vk;
    intptr_t lParam;
    uint32_t held;
    TExpected want;
  } cases[] = {
      {WM_KEYDOWN, 'A', 0, 0, {kEventKeyDown, 'A', 0, 0, 0}},
      {WM_KEYDOWN, 'A', 0, kModShift | kModCtrl, {kEventKeyDown, 'A', 3, 0, 0}},
      {WM_KEYDOWN, VK_LEFT, kKeyExtendedBit, 0, {kEventKeyDown, VK_LEFT, 8, 0, 0}},
      {WM_KEYDOWN, VK_INSERT, kKeyExtendedBit, 0, {kEventNothing, 0, 0, 0, 0}},
      {WM_KEYDOWN, VK_INSERT, kKeyExtendedBit, kModCtrl, {kEventNothing, 0, 0, 0, 0}},
      {WM_KEYDOWN, VK_INSERT, 0, kModShift, {kEventKeyDown, VK_INSERT, 1, 0, 0}},
      {WM_KEYDOWN, VK_INSERT, kKeyExtendedBit, kModShift, {kEventKeyDown, VK_INSERT, 9, 0, 0}},
      {WM_SYSKEYDOWN, 'X', kKeyAltBit, kModAlt | kModShift, {kEventKeyDown, 'X', 5, 0, 0}},
      {WM_SYSKEYDOWN, VK_F1 + 9, 0, 0, {kEventKeyDown, VK_F1 + 9, 0, 0, 0}},  // no Alt: a plain key
      {WM_KEYUP, 'A', 0, kModShift, {kEventKeyUp, 'A', 0, 0, 0}},
      {WM_SYSKEYUP, 'A', kKeyAltBit, kModAlt, {kEventNothing, 0, 0, 0, 0}},
      {WM_CHAR, 0x263A, 0, 0, {kEventChar, 0x263A, 0, 0, 0}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.message << " " << c.vk);
    mBackend->mModifiers = c.held;
    ExpectEvent(Post(c.message, c.vk, c.lParam), c.want);
    TWindowMessage extra;
    while (Window().PeekMessage(&extra)) {
    }  // characters made by translation
  }
}

TEST_F(EventPumpTest, AltF1TogglesTheOverlayAndAltEnterSwitchesTheDisplay) {
  mBackend->mModifiers = kModAlt;
  ExpectEvent(Post(WM_SYSKEYDOWN, VK_F1, kKeyAltBit), {kEventNothing, 0, 0, 0, 0});
  EXPECT_TRUE(mData.fpsOverlay);
  ExpectEvent(Post(WM_SYSKEYDOWN, VK_RETURN, kKeyAltBit), {kEventFullscreenSwitch, 1, 0, 0, 0});
  ExpectEvent(Post(WM_SYSKEYDOWN, VK_RETURN, kKeyAltBit), {kEventFullscreenSwitch, 0, 0, 0, 0});
  EXPECT_EQ(mDisplay->Count("SetFullscreen(1)"), 1);
}

TEST_F(EventPumpTest, ModifiersAreThoseHeldWhenTheKeyWasPressed) {
  // Ctrl+C typed faster than the pump: Ctrl is up again before the key is converted.
  Window().InputKey(VK_CONTROL, false, true, false, kModCtrl);
  Window().InputKey('C', false, true, false, kModCtrl);
  Window().InputKey('C', false, false, false, kModCtrl);
  Window().InputKey(VK_CONTROL, false, false, false, 0);
  std::vector<std::pair<uint32_t, uint32_t>> events;
  for (int i = 0; i < 5; ++i) {
    TPlatformEvent e = Next();
    events.push_back({e.type, e.type == kEventKeyDown ? e.param2 : e.param});
  }
  EXPECT_EQ(events, (std::vector<std::pair<uint32_t, uint32_t>>{{kEventKeyDown, kKeyModCtrl},
                                                                {kEventKeyDown, kKeyModCtrl},
                                                                {kEventChar, 3},
                                                                {kEventKeyUp, 'C'},
                                                                {kEventKeyUp, VK_CONTROL}}));
}

TEST_F(EventPumpTest, AltF4IsACloseRequest) {
  mBackend->mModifiers = kModAlt;
  ExpectEvent(Post(WM_SYSKEYDOWN, VK_F4, kKeyAltBit), {kEventKeyDown, VK_F4, 4, 0, 0});
  EXPECT_EQ(Next().type, kEventClose);
  EXPECT_TRUE(mBackend->mCreated);  // the game decides
}

TEST_F(EventPumpTest, TranslatedKeysGiveTheControlCharacters) {
  mBackend->mModifiers = kModCtrl;
  Post(WM_KEYDOWN, 'C');
  ExpectEvent(Next(), {kEventChar, 3, 0, 0, 0});
  mBackend->mModifiers = 0;
  Post(WM_KEYDOWN, VK_BACK);
  ExpectEvent(Next(), {kEventChar, 8, 0, 0, 0});
  Window().InputText('a');
  Window().InputText(0x7F);  // a control code from text input is not a character
  ExpectEvent(Next(), {kEventChar, 'a', 0, 0, 0});
  EXPECT_EQ(Next().type, kEventTick);
}

TEST_F(EventPumpTest, MouseEventsUseTheDisplayHandlersCursorPosition) {
  mDisplay->mCursor = {-5, 300};
  ExpectEvent(Post(WM_MOUSEMOVE, 0, MakePointParam(1, 2)), {kEventMouseMove, 0, 0, -5, 300});
  ExpectEvent(Post(WM_LBUTTONDOWN), {kEventLeftDown, 0, 0, -5, 300});
  EXPECT_TRUE(Window().HasCapture());
  ExpectEvent(Post(WM_LBUTTONUP), {kEventLeftUp, 0, 0, -5, 300});
  EXPECT_FALSE(Window().HasCapture());
  ExpectEvent(Post(WM_RBUTTONDOWN), {kEventOtherButton, 1, 0, -5, 300});
  ExpectEvent(Post(WM_RBUTTONUP), {kEventOtherButton, 0, 0, -5, 300});
  ExpectEvent(Post(WM_MBUTTONDOWN), {kEventOtherButton, 3, 0, -5, 300});
  ExpectEvent(Post(WM_MBUTTONUP), {kEventOtherButton, 2, 0, -5, 300});
  ExpectEvent(Post(WM_XBUTTONDOWN, MK_XBUTTON1), {kEventOtherButton, 4, 0, -5, 300});
  ExpectEvent(Post(WM_XBUTTONDOWN, MK_XBUTTON2), {kEventOtherButton, 5, 0, -5, 300});
  ExpectEvent(Post(WM_XBUTTONDOWN, 0), {kEventNothing, 0, 0, 0, 0});
  ExpectEvent(Post(WM_MOUSEHOVER), {kEventMouseHover, 0, 0, -5, 300});
  ExpectEvent(Post(WM_MOUSEWHEEL), {kEventNothing, 0, 0, 0, 0});
}

TEST_F(EventPumpTest, ReleasingOurOwnCaptureIsNoLeave) {
  Window().InputButton(1, true, 10, 10);
  Window().InputButton(1, false, 10, 10);
  EXPECT_EQ(Next().type, kEventLeftDown);
  EXPECT_EQ(Next().type, kEventLeftUp);
  EXPECT_EQ(Next().type, kEventTick);  // no leave at (0, 0) after the release
  // Another window taking the capture is a leave.
  ExpectEvent(Post(WM_CAPTURECHANGED, 0, 0), {kEventMouseLeave, 0, 0, 0, 0});
  ExpectEvent(Post(WM_CAPTURECHANGED, 0, reinterpret_cast<intptr_t>(&Window())),
              {kEventNothing, 0, 0, 0, 0});
}

TEST_F(EventPumpTest, TheActivatingClickReachesNoWindow) {
  Window().InputFocusChange(false);
  Drain();
  Window().InputFocusChange(true);
  Drain();
  Window().InputButton(1, true, 5, 5);  // right after the focus: the activating click
  EXPECT_TRUE(mData.mouseActivated);
  mClock.Advance(399);
  Window().InputButton(1, false, 5, 5);
  ExpectEvent(Next(), {kEventNothing, 0, 0, 0, 0});
  ExpectEvent(Next(), {kEventNothing, 0, 0, 0, 0});
  EXPECT_FALSE(Window().HasCapture());
  // The next click is delivered.
  Window().InputButton(1, true, 5, 5);
  EXPECT_EQ(Next().type, kEventLeftDown);

  // A press 400 ms after the activation passes even while the flag is still set.
  mData.mouseActivated = true;
  mData.activationTime = TPlatform::GetTime();
  mClock.Advance(400);
  EXPECT_EQ(Post(WM_RBUTTONDOWN).type, kEventOtherButton);
}

TEST_F(EventPumpTest, HoverComesAfterThePointerRestsAndLeaveOncePerEntry) {
  Window().InputMouseMove(100, 100);
  EXPECT_EQ(Next().type, kEventMouseMove);  // tracking starts here
  mClock.Advance(300);
  Window().InputMouseMove(103, 97);  // within the slop: the rest goes on
  EXPECT_EQ(Next().type, kEventMouseMove);
  mClock.Advance(99);
  EXPECT_EQ(Next().type, kEventTick);
  mClock.Advance(1);
  ExpectEvent(Next(), {kEventMouseHover, 0, 0, 7, 9});
  Window().InputLeave();
  EXPECT_EQ(Next().type, kEventNothing);  // the message itself; the procedure raises the flag
  ExpectEvent(Next(), {kEventMouseLeave, 0, 0, 7, 9});
  Window().InputLeave();  // not armed again until the pointer comes back
  EXPECT_EQ(Next().type, kEventTick);
  EXPECT_EQ(mDisplay->Count("HideCursor"), 1);
}

TEST_F(EventPumpTest, IdleTickRunsTheTimerPhaseAndServicesSound) {
  struct TCount : TTask {
    int* runs;
    explicit TCount(int* r) : runs(r) {}
    bool Run() override { return ++*runs, true; }
  };
  int runs = 0;
  mPlatform->AddTask(new TCount(&runs));
  EXPECT_EQ(Next().type, kEventTick);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(mSound->mCalls, Calls({"Update"}));
  mDisplay->mFullscreen = true;
  Next();
  EXPECT_EQ(mBackend->mRaiseCount, 1);  // kept on top while full screen
}

TEST_F(EventPumpTest, TheIdleWaitLastsUntilTheEarliestTaskOrTheNextFrame) {
  struct TEvery5 : TAnimTask {
    bool Animate() override { return true; }
  };
  EXPECT_EQ(Next().type, kEventTick);
  EXPECT_EQ(mBackend->mLastWait, 16u);  // nothing scheduled: one frame at 60 a second
  auto* task = new TEvery5;
  task->SetPeriod(5, true, true, false);
  mPlatform->AddTask(task);
  Next();
  EXPECT_EQ(mBackend->mLastWait, 5u);
  mClock.Advance(3);
  Next();
  EXPECT_EQ(mBackend->mLastWait, 2u);
  task->Suspend();
  Next();
  EXPECT_EQ(mBackend->mLastWait, 16u);
  // The top window's timed tasks, which the tick runs next, count as well.
  auto* screen = new TEvery5;
  screen->SetPeriod(7, true, true, false);
  auto* root = new TModalWindow;
  root->AddTask(screen);
  mData.windowManager->SetRootWindow(root);
  Next();
  EXPECT_EQ(mBackend->mLastWait, 7u);
}

TEST_F(EventPumpTest, FlagsBecomeEventsInTheirOrder) {
  mData.displayModeChanged = true;
  mData.paintPending = true;
  mData.activationChanged = true;
  mData.active = false;
  mData.closeRequested = true;
  mData.mouseLeft = true;
  mData.visibilityChanged = true;
  mData.visible = false;
  Window().PostMessage(WM_KEYUP, 'Q', 0);
  std::vector<uint32_t> types;
  for (int i = 0; i < 8; ++i) types.push_back(Next().type);
  EXPECT_EQ(types, (std::vector<uint32_t>{kEventVisibility, kEventDisplayModeChanged, kEventPaint,
                                          kEventVisibility, kEventClose, kEventMouseLeave,
                                          kEventKeyUp, kEventTick}));
  EXPECT_EQ(mDisplay->Count("ResetWorkingCount"), 1);
}

TEST_F(EventPumpTest, LostDeviceGivesNothingAndRestoresUntilValid) {
  mDisplay->mDeviceValid = false;
  EXPECT_EQ(Next().type, kEventNothing);
  EXPECT_EQ(Next().type, kEventNothing);
  EXPECT_EQ(mDisplay->Count("Restore"), 2);
  mData.visible = false;
  EXPECT_EQ(Next().type, kEventNothing);
  EXPECT_EQ(mDisplay->Count("Restore"), 2);  // no restore while minimised
  Window().PostMessage(WM_KEYUP, 'Q', 0);
  Window().PostQuitMessage();
  EXPECT_EQ(Next().type, kEventQuit);  // a quit still ends the program
  mDisplay->mDeviceValid = true;
  EXPECT_EQ(Next().type, kEventKeyUp);
}

TEST_F(EventPumpTest, CloseIsARequestAndDestroyQuits) {
  Window().InputClose();
  EXPECT_EQ(Next().type, kEventClose);
  EXPECT_EQ(Next().type, kEventTick);  // the window still exists
  Window().Destroy();
  EXPECT_EQ(Next().type, kEventQuit);
}

class ScreensaverPumpTest : public EventPumpTest {
 protected:
  ScreensaverPumpTest() { mData.screensaver = true; }
};

TEST_F(ScreensaverPumpTest, InputQuits) {
  for (uint32_t message :
       {WM_KEYDOWN, WM_SYSKEYDOWN, WM_KEYUP, WM_CHAR, WM_LBUTTONDOWN, WM_LBUTTONUP}) {
    EXPECT_EQ(Post(message, 'A').type, kEventQuit) << message;
  }
  EXPECT_EQ(Post(WM_MOUSEHOVER).type, kEventNothing);
  // The pointer must really move: a first position is remembered, a change of one axis
  // is not enough.
  EXPECT_EQ(Post(WM_MOUSEMOVE).type, kEventNothing);
  mDisplay->mCursor = {7, 50};
  EXPECT_EQ(Post(WM_MOUSEMOVE).type, kEventNothing);
  mDisplay->mCursor = {8, 51};
  EXPECT_EQ(Post(WM_MOUSEMOVE).type, kEventQuit);
  mData.embedded = true;
  EXPECT_EQ(Post(WM_KEYDOWN, 'A').type, kEventNothing);
}

class EmbeddedPumpTest : public EventPumpTest {
 protected:
  explicit EmbeddedPumpTest(const char* commandLine = "game -wnd=1") : EventPumpTest(commandLine) {
    mData.embedded = true;
    mData.parentWindow = 1;
  }
};

TEST_F(EventPumpTest, ADispatchedRightClickOffersTheHostAContextMenu) {
  Post(WM_RBUTTONDOWN);
  Post(WM_RBUTTONUP);
  ASSERT_EQ(mBackend->mSentToHost.size(), 1u);
  EXPECT_EQ(mBackend->mSentToHost[0].message, WM_CONTEXTMENU);
}

TEST_F(EmbeddedPumpTest, RightClicksAreNotDispatchedAndClicksTakeTheFocus) {
  int before = mBackend->mFocusCount;
  EXPECT_EQ(Post(WM_RBUTTONDOWN).type, kEventOtherButton);
  EXPECT_EQ(mBackend->mFocusCount, before + 1);
  Window().PostMessage(WM_RBUTTONUP, 0, 0);
  Window().PostMessage(WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(Next().param, kButtonRightUp);
  EXPECT_EQ(Next().type, kEventKeyDown);
  EXPECT_EQ(Next().type, kEventChar);          // translated: key messages are still dispatched
  EXPECT_TRUE(mBackend->mSentToHost.empty());  // the host got no context-menu click
}

TEST_F(EmbeddedPumpTest, AltEnterDoesNotSwitchWithoutPq) {
  mBackend->mModifiers = kModAlt;
  EXPECT_EQ(Post(WM_SYSKEYDOWN, VK_RETURN, kKeyAltBit).type, kEventNothing);
  EXPECT_EQ(mDisplay->Count("SetFullscreen(1)"), 0);
}

class PqPumpTest : public EmbeddedPumpTest {
 protected:
  PqPumpTest() : EmbeddedPumpTest("game -wnd=1 -pq=x") {}
};

TEST_F(PqPumpTest, AltEnterAsksTheHostAndStaysWindowed) {
  mBackend->mModifiers = kModAlt;
  ExpectEvent(Post(WM_SYSKEYDOWN, VK_RETURN, kKeyAltBit), {kEventFullscreenSwitch, 1, 0, 0, 0});
  EXPECT_EQ(mDisplay->Count("SetFullscreen(0)"), 1);
  ASSERT_EQ(mBackend->mSentToHost.size(), 1u);
  EXPECT_EQ(mBackend->mSentToHost[0].message, WM_USER);
  EXPECT_EQ(mBackend->mSentToHost[0].wParam, 1u);
  ExpectEvent(Post(WM_SYSKEYDOWN, VK_RETURN, kKeyAltBit), {kEventFullscreenSwitch, 0, 0, 0, 0});
}

}  // namespace
