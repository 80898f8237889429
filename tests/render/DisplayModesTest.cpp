// The display-mode ladder: refusals of the desktop, the fallback between full screen and
// window with its messages, the fatal end, the low-memory setting and the initial state.
#include "tests/render/DisplayFixture.h"
#include "tvlib/platform/headless/THeadlessWindowBackend.h"

namespace {

// A fault hook that fails one kind of call every time.
sd::TFaultFn FailAlways(sd::TCall which, sd::HR hr = sd::kErrFail) {
  return [which, hr](sd::TCall call) { return call == which ? hr : sd::kOk; };
}

const char kFullScreenFailed[] =
    "Failed to initialize full screen mode. Your video card is not supported. Trying to run in a "
    "window.";
const char kWindowFailed[] = "Failed to initialize windowed mode. Trying full screen.";
const char kNotCompatible[] =
    "Sorry, but this product isn't compatible with your display. Try using a different display, "
    "if you have the option.";
const char kFatal[] =
    "Failed to initialize window. Please try running the game again. If that doesn't help, try "
    "changing the screen resolution and color depth. If that fails, then your video card does "
    "not support this game.";

}  // namespace

TEST_F(DisplayTest, DesktopRulesDecideWindowOrFullScreen) {
  struct Case {
    int desktopWidth, desktopHeight;
    uint32_t bits;
    bool expectFull;
    const char* log;
  };
  const Case cases[] = {
      {1920, 1080, 32, false, nullptr},
      {800, 600, 32, true, "SetDisplay Forcing Fullscreen (SMALL)"},
      {801, 600, 32, true, "SetDisplay Forcing Fullscreen (SMALL)"},
      {801, 601, 32, false, nullptr},
      {1920, 1080, 8, true, "SetDisplay Forcing Fullscreen (PALLETTED)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.desktopWidth << "x" << c.desktopHeight << "x" << c.bits);
    SetLogDirectory(dir.Path().c_str());
    MakeHandler(c.desktopWidth, c.desktopHeight, c.bits);
    handler->SetDisplay(800, 600, false, false, false, false);
    EXPECT_TRUE(handler->IsDeviceValid());
    EXPECT_EQ(handler->IsFullscreen(), c.expectFull);
    EXPECT_EQ(presenter->IsFullScreen(), c.expectFull);
    if (c.log) {
      EXPECT_TRUE(Logged(c.log)) << Log();
    }
    EXPECT_TRUE(boxes.empty());
  }
}

TEST_F(DisplayTest, SixteenColourDesktopIsFatalWithItsMessage) {
  MakeHandler(1920, 1080, 4);
  handler->SetDisplay(800, 600, true, false, false, false);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find("DirectX requires that you have your screen set to 256 color"),
            std::string::npos);
  EXPECT_EQ(ends, std::vector<int>{kExitStartupFailed});
  EXPECT_TRUE(HandlerData().fatal);
  EXPECT_TRUE(HandlerData().context.palettised);
  // Every later mode set ends the process at once.
  handler->SetDisplay(800, 600, true, true, true, false);
  EXPECT_EQ(ends, (std::vector<int>{kExitStartupFailed, kExitStartupFailed}));
}

TEST_F(DisplayTest, LowVideoMemoryForcesSixteenBitFullScreenAndRefusesWindows) {
  WriteWholeFile(dir / "common/display.xml", "<Settings LowMemoryVideo=\"1\"/>");
  Mount();
  Display(800, 600, false);
  EXPECT_TRUE(Logged("Low memory video card setting enabled!"));
  EXPECT_TRUE(Logged("SetDisplay Forcing Fullscreen (MEMORY)"));
  EXPECT_TRUE(Logged("Created screen at 16 bpp."));
  EXPECT_TRUE(handler->IsFullscreen());
  EXPECT_FALSE(handler->SetFullscreen(false));
}

TEST_F(DisplayTest, FullScreenFailureFallsBackToAWindowAndTellsAfterwards) {
  MakeHandler();
  {
    sd::TFaultScope fault(FailAlways(sd::TCall::kSetDisplayMode));
    handler->SetDisplay(800, 600, true, false, false, false);
  }
  EXPECT_TRUE(handler->IsDeviceValid());
  EXPECT_FALSE(handler->IsFullscreen());
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, kNotCompatible);
  EXPECT_EQ(boxes[0].flags, kMbIconHand);
  EXPECT_EQ(boxes[1].text, kFullScreenFailed);
  EXPECT_EQ(boxes[1].caption, "Error");
  // The success cleared the flag: the next failure gets its own fallback.
  EXPECT_FALSE(HandlerData().fallbackTried);
}

