// Buttons: the state machine of each kind (layers, capture, clicks, sounds), radio groups,
// firing with the return-value option, actions that change the modal stack, the default
// button on Enter and link commands of text windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "tests/app/PlatformFixture.h"
#include "tests/ui/RecordingWindow.h"
#include "tests/ui/TextTestSupport.h"
#include "tvlib/render/TDxTextureData.h"
#include "tvlib/render/TTexture.h"
#include "tvlib/script/TLuaObjectWrapper.h"
#include "tvlib/ui/TButton.h"
#include "tvlib/ui/TText.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

// A button that notes the states whose sound it would play.
class TSoundButton : public TButton {
 public:
  TSoundButton(const char* name, int type) : TButton(type) { SetName(name); }
  std::vector<int> mSounds;

 protected:
  void PlayStateSound(int state) override {
    if (GetSound(state).Length() != 0 && IsVisible()) mSounds.push_back(state);
    TButton::PlayStateSound(state);
  }
};

// Runs a callback when the button fires.
struct TCallAction : TButton::Action {
  explicit TCallAction(std::function<void()> call) : mCall(std::move(call)) {}
  bool Run(TButton*) override { return mCall(), true; }
  std::function<void()> mCall;
};

// Exposes the link command of a text window.
struct TLinkText : TText {
  using TText::FireLinkCommand;
};

class ButtonTest : public PlatformTest {
 protected:
  ButtonTest() {
    mRoot = new TRecModal("root", &mLog);
    Manager().SetRootWindow(mRoot);
    mLog.clear();
  }
  ~ButtonTest() override { mData.windowManager.reset(); }
  TWindowManager& Manager() { return *mData.windowManager; }
  TSoundButton* AddButton(TWindow* parent, const char* name, int type, int x = 0, int y = 0) {
    auto* button = new TSoundButton(name, type);
    button->SetPosition(x, y);
    button->SetSize(20, 10);
    parent->AddChild(button, true);
    return button;
  }
  bool Captured(TWindow* window) {
    const auto& capture = Manager().GetCapture();
    return std::find(capture.begin(), capture.end(), window) != capture.end();
  }
  // The click messages delivered so far.
  std::vector<std::string> Clicks() {
    Manager().DrainQueue();
    std::vector<std::string> clicks;
    for (const auto& note : mLog) {
      if (note.rfind("msg3:", 0) == 0) clicks.push_back(note);
    }
    return clicks;
  }

  Notes mLog;
  TRecModal* mRoot = nullptr;
};

// Steps: m move inside, o move outside, d press inside, D press outside, u release inside,
// U release outside, l leave.
struct TStateCase {
  int type;
  bool checked;
  const char* steps;
  int state;
  int layer;
  bool checkedAfter;
  bool captured;
  int clicks;
  std::vector<int> sounds;
};

