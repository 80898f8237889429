// The window manager: capture and leave, the modal stack with focus restore, close and Enter
// rules, the type-6 message, deferred and direct deletion, the queue's order, quitting, and
// the frame step's decisions (what is drawn, when nothing is).
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/app/PlatformFixture.h"
#include "tests/ui/RecordingWindow.h"
#include "tvlib/render/TTexture.h"
#include "tvlib/ui/TScreen.h"
#include "tvlib/ui/TWindowAnim.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

// Takes every message without a target and notes it.
struct TNoteListener : TMessageListener {
  explicit TNoteListener(Notes* log) : mLog(log) {}
  bool Offer(TMessage* message) override {
    mLog->push_back("heard" + std::to_string(message->mType) + ":" + message->mName.c_str());
    return true;
  }
  Notes* mLog;
};

class WindowManagerTest : public PlatformTest {
 protected:
  WindowManagerTest() {
    mRoot = new TRecModal("root", &mLog);
    Manager().SetRootWindow(mRoot);
    mLog.clear();
  }
  // The windows note into mLog until they are gone.
  ~WindowManagerTest() override { mData.windowManager.reset(); }
  TWindowManager& Manager() { return *mData.windowManager; }
  TRecWindow* Add(TWindow* parent, const char* name, int l, int t, int r, int b) {
    auto* w = new TRecWindow(name, &mLog);
    w->At(l, t, r, b);
    parent->AddChild(w, false);
    return w;
  }
  void Send(uint32_t type, int x = 0, int y = 0, uint32_t param = 0) {
    TPlatformEvent event{type, param, x, y, 0};
    Manager().HandleEvent(&event);
  }
  // Whether the platform's next event is the quit message.
  bool QuitPosted() { return Next().type == kEventQuit; }

  Notes mLog;
  TRecModal* mRoot = nullptr;
};

TEST_F(WindowManagerTest, ACapturedWindowGetsEveryPointerEventAfterItsLeave) {
  TRecWindow* button = Add(mRoot, "button", 100, 100, 150, 120);
  Add(mRoot, "other", 300, 300, 400, 400);
  Manager().CaptureMouse(button);
  Send(kEventMouseMove, 110, 105);
  Send(kEventLeftDown, 350, 350);  // over another window: still the button's
  // Unhandled, both fall through to the parent as usual.
  EXPECT_EQ(mLog, (Notes{"move@10,5:button", "move@110,105:root", "leave:button",
                         "down@250,250:button", "focus:root", "down@350,350:root"}));
  mLog.clear();
  Send(kEventMouseLeave);
  EXPECT_EQ(mLog, (Notes{"leave:button"}));
}

TEST_F(WindowManagerTest, CaptureListOrder) {
  TRecWindow* a = Add(mRoot, "a", 0, 0, 10, 10);
  TRecWindow* b = Add(mRoot, "b", 0, 0, 10, 10);
  EXPECT_EQ(Manager().CaptureMouse(a), nullptr);
  EXPECT_EQ(Manager().CaptureMouse(b), a);
  EXPECT_EQ(Manager().CaptureMouse(a), a);  // already held, not at the front: unchanged
  EXPECT_EQ(Manager().GetCapture(), (std::vector<TWindow*>{b, a}));
  EXPECT_EQ(Manager().CaptureMouse(b), b);
  Manager().ReleaseMouse(b);
  EXPECT_EQ(Manager().GetCapture(), (std::vector<TWindow*>{a}));
}