TEST_F(DisplayTest, WindowFailureTriesFullScreenAfterTelling) {
  MakeHandler();
  int devices = 0;
  {
    // The first device (the window's) fails, the full-screen one works.
    sd::TFaultScope fault([&](sd::TCall call) {
      return call == sd::TCall::kCreateDevice && devices++ == 0 ? sd::kErrFail : sd::kOk;
    });
    handler->SetDisplay(800, 600, false, false, false, false);
  }
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, kWindowFailed);
  EXPECT_TRUE(handler->IsFullscreen());
  EXPECT_TRUE(handler->IsDeviceValid());
  EXPECT_FALSE(HandlerData().fallbackTried);
}

TEST_F(DisplayTest, SecondFailureIsFatalWithTheDesignedText) {
  platform->CreateMainWindow(std::make_unique<THeadlessWindowBackend>());
  MakeHandler();
  sd::TFaultScope fault(FailAlways(sd::TCall::kCreateDevice));
  handler->SetDisplay(800, 600, true, false, false, false);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, kFatal);
  EXPECT_EQ(boxes[0].flags, kMbIconHand);
  EXPECT_EQ(boxes[1].text, kFullScreenFailed);
  EXPECT_TRUE(HandlerData().fatal);
  // The game quits without asking.
  EXPECT_FALSE(data->closeRequested);
  TWindowMessage message;
  EXPECT_TRUE(data->window->PeekMessage(&message, WM_QUIT));
  EXPECT_TRUE(Logged("ERROR FALLBACK FAILED"));
}

TEST_F(DisplayTest, QuietDropsTheBoxesButNotTheDecisions) {
  MakeHandler();
  sd::TFaultScope fault(FailAlways(sd::TCall::kSetDisplayMode));
  handler->SetDisplay(800, 600, true, false, true, false);
  // Only the device's own box remains; the window was still tried.
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, kNotCompatible);
  EXPECT_FALSE(handler->IsFullscreen());
}

TEST_F(DisplayTest, InactiveWindowMarksTheDeviceBrokenInsteadOfFallingBack) {
  MakeHandler();
  data->active = false;
  data->activationChanged = true;
  sd::TFaultScope fault(FailAlways(sd::TCall::kCreateDevice));
  handler->SetDisplay(800, 600, false, true, false, false);
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(HandlerData().broken);
  EXPECT_TRUE(Logged("SetDisplay marking DirectX Broken: INACTIVE, BACKGROUND"));
}

TEST_F(DisplayTest, SameModeTwiceDoesNothingUnlessForced) {
  Display();
  sd::TDevice3d* device = HandlerData().device;
  handler->SetDisplay(800, 600, false, false, false, false);
  EXPECT_EQ(HandlerData().device, device);
  handler->SetDisplay(800, 600, false, true, false, false);
  EXPECT_NE(HandlerData().device, nullptr);
  EXPECT_TRUE(data->displayModeChanged);
}

TEST_F(DisplayTest, HiddenOrInactiveWindowsDoNotSetModes) {
  MakeHandler();
  data->hidden = true;
  handler->SetDisplay(800, 600, false, false, false, false);
  EXPECT_EQ(clock.sleeps, std::vector<uint32_t>{100});
  data->hidden = false;
  data->visible = false;
  handler->SetDisplay(800, 600, false, false, false, false);
  EXPECT_EQ(HandlerData().device, nullptr);  // minimised: nothing at all
  EXPECT_FALSE(data->displayModeChanged);
}

TEST_F(DisplayTest, EmbeddedGameWaitsOneSecondAfterABreak) {
  MakeHandler();
  data->hostWindow = 7;
  Display();
  handler->MarkDeviceBroken();
  clock.now += 999;
  handler->SetDisplay(800, 600, false, true, false, false);
  EXPECT_TRUE(HandlerData().broken);
  clock.now += 1;
  handler->SetDisplay(800, 600, false, true, false, false);
  EXPECT_FALSE(HandlerData().broken);
}