TEST_F(ButtonTest, StateMachineOfEachKind) {
  const TStateCase cases[] = {
      {kButtonPush, false, "", kButtonIdle, 0, false, false, 0, {}},
      {kButtonPush, false, "m", kButtonHover, 2, false, true, 0, {2}},
      {kButtonPush, false, "mm", kButtonHover, 2, false, true, 0, {2}},
      {kButtonPush, false, "mo", kButtonIdle, 0, false, false, 0, {2, 0}},
      {kButtonPush, false, "d", kButtonPressed, 1, false, true, 0, {}},
      {kButtonPush, false, "du", kButtonHover, 2, false, true, 1, {1, 2}},
      {kButtonPush, false, "mdu", kButtonHover, 2, false, true, 1, {2, 1, 2}},
      {kButtonPush, false, "dU", kButtonIdle, 0, false, false, 0, {0}},
      {kButtonPush, false, "D", kButtonIdle, 0, false, false, 0, {0}},
      {kButtonPush, false, "dl", kButtonIdle, 0, false, false, 0, {0}},
      {kButtonPush, false, "u", kButtonIdle, 0, false, false, 0, {}},
      {kButtonPush, false, "mu", kButtonHover, 2, false, true, 0, {2}},
      {kButtonToggle, false, "du", kButtonHover, 3, true, true, 1, {1, 2}},
      {kButtonToggle, true, "du", kButtonHover, 2, false, true, 1, {1, 2}},
      {kButtonToggle, true, "", kButtonIdle, 1, true, false, 0, {}},
      {kButtonToggle, true, "d", kButtonPressed, 0, true, true, 0, {}},
      {kButtonToggle, false, "dU", kButtonIdle, 0, false, false, 0, {0}},
      {kButtonToggle, false, "mu", kButtonHover, 3, true, true, 0, {2}},
      {kButtonRadio, false, "du", kButtonHover, 3, true, true, 1, {1, 2}},
      {kButtonRadio, true, "du", kButtonHover, 3, true, true, 1, {1, 2}},
      {kButtonRadio, true, "dl", kButtonIdle, 1, true, false, 0, {0}},
  };
  for (const TStateCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.type) + (c.checked ? " checked " : " ") + c.steps);
    mLog.clear();
    TSoundButton* button = AddButton(mRoot, "b", c.type, 100, 100);
    for (int i = 0; i < 3; ++i) button->SetSound(i, "sound");
    if (c.checked) button->SetChecked(true);
    for (const char* s = c.steps; *s; ++s) {
      TPoint inside{5, 5}, outside{30, 5};
      switch (*s) {
        case 'm':
          button->OnMouseMove(&inside);
          break;
        case 'o':
          button->OnMouseMove(&outside);
          break;
        case 'd':
          button->OnMouseDown(&inside);
          break;
        case 'D':
          button->OnMouseDown(&outside);
          break;
        case 'u':
          button->OnMouseUp(&inside);
          break;
        case 'U':
          button->OnMouseUp(&outside);
          break;
        case 'l':
          button->OnMouseLeave();
          break;
      }
    }
    EXPECT_EQ(button->GetState(), c.state);
    EXPECT_EQ(button->GetLayer(), c.layer);
    EXPECT_EQ(button->IsChecked(), c.checkedAfter);
    EXPECT_EQ(Captured(button), c.captured);
    EXPECT_EQ(Clicks().size(), static_cast<size_t>(c.clicks));
    EXPECT_EQ(button->mSounds, c.sounds);
    mRoot->RemoveChild(button);
    delete button;
    EXPECT_FALSE(Captured(button));
  }
}

TEST_F(ButtonTest, EventsThroughTheManagerFollowTheCapture) {
  TSoundButton* button = AddButton(mRoot, "ok", kButtonPush, 100, 100);
  TPlatformEvent move{kEventMouseMove, 0, 105, 105, 0};
  Manager().HandleEvent(&move);
  EXPECT_EQ(button->GetState(), kButtonHover);
  TPlatformEvent down{kEventLeftDown, 0, 105, 105, 0}, up{kEventLeftUp, 0, 106, 104, 0};
  Manager().HandleEvent(&down);
  Manager().HandleEvent(&up);
  EXPECT_EQ(Clicks(), (std::vector<std::string>{"msg3:ok:root"}));
  TPlatformEvent away{kEventMouseMove, 0, 300, 300, 0};
  Manager().HandleEvent(&away);
  EXPECT_EQ(button->GetState(), kButtonIdle);
  EXPECT_FALSE(Captured(button));
}

TEST_F(ButtonTest, LayersShowOnlyTheSelectedLayersChildren) {
  TButton* button = AddButton(mRoot, "b", kButtonToggle);
  std::vector<TWindow*> looks;
  for (int layer = 0; layer < 4; ++layer) {
    button->SelectLayer(layer);
    looks.push_back(new TWindow);
    button->AddChild(looks.back(), false);
  }
  button->SelectLayer(-1);
  auto* everywhere = new TWindow;
  button->AddChild(everywhere, false);
  for (int layer : {3, 1, -1, 0}) {
    button->SelectLayer(layer);
    const int shown = layer == -1 ? 0 : layer;
    for (int i = 0; i < 4; ++i) EXPECT_EQ(looks[i]->IsVisible(), i == shown) << layer;
    EXPECT_TRUE(everywhere->IsVisible());
  }
  button->RemoveChild(everywhere);
  delete everywhere;
  for (int layer = 0; layer < 4; ++layer) EXPECT_EQ(button->GetLayerChildren(layer).size(), 1u);
}

