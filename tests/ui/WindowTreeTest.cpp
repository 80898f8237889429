// The window tree: hit tests and z-order, the child list, invalidation and its propagation,
// the drawing order of each mode, event fall-through and message bubbling.
#include <gtest/gtest.h>

#include <memory>

#include "tests/app/PlatformFixture.h"
#include "tests/ui/RecordingWindow.h"
#include "tvlib/ui/TWindowManager.h"
#include "tvlib/ui/TWindowSpider.h"

namespace {

class WindowTreeTest : public PlatformTest {
 protected:
  TRecWindow* Add(TWindow* parent, const char* name, int l, int t, int r, int b) {
    auto* w = new TRecWindow(name, &mLog);
    w->At(l, t, r, b);
    if (parent) parent->AddChild(w, false);
    return w;
  }
  static std::string Name(TWindow* w) { return w ? w->GetName().c_str() : "null"; }
  static TRect Rect(int l, int t, int r, int b) { return TRect{l, t, r, b}; }
  static std::string Text(const TRect* r) {
    if (!r) return "none";
    return std::to_string(r->left) + "," + std::to_string(r->top) + "," + std::to_string(r->right) +
           "," + std::to_string(r->bottom);
  }
  // The windows note into mLog until they are gone.
  ~WindowTreeTest() override { mData.windowManager.reset(); }
  TWindowManager& Manager() { return *mData.windowManager; }

  Notes mLog;
};

TEST_F(WindowTreeTest, TheFrontChildWinsAndHiddenSubtreesAreNotHit) {
  std::unique_ptr<TWindow> root(Add(nullptr, "root", 0, 0, 200, 200));
  TWindow* back = Add(root.get(), "back", 50, 50, 150, 150);
  Add(back, "inner", 10, 10, 30, 30);  // (60..80) on screen
  TWindow* hidden = Add(root.get(), "hidden", 0, 0, 40, 40);
  Add(hidden, "underHidden", 0, 0, 40, 40);
  hidden->ClearFlags(kWindowVisible);
  Add(root.get(), "front", 10, 10, 100, 100);  // added last: the front
  struct Case {
    int x, y;
    const char* expected;
  } cases[] = {
      {70, 70, "front"},                        // both contain it: the front one
      {10, 10, "front"},                        // edges count
      {100, 100, "front"}, {120, 120, "back"},  // only the back one
      {5, 5, "root"},  // the hidden child and its visible child are skipped
      {150, 150, "back"},  {151, 151, "root"},
      {250, 20, "root"},  // outside the root: nothing below it is hit
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Name(root->FindWindowAt(TPoint{c.x, c.y}, -1)), c.expected) << c.x << "," << c.y;
  }
  std::unique_ptr<TWindow> front(root->FindChild("front", 1));
  root->RemoveChild(front.get());
  EXPECT_EQ(Name(root->FindWindowAt(TPoint{70, 70}, -1)), "inner");
  EXPECT_EQ(Name(root->FindWindowAt(TPoint{70, 70}, 1)), "back");
  EXPECT_EQ(root->FindWindowAt(TPoint{70, 70}, 0), nullptr);
}

TEST_F(WindowTreeTest, ChildListOrderGrowthAndInit) {
  struct TRefusing : TWindow {
    int inits = 0;
    bool answer = true;
    bool Init() override { return ++inits, answer; }
  };
  std::unique_ptr<TWindow> root(Add(nullptr, "root", 0, 0, 10, 10));
  auto* a = new TRefusing;
  a->SetPosition(20, 5);
  a->SetSize(10, 30);
  EXPECT_TRUE(root->AddChild(a, true));
  EXPECT_EQ(root->GetRect().right, 30);  // grown to cover the child
  EXPECT_EQ(root->GetRect().bottom, 35);
  TWindow* b = Add(root.get(), "b", 0, 0, 5, 5);
  EXPECT_EQ(root->GetChildren(), (std::vector<TWindow*>{b, a}));
  EXPECT_TRUE(root->AddChild(a, true));  // already a child: order kept, Init runs again
  EXPECT_EQ(root->GetChildren(), (std::vector<TWindow*>{b, a}));
  EXPECT_EQ(a->inits, 2);
  auto* refused = new TRefusing;
  refused->answer = false;
  EXPECT_FALSE(root->AddChild(refused, true));
  EXPECT_EQ(refused->GetParent(), nullptr);
  EXPECT_EQ(root->GetChildren().size(), 2u);
  delete refused;
  delete b;  // a deleted child leaves its parent's list
  EXPECT_EQ(root->GetChildren(), (std::vector<TWindow*>{a}));
}