TEST_F(DisplayTest, NewDeviceStartsWithTheDesignedStates) {
  Display();
  const std::pair<uint32_t, uint32_t> states[] = {
      {sd::kRsAmbient, 0xFFFFFFFFu},
      {sd::kRsZEnable, 1},
      {sd::kRsZWriteEnable, 1},
      {sd::kRsColorVertex, 1},
      {sd::kRsLighting, 1},
      {sd::kRsNormalizeNormals, 1},
      {sd::kRsSpecularEnable, 1},
      {sd::kRsDiffuseMaterialSource, sd::kMcsMaterial},
      {sd::kRsSrcBlend, sd::kBlendSrcAlpha},
      {sd::kRsDestBlend, sd::kBlendInvSrcAlpha},
      {sd::kRsAlphaBlendEnable, 1},
      {sd::kRsAlphaTestEnable, 1},
      {sd::kRsAlphaRef, 1},
      {sd::kRsAlphaFunc, sd::kCmpGreaterEqual},
      {sd::kRsShadeMode, sd::kShadeGouraud},
  };
  for (auto [state, value] : states) EXPECT_EQ(RenderState(state), value) << "state " << state;
  const std::pair<uint32_t, uint32_t> stages[] = {
      {sd::kTssMagFilter, sd::kTfgLinear}, {sd::kTssMinFilter, sd::kTfnLinear},
      {sd::kTssMipFilter, sd::kTfpLinear}, {sd::kTssColorOp, sd::kTopModulate},
      {sd::kTssAlphaArg2, sd::kTaCurrent}, {sd::kTssAlphaOp, sd::kTopModulate},
  };
  for (auto [state, value] : stages) EXPECT_EQ(StageState(state), value) << "stage " << state;
  EXPECT_TRUE(handler->IsRenderingToScreen());
  int w = 0, h = 0;
  bool full = true;
  handler->GetDisplaySize(&w, &h, &full);
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 600);
  EXPECT_FALSE(full);
  EXPECT_NE(handler->GetDeviceDescription().Find("DDCAPS: "), -1);
}

TEST_F(DisplayTest, SwitchingToAWindowIsRefusedWhereTheDesktopCannotHoldIt) {
  MakeHandler(1024, 768);
  handler->SetDisplay(1024, 768, true, false, false, false);
  EXPECT_FALSE(handler->SetFullscreen(false));
  EXPECT_TRUE(handler->IsFullscreen());
  MakeHandler();
  handler->SetDisplay(800, 600, true, false, false, false);
  EXPECT_TRUE(handler->SetFullscreen(false));
  EXPECT_FALSE(handler->IsFullscreen());
}

TEST_F(DisplayTest, CalibrationFindsTheDesignedOffset) {
  Display();
  handler->CalibrateTexelOffset();
  EXPECT_TRUE(HandlerData().calibrated);
  EXPECT_FLOAT_EQ(HandlerData().texelOffset, -0.5f);
  EXPECT_TRUE(handler->IsRenderingToScreen());
  EXPECT_FALSE(data->in2d);
}

TEST_F(DisplayTest, AGameInAHostWindowEndsWhereTheDesktopCannotHoldIt) {
  struct Case {
    int width, height;
    uint32_t bits;
    const char* text;
  };
  const Case cases[] = {
      {1920, 1080, 8, "when your video mode is 8 bits or less"},
      {800, 600, 32, "at your current screen resolution. Change"},
  };
  for (const Case& c : cases) {
    boxes.clear();
    ends.clear();
    data->hostWindow = 7;
    MakeHandler(c.width, c.height, c.bits);
    handler->SetDisplay(800, 600, false, false, false, false);
    ASSERT_EQ(boxes.size(), 1u) << c.text;
    EXPECT_NE(boxes[0].text.find(c.text), std::string::npos);
    EXPECT_EQ(boxes[0].flags, kMbIconExclamation);
    EXPECT_EQ(ends, std::vector<int>{kExitStartupFailed});
    EXPECT_EQ(HandlerData().device, nullptr);
  }
}

TEST_F(DisplayTest, WindowsAreSizedCentredAndKeptOnTheMonitor) {
  presenter = nullptr;
  Display();
  EXPECT_EQ(presenter->ClientRect(), (sd::TRect{560, 240, 1360, 840}));
  EXPECT_EQ(HandlerData().context.display.GetScreenRect(), presenter->ClientRect());
  sd::TRect off{1800, 1000, 2600, 1600};
  handler->FitRectToMonitor(&off, 0);
  EXPECT_EQ(off, (sd::TRect{1120, 480, 1920, 1080}));
  sd::TRect before{-50, -20, 750, 580};
  handler->FitRectToMonitor(&before, 2);
  EXPECT_EQ(before, (sd::TRect{0, 0, 800, 600}));
  // A window placed by the player stays where it is.
  presenter->PlaceClient(sd::TRect{10, 20, 810, 620});
  handler->SetDisplay(800, 600, false, true, false, false);
  EXPECT_EQ(presenter->ClientRect(), (sd::TRect{10, 20, 810, 620}));
}