TEST_F(ButtonTest, RadioGroupsEndAtTheNextGroupStart) {
  // Children in the order added: group a (a1 a2 a3), group b (b1 b2), then c1 in group b.
  std::vector<TSoundButton*> buttons;
  for (const char* name : {"a1", "a2", "a3", "b1", "b2", "c1"}) {
    buttons.push_back(AddButton(mRoot, name, kButtonRadio));
  }
  buttons[0]->SetOptions(kSetBeginGroup);
  buttons[3]->SetOptions(kSetBeginGroup);
  auto checked = [&] {
    std::string s;
    for (TButton* b : buttons) s += b->IsChecked() ? '1' : '0';
    return s;
  };
  for (TButton* b : buttons) b->SetChecked(false);
  buttons[0]->SetChecked(true);
  buttons[3]->SetChecked(true);
  EXPECT_EQ(checked(), "100100");
  buttons[1]->SetChecked(true);
  EXPECT_EQ(checked(), "010100");
  buttons[5]->SetChecked(true);
  EXPECT_EQ(checked(), "010001");
  buttons[3]->SetChecked(true);  // the first of its group clears its own group only
  EXPECT_EQ(checked(), "010100");
  // Checking again is silent and changes nothing.
  buttons[3]->mSounds.clear();
  buttons[3]->SetChecked(true);
  EXPECT_EQ(checked(), "010100");
  EXPECT_TRUE(buttons[3]->mSounds.empty());
}

TEST_F(ButtonTest, RadioButtonsWithoutAGroupStartClearNothing) {
  TButton* a = AddButton(mRoot, "a", kButtonRadio);
  TButton* b = AddButton(mRoot, "b", kButtonRadio);
  a->SetChecked(true);
  b->SetChecked(true);
  EXPECT_TRUE(a->IsChecked());
  EXPECT_TRUE(b->IsChecked());
}

TEST_F(ButtonTest, ReturnValueClosesTheDialogBeforeTheClickArrives) {
  Manager().AttachScript(new TWindowScript());
  auto* dialog = new TRecModal("dialog", &mLog);
  Manager().PushModal(dialog);
  const std::string dialogId = dialog->GetIdText().c_str();
  TButton* yes = AddButton(dialog, "yes", kButtonPush);
  yes->SetOptions(kSetReturnValue);
  mLog.clear();
  EXPECT_FALSE(yes->Fire());
  EXPECT_EQ(Manager().GetWindowScript()->GetGlobalString("gReturnValue"), "yes");
  Manager().DrainQueue();
  // The close message pops the dialog; the click, whose target went with it, reaches the
  // window that has the focus now.
  EXPECT_EQ(mLog, (Notes{"msg1:" + dialogId + ":dialog", "focus:root", "msg3:yes:root"}));
  EXPECT_EQ(Manager().GetTopModal(), mRoot);
}

TEST_F(ButtonTest, ToScreenSendsTheClickToTheTopModalsParent) {
  auto* dialog = new TRecModal("dialog", &mLog);
  Manager().PushModal(dialog);
  auto* panel = new TRecWindow("panel", &mLog);
  dialog->AddChild(panel, false);
  TButton* local = AddButton(panel, "local", kButtonPush);
  TButton* screen = AddButton(panel, "screen", kButtonPush);
  screen->SetOptions(kSetToScreen);
  mLog.clear();
  local->Fire();
  screen->Fire();
  Manager().DrainQueue();
  EXPECT_EQ(mLog, (Notes{"msg3:local:panel", "msg3:local:dialog", "msg3:screen:root"}));
}

TEST_F(ButtonTest, AnActionThatClosesItsModalEndsTheFiring) {
  for (bool toScreen : {false, true}) {
    SCOPED_TRACE(toScreen);
    auto* dialog = new TRecModal("dialog", &mLog);
    Manager().PushModal(dialog);
    TButton* button = AddButton(dialog, "close", kButtonPush);
    if (toScreen) button->SetOptions(kSetToScreen);
    button->SetAction(new TCallAction([&] { Manager().PopModal(); }));
    mLog.clear();
    EXPECT_TRUE(button->Fire());
    EXPECT_EQ(Clicks().size(), toScreen ? 1u : 0u);
    TPlatformEvent tick{kEventTick, 0, 0, 0, 0};
    Manager().HandleEvent(&tick);  // the dialog goes
  }
  // An action that leaves the stack as it was: the click follows.
  TButton* button = AddButton(mRoot, "stay", kButtonPush);
  int runs = 0;
  button->SetAction(new TCallAction([&] { ++runs; }));
  mLog.clear();
  EXPECT_FALSE(button->Fire());
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(Clicks(), (std::vector<std::string>{"msg3:stay:root"}));
}