TEST_F(WindowTreeTest, ReorderMovesWithinTheParentsList) {
  struct Case {
    int mode;
    const char* moved;
    const char* sibling;
    const char* expected;
  } cases[] = {
      {kReorderToBack, "a", nullptr, "bcda"},   {kReorderToFront, "c", nullptr, "cabd"},
      {kReorderForward, "c", nullptr, "acbd"},  {kReorderForward, "a", nullptr, "abcd"},
      {kReorderBackward, "b", nullptr, "acbd"}, {kReorderBackward, "d", nullptr, "abcd"},
      {kReorderBefore, "d", "b", "adbc"},       {kReorderBefore, "a", nullptr, "bcda"},
  };
  for (const Case& c : cases) {
    std::unique_ptr<TWindow> root(Add(nullptr, "root", 0, 0, 10, 10));
    for (const char* name : {"d", "c", "b", "a"}) Add(root.get(), name, 0, 0, 1, 1);
    TWindow* sibling = c.sibling ? root->FindChild(c.sibling, 1) : nullptr;
    root->FindChild(c.moved, 1)->Reorder(c.mode, sibling);
    std::string order;
    for (TWindow* w : root->GetChildren()) order += w->GetName().c_str();
    EXPECT_EQ(order, c.expected) << c.mode << " " << c.moved;
  }
}

TEST_F(WindowTreeTest, FindChildHonoursTheDepth) {
  std::unique_ptr<TWindow> root(Add(nullptr, "root", 0, 0, 10, 10));
  TWindow* child = Add(root.get(), "child", 0, 0, 5, 5);
  TWindow* grandchild = Add(child, "grandchild", 0, 0, 2, 2);
  EXPECT_EQ(root->FindChild("root", 0), root.get());
  EXPECT_EQ(root->FindChild("child", 0), nullptr);
  EXPECT_EQ(root->FindChild("child", 1), child);
  EXPECT_EQ(root->FindChild("grandchild", 1), nullptr);
  EXPECT_EQ(root->FindChild("grandchild", -1), grandchild);
  EXPECT_EQ(root->GetIdText().Length(), 8);
}

TEST_F(WindowTreeTest, InvalidationKeepsOneUnionAndClimbsToTheParent) {
  std::unique_ptr<TWindow> root(Add(nullptr, "root", 0, 0, 100, 100));
  root->AddFlags(kWindowStopInvalidation);
  TWindow* panel = Add(root.get(), "panel", 10, 20, 60, 70);
  TWindow* button = Add(panel, "button", 5, 5, 25, 15);
  root->DrawTree(kDrawAll);
  ASSERT_FALSE(button->IsDirty());

  TRect first = Rect(0, 0, 4, 4);
  button->Invalidate(&first);
  TRect second = Rect(10, 6, 30, 40);  // reaches past the button: clamped to it
  button->Invalidate(&second);
  EXPECT_EQ(Text(button->GetDirtyRect()), "0,0,20,10");
  EXPECT_EQ(Text(panel->GetDirtyRect()), "5,5,25,15");   // in the panel's coordinates
  EXPECT_EQ(Text(root->GetDirtyRect()), "15,25,35,35");  // and the root's
  EXPECT_TRUE(Manager().IsMarkedDirty(button));
  EXPECT_TRUE(Manager().IsMarkedDirty(root.get()));

  root->DrawTree(kDrawAll);
  struct Case {
    TRect area;
    bool marks;
  } ignored[] = {
      {Rect(-5, -5, 10, 0), false},  // bottom 0: ignored even with negative left and top
      {Rect(-5, -5, 0, 10), false},  // right 0
      {Rect(30, 2, 40, 8), false},   // wholly outside the button
      {Rect(8, 8, 4, 9), false},     // inverted
      {Rect(-5, -5, 3, 3), true},    // partly inside: the inside part
  };
  for (const Case& c : ignored) {
    button->Invalidate(&c.area);
    EXPECT_EQ(button->IsDirty(), c.marks) << Text(&c.area);
    EXPECT_EQ(panel->IsDirty(), c.marks) << Text(&c.area);
  }
  EXPECT_EQ(Text(button->GetDirtyRect()), "0,0,3,3");
}