TEST_F(WindowManagerTest, PushingAModalTakesTheMouseAndPoppingRestoresTheFocus) {
  TRecWindow* edit = Add(mRoot, "edit", 0, 0, 10, 10);
  mRoot->SetFocusChild(edit);
  TRecWindow* button = Add(mRoot, "button", 20, 0, 30, 10);
  Manager().CaptureMouse(button);
  mLog.clear();
  auto* dialog = new TRecModal("dialog", &mLog);
  Manager().PushModal(dialog);
  EXPECT_EQ(mLog, (Notes{"leave:button", "focus:dialog"}));
  EXPECT_TRUE(Manager().GetCapture().empty());
  EXPECT_EQ(Manager().GetTopModal(), dialog);
  EXPECT_EQ(dialog->GetParent(), mRoot);
  EXPECT_EQ(dialog->GetWidth(), mRoot->GetWidth());  // sized to its parent
  mLog.clear();
  Manager().PopModal();
  EXPECT_EQ(mLog, (Notes{"focus:root", "focus:edit"}));
  EXPECT_EQ(Manager().GetFocus(), edit);
  EXPECT_EQ(Manager().GetTopModal(), mRoot);
}

TEST_F(WindowManagerTest, CloseMessagesAreSwallowedAndCloseOnlyTheNamedWindow) {
  auto* dialog = new TRecModal("dialog", &mLog);
  Manager().PushModal(dialog);
  const TString dialogId = dialog->GetIdText();
  mLog.clear();
  Manager().PostMessage(new TMessage(kMessageClose, mRoot->GetIdText()));
  Manager().AddListener(new TNoteListener(&mLog));
  Manager().DrainQueue();  // reaches the listener first: without target
  EXPECT_EQ(mLog, (Notes{"heard1:" + std::string(mRoot->GetIdText().c_str())}));
  // Sent to the dialog: swallowed there, the root stays.
  mLog.clear();
  dialog->SendMessage(new TMessage(kMessageClose, mRoot->GetIdText()));
  EXPECT_EQ(Manager().GetTopModal(), dialog);
  dialog->SendMessage(new TMessage(kMessageClose, dialogId));
  EXPECT_EQ(Manager().GetTopModal(), mRoot);
  // Deleted at the next event; its destruction announces itself.
  Send(kEventVisibility, 0, 0, 1);
  Send(kEventTick);
  const std::string closed = "heard6:" + std::string(dialogId.c_str());
  EXPECT_NE(std::find(mLog.begin(), mLog.end(), closed), mLog.end());
}

TEST_F(WindowManagerTest, EnterSendsTheEnterMessageFromTheFocusedWindow) {
  TRecWindow* edit = Add(mRoot, "edit", 0, 0, 10, 10);
  Manager().SetFocus(edit);
  mLog.clear();
  Send(kEventChar, 0, 0, 13);
  Send(kEventChar, 0, 0, 'x');  // other characters are not the modal window's
  EXPECT_EQ(mLog, (Notes{"msg2::edit", "msg2::root"}));
}

TEST_F(WindowManagerTest, TheQueueDeliversInOrderWithMessagesPostedMeanwhile) {
  struct TChainListener : TMessageListener {
    Notes* log;
    explicit TChainListener(Notes* l) : log(l) {}
    bool Offer(TMessage* m) override {
      log->push_back(m->mName.c_str());
      if (m->mName == "first") TWindowManager::Get()->PostMessage(new TMessage(9, "posted"));
      return true;
    }
  };
  Manager().AddListener(new TChainListener(&mLog));
  for (const char* name : {"first", "second", "third"}) {
    Manager().PostMessage(new TMessage(9, name));
  }
  Manager().DrainQueue();
  EXPECT_EQ(mLog, (Notes{"first", "second", "third", "posted"}));
  EXPECT_EQ(Manager().GetQueueLength(), 0u);
}

TEST_F(WindowManagerTest, DeliveringTypeFiveQuits) {
  Manager().PostMessage(new TMessage(9, "not yet"));
  Send(kEventTick);
  EXPECT_FALSE(QuitPosted());
  Manager().PostMessage(new TMessage(kMessageQuit, "bye"));
  Send(kEventTick);
  EXPECT_TRUE(QuitPosted());
}