TEST_F(ButtonTest, ALuaActionRunsAndTheClickFollows) {
  auto* script = new TWindowScript();
  Manager().AttachScript(script);
  lua_State* L = script->GetState();
  lua_newtable(L);  // any value stands for the command
  TButton* button = AddButton(mRoot, "lua", kButtonPush);
  button->SetAction(new TButton::LuaAction(std::make_unique<TLuaObjectWrapper>(L)));
  mLog.clear();
  EXPECT_TRUE(button->GetAction()->Run(button));
  EXPECT_FALSE(button->Fire());
  // The type-8 messages went to the script, not to the windows.
  EXPECT_EQ(mLog, Notes{});
  EXPECT_EQ(Clicks(), (std::vector<std::string>{"msg3:lua:root"}));
  button->SetAction(nullptr);
  EXPECT_EQ(button->GetAction(), nullptr);
}

TEST_F(ButtonTest, TheLabelIsTheTextWindowNamedLabelAtAnyDepth) {
  TTestTextServices services;
  TButton* button = AddButton(mRoot, "b", kButtonPush);
  EXPECT_STREQ(button->GetLabelText().c_str(), "");
  button->SetLabelText("ignored");  // no label yet
  auto* frame = new TWindow;
  button->AddChild(frame, false);
  auto* label = new TText;
  label->SetName("label");
  const float white[4] = {1, 1, 1, 1};
  ASSERT_TRUE(label->InitText("Play", 100, 30, 0, "round", 10, white));
  frame->AddChild(label, false);
  EXPECT_STREQ(button->GetLabelText().c_str(), "Play");
  button->SetLabelText("Quit");
  EXPECT_STREQ(label->GetText().c_str(), "Quit");
}

TEST_F(ButtonTest, EnterPressesTheVisibleDefaultButton) {
  auto* dialog = new TRecModal("dialog", &mLog);
  Manager().PushModal(dialog);
  auto* panel = new TWindow;
  dialog->AddChild(panel, false);
  TButton* ok = AddButton(panel, "ok", kButtonPush);
  ok->SetOptions(kSetDefault);
  AddButton(dialog, "cancel", kButtonPush);
  mLog.clear();
  TPlatformEvent enter{kEventChar, 13, 0, 0, 0};
  Manager().HandleEvent(&enter);
  Manager().DrainQueue();
  // The click is queued; the Enter message still goes out, as the button left the dialog up.
  EXPECT_EQ(mLog, (Notes{"msg2::dialog", "msg3:ok:dialog"}));
  ok->ClearFlags(kWindowVisible);
  mLog.clear();
  Manager().HandleEvent(&enter);
  Manager().DrainQueue();
  EXPECT_EQ(mLog, (Notes{"msg2::dialog"}));
  // A default button whose action closes the dialog takes the key whole.
  ok->AddFlags(kWindowVisible);
  ok->SetAction(new TCallAction([&] { Manager().PopModal(); }));
  mLog.clear();
  Manager().HandleEvent(&enter);
  Manager().DrainQueue();
  EXPECT_EQ(mLog, (Notes{"focus:root"}));
}

TEST_F(ButtonTest, TextLinksFireTheButtonTheyName) {
  auto* text = new TLinkText;
  mRoot->AddChild(text, false);
  AddButton(mRoot, "go", kButtonPush);
  auto* plain = new TWindow;
  plain->SetName("plain");
  mRoot->AddChild(plain, false);
  EXPECT_TRUE(text->FireLinkCommand("go"));
  EXPECT_FALSE(text->FireLinkCommand("plain"));
  EXPECT_FALSE(text->FireLinkCommand("missing"));
  EXPECT_EQ(Clicks(), (std::vector<std::string>{"msg3:go:root"}));
}

}  // namespace