TEST_F(WindowTreeTest, PropagationMarksOnlyTheChildrenUnderTheDirtyArea) {
  std::unique_ptr<TWindow> root(Add(nullptr, "root", 0, 0, 100, 100));
  TWindow* left = Add(root.get(), "left", 0, 0, 40, 40);
  TWindow* leftInner = Add(left, "leftInner", 20, 20, 40, 40);
  TWindow* right = Add(root.get(), "right", 60, 0, 100, 40);
  root->DrawTree(kDrawAll);
  TRect area = Rect(30, 30, 50, 50);
  root->Invalidate(&area);
  root->PropagateDirty();
  EXPECT_EQ(Text(left->GetDirtyRect()), "30,30,40,40");
  EXPECT_EQ(Text(leftInner->GetDirtyRect()), "10,10,20,20");
  EXPECT_FALSE(right->IsDirty());
  root->DrawTree(kDrawAll);
  root->Invalidate();  // as a whole
  root->PropagateDirty();
  EXPECT_TRUE(right->IsDirty());
  EXPECT_EQ(Text(right->GetDirtyRect()), "0,0,40,40");
}

TEST_F(WindowTreeTest, DrawTreeOrderPerMode) {
  std::unique_ptr<TWindow> root(Add(nullptr, "root", 0, 0, 100, 100));
  TWindow* back = Add(root.get(), "back", 0, 0, 50, 50);
  TWindow* layer = Add(root.get(), "layer", 0, 0, 50, 50);
  layer->AddFlags(kWindowLayer);
  Add(layer, "layerChild", 0, 0, 10, 10);
  TWindow* hidden = Add(root.get(), "hidden", 0, 0, 50, 50);
  hidden->ClearFlags(kWindowVisible);
  TWindow* modal = Add(root.get(), "modal", 0, 0, 50, 50);
  modal->AddFlags(kWindowModal);
  Add(root.get(), "front", 0, 0, 50, 50);
  (void)back;
  auto draw = [&](int mode, bool cached) {
    mLog.clear();
    if (cached) {
      root->AddFlags(kWindowCachedLayer);
    } else {
      root->ClearFlags(kWindowCachedLayer);
    }
    root->Invalidate();
    root->PropagateDirty();
    root->DrawTree(mode);
    return mLog;
  };
  EXPECT_EQ(draw(kDrawAll, false),
            (Notes{"draw:root", "draw:back", "draw:layer", "draw:layerChild", "draw:front"}));
  // The render-target pass draws the layer windows under a marked parent (and their children
  // through them); the root itself has no parent and is not one.
  EXPECT_EQ(draw(kDrawLayers, true), (Notes{}));
  mLog.clear();
  root->AddFlags(kWindowCachedLayer);
  layer->AddFlags(kWindowDirty);
  layer->DrawTree(kDrawLayers);
  EXPECT_EQ(mLog, (Notes{"draw:layer"}));
  EXPECT_TRUE(layer->GetFlags() & kWindowCachedLayer);
  // The main pass of a render-target frame skips what the layer pass drew.
  EXPECT_EQ(draw(kDrawUncached, false), (Notes{"draw:root", "draw:back", "draw:front"}));
  // A window hidden entirely outside the viewport draws nothing, but is clean afterwards.
  TWindow* away = Add(root.get(), "away", 900, 900, 950, 950);
  mLog.clear();
  away->Invalidate();
  away->DrawTree(kDrawAll);
  EXPECT_EQ(mLog, (Notes{}));
  EXPECT_FALSE(away->IsDirty());
}

TEST_F(WindowTreeTest, ClearFlagsActsOnlyOnBitsEightToFifteen) {
  struct Case {
    uint32_t flags, mask, expected;
  } cases[] = {
      {0x0D0F, 0xFFFFFFFE, 0x0D0F},  // bit 0x001 stays
      {0x0D0F, 0xFFFFFBFF, 0x090F},  // the cached-layer mark goes
      {0x0D0F, 0x00000000, 0x000F},
      {0x10D00, 0xFFFF00FF, 0x10000},
  };
  for (const Case& c : cases) {
    TWindow w;
    w.SetFlags(c.flags);
    TWindowClearFlags(c.mask, false).Apply(&w);
    EXPECT_EQ(w.GetFlags(), c.expected) << std::hex << c.flags << " " << c.mask;
  }
}