TEST_F(WindowManagerTest, PoppingTheLastModalWindowQuitsAndLaterEventsAreDropped) {
  Manager().PopModal();
  EXPECT_EQ(Manager().GetTopModal(), nullptr);
  EXPECT_EQ(Manager().GetRootWindow(), nullptr);
  EXPECT_TRUE(QuitPosted());
  Send(kEventLeftDown, 5, 5);  // the root is deleted here; nothing receives the press
  Send(kEventTick);
  EXPECT_EQ(mLog, (Notes{}));
}

TEST_F(WindowManagerTest, AWindowDeletingItselfOrItsParentInAHandlerIsSafe) {
  struct TSelfDeleting : TRecWindow {
    using TRecWindow::TRecWindow;
    bool OnMouseDown(TPoint* p) override {
      TRecWindow::OnMouseDown(p);
      TWindowManager::Get()->DeleteLater(GetParent());
      TWindowManager::Get()->DeleteLater(this);
      return false;  // falls through to the parent, which still exists
    }
  };
  TRecWindow* panel = Add(mRoot, "panel", 0, 0, 100, 100);
  auto* button = new TSelfDeleting("button", &mLog);
  button->At(10, 10, 20, 20);
  panel->AddChild(button, false);
  Manager().PostMessage(new TMessage(kMessageClick, "for button", button));
  Manager().PostMessage(new TMessage(kMessageClick, "for panel", panel));
  Manager().AddListener(new TNoteListener(&mLog));
  Send(kEventLeftDown, 15, 15);  // drains the queue after the press
  EXPECT_EQ(mLog, (Notes{"down@5,5:button", "focus:root", "down@15,15:panel", "down@15,15:root",
                         "heard3:for button", "heard3:for panel"}));
  mLog.clear();
  Send(kEventTick);  // the deletions run first
  EXPECT_EQ(mRoot->FindChild("panel", -1), nullptr);
  EXPECT_TRUE(mRoot->GetChildren().empty());
}

TEST_F(WindowManagerTest, NothingReachesAWindowDeletedAtOnce) {
  TRecWindow* edit = Add(mRoot, "edit", 0, 0, 50, 50);
  mRoot->SetFocusChild(edit);
  Manager().CaptureMouse(edit);
  Manager().AddOverlay(edit);
  Manager().PostMessage(new TMessage(kMessageClick, "queued", edit));
  Manager().DeleteLater(edit);
  delete edit;  // also deleted at once: every list lets go of it
  EXPECT_EQ(Manager().GetFocus(), nullptr);
  EXPECT_EQ(mRoot->GetFocusChild(), nullptr);
  EXPECT_TRUE(Manager().GetCapture().empty());
  EXPECT_FALSE(Manager().RemoveOverlay(edit));
  Manager().AddListener(new TNoteListener(&mLog));
  mLog.clear();
  Send(kEventLeftDown, 10, 10);
  Send(kEventKeyDown, 0, 0, 'K');
  Send(kEventTick);
  EXPECT_EQ(mLog, (Notes{"down@10,10:root", "focus:root", "heard3:queued", "key75:root",
                         "heard4:raw:K", "draw:root"}));
}

TEST_F(WindowManagerTest, TheFrameStepDrawsOnlyWhenSomethingIsDirty) {
  Add(mRoot, "child", 0, 0, 10, 10);
  auto* overlay = new TRecWindow("overlay", &mLog);
  overlay->At(0, 0, 5, 5);
  Manager().AddOverlay(overlay);
  Send(kEventTick);
  EXPECT_EQ(mDisplay->Count("BeginDraw"), 1);
  EXPECT_EQ(mDisplay->Count("EndDraw"), 1);
  mLog.clear();
  Send(kEventTick);  // nothing dirty: nothing drawn or presented, overlays or not
  EXPECT_EQ(mDisplay->Count("BeginDraw"), 1);
  EXPECT_EQ(mLog, (Notes{}));
  TRect small{0, 0, 4, 4};
  mRoot->FindChild("child", 1)->Invalidate(&small);
  Send(kEventTick);
  EXPECT_EQ(mLog, (Notes{"draw:root", "draw:child", "draw:overlay"}));
  EXPECT_EQ(mDisplay->Count("EndDraw"), 2);
  Manager().mDrawingDisabled = true;
  mRoot->Invalidate();
  Send(kEventTick);
  EXPECT_EQ(mDisplay->Count("BeginDraw"), 2);
}