TEST_F(WindowTreeTest, UnhandledPointerEventsFallToSiblingsBehindThenTheParent) {
  auto* root = new TRecModal("root", &mLog);
  root->At(0, 0, 200, 200);
  TRecWindow* back = Add(root, "back", 50, 50, 150, 150);
  TRecWindow* inner = Add(back, "inner", 10, 10, 40, 40);
  TRecWindow* front = Add(root, "front", 40, 40, 100, 100);
  Manager().SetRootWindow(root);
  mLog.clear();
  TPlatformEvent down{kEventLeftDown, 0, 65, 65, 0};  // in front, and in inner behind it
  front->HandleEvent(TPlatformEvent{kEventLeftDown, 0, 25, 25, 0}, false);
  EXPECT_EQ(mLog, (Notes{"down@25,25:front", "focus:root", "down@5,5:inner", "down@15,15:back",
                         "down@65,65:root"}));
  mLog.clear();
  inner->mHandles.insert(kEventLeftDown);
  Manager().HandleEvent(&down);
  EXPECT_EQ(mLog, (Notes{"down@25,25:front", "focus:root", "down@5,5:inner"}));
  EXPECT_EQ(Manager().GetFocus(), root);
}

TEST_F(WindowTreeTest, AModalWindowTurnsUnhandledInputIntoMessages) {
  auto* root = new TRecModal("root", &mLog);
  root->mTakesMessages = true;
  Manager().SetRootWindow(root);
  TRecWindow* child = Add(root, "child", 0, 0, 50, 50);
  Manager().SetFocus(child);
  struct Case {
    TPlatformEvent event;
    bool handled;
    const char* message;  // null: none
  } cases[] = {
      {{kEventKeyDown, 'A', 0, 0, 0}, false, "msg4:raw:A"},
      {{kEventKeyDown, 'A', 0, 0, 0}, true, nullptr},
      {{kEventLeftUp, 0, 10, 10, 0}, false, "msg4:mouse:up"},
      {{kEventLeftUp, 0, 10, 10, 0}, true, nullptr},
      {{kEventMouseMove, 0, 10, 10, 0}, false, nullptr},
  };
  for (const Case& c : cases) {
    child->mHandles.clear();
    if (c.handled) child->mHandles.insert(c.event.type);
    mLog.clear();
    TPlatformEvent event = c.event;
    Manager().HandleEvent(&event);
    // Delivered to the focused window first, then bubbled to the modal window, which takes it.
    int atRoot = 0;
    for (const std::string& note : mLog)
      atRoot += note.rfind("msg", 0) == 0 && note.find(":root") != std::string::npos;
    EXPECT_EQ(atRoot, c.message ? 1 : 0) << c.event.type << " " << c.handled;
    if (c.message) {
      EXPECT_EQ(mLog.back(), std::string(c.message) + ":root") << c.event.type;
    }
  }
}

TEST_F(WindowTreeTest, MessagesBubbleToTheModalWindowAndItsFocusChild) {
  auto* root = new TRecModal("root", &mLog);
  Manager().SetRootWindow(root);
  TRecWindow* panel = Add(root, "panel", 0, 0, 50, 50);
  TRecWindow* button = Add(panel, "button", 0, 0, 10, 10);
  TRecWindow* edit = Add(root, "edit", 60, 0, 80, 10);
  root->SetFocusChild(edit);
  struct Case {
    TRecWindow* taker;  // null: nobody takes it
    Notes expected;
  } cases[] = {
      {button, {"msg3:b:button"}},
      {panel, {"msg3:b:button", "msg3:b:panel"}},
      {edit, {"msg3:b:button", "msg3:b:panel", "msg3:b:root", "msg3:b:edit"}},
      {nullptr, {"msg3:b:button", "msg3:b:panel", "msg3:b:root", "msg3:b:edit"}},
  };
  for (const Case& c : cases) {
    for (TRecWindow* w : {button, panel, edit}) w->mTakesMessages = w == c.taker;
    mLog.clear();
    button->SendMessage(new TMessage(kMessageClick, "b", button));
    EXPECT_EQ(mLog, c.expected);
  }
}

}  // namespace