TEST_F(WindowManagerTest, PoppingAModalWhileDrawingStopsTheStackForThatFrame) {
  struct TPopper : TRecModal {
    using TRecModal::TRecModal;
    void Draw() override {
      TRecModal::Draw();
      TWindowManager::Get()->PopModal();
    }
  };
  auto* popper = new TPopper("popper", &mLog);
  Manager().PushModal(popper);
  auto* top = new TRecModal("top", &mLog);
  Manager().PushModal(top);
  popper->Invalidate();
  mLog.clear();
  Send(kEventTick);
  EXPECT_EQ(mLog, (Notes{"draw:root", "draw:popper", "focus:popper"}));
}

TEST_F(WindowManagerTest, ARenderTargetFrameDrawsTheLayerPassFirst) {
  auto* dialog = new TRecModal("dialog", &mLog);
  Manager().PushModal(dialog);
  Manager().SetRenderTarget(TTexture::Create(""));
  mLog.clear();
  mDisplay->mCalls.clear();
  Send(kEventTick);
  auto at = [&](const char* call) {
    return std::find(mDisplay->mCalls.begin(), mDisplay->mCalls.end(), call) -
           mDisplay->mCalls.begin();
  };
  EXPECT_LT(at("PushRenderTarget"), at("PopRenderTarget"));
  EXPECT_LT(at("PopRenderTarget"), at("BeginDraw"));
  EXPECT_LT(at("BeginDraw"), at("EndDraw"));
  // The root because it is dirty, then only the top window of the stack.
  EXPECT_EQ(mLog, (Notes{"draw:root", "draw:dialog"}));
  Send(kEventDisplayModeChanged);  // lets the render target go
  EXPECT_EQ(Manager().GetRenderTarget(), nullptr);
}

TEST_F(WindowManagerTest, AWindowsAnimRunsWithItsModalWindowAndOutlivesNothing) {
  struct TAnimated : TRecWindow {
    using TRecWindow::TRecWindow;
    int runs = 0;
    bool Animate() override { return ++runs, true; }
  };
  auto* animated = new TAnimated("animated", &mLog);
  mRoot->AddChild(animated, false);
  animated->SetAnimPeriod(10, true, true, false);
  EXPECT_TRUE(mRoot->GetTaskList()->Contains(animated->GetAnim()));
  mClock.Advance(10);
  Send(kEventTick);
  EXPECT_EQ(animated->runs, 1);
  delete animated;  // its task stays listed, finds no window and ends
  mClock.Advance(10);
  Send(kEventTick);
  EXPECT_EQ(mRoot->GetTaskList()->GetCount(), 0);
  // Without a modal window above it, the window keeps its task itself.
  TAnimated alone("alone", &mLog);
  EXPECT_NE(alone.GetAnim(), nullptr);
}

TEST_F(WindowManagerTest, TheRootIsSizedToTheViewportAndInitialisedTwice) {
  struct TCountingRoot : TScreen {
    int* inits;
    explicit TCountingRoot(int* count) : inits(count) {}
    bool Init() override { return ++*inits, true; }
  };
  int inits = 0;
  TWindowManager manager;
  auto* root = new TCountingRoot(&inits);
  manager.SetRootWindow(root);
  EXPECT_EQ(inits, 2);
  EXPECT_EQ(manager.GetRootWindow(), root);
  EXPECT_EQ(manager.GetTopModal(), root);
  EXPECT_EQ(root->GetWidth(), 800);  // the recording display's viewport
  EXPECT_EQ(root->GetHeight(), 600);
  EXPECT_EQ(manager.GetFocus(), root);
}

}  // namespace
