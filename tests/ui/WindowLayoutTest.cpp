// Layout scripts building window trees: coordinate codes, parents growing to hold their
// children, styles through "parent" chains, localised labels, buttons with their looks and
// commands, window types by name and windows their parents refuse.
#include <gtest/gtest.h>

#include <string>

#include "tests/ui/WindowScriptFixture.h"
#include "tvlib/core/TStringTable.h"
#include "tvlib/ui/TButton.h"
#include "tvlib/ui/TText.h"
#include "tvlib/ui/TTextBlock.h"
#include "tvlib/ui/TTextEdit.h"
#include "tvlib/ui/TWindowPlacement.h"

namespace {

struct AxisCase {
  const char* what;
  int align, position, size;
  int wantPosition, wantSize;
};

TEST(WindowPlacement, CoordinateCodesOfOneAxis) {
  const int extent = 800;
  const AxisCase cases[] = {
      {"plain", kPlaceNear, 10, 50, 10, 50},
      {"centred", kPlaceNear, 80000, 200, 300, 200},
      {"centred plus offset", kPlaceNear, 80000 + 15, 200, 315, 200},
      {"centred minus offset", kPlaceNear, 80000 - 15, 200, 285, 200},
      {"from the far edge", kPlaceNear, 160000 - 30, 20, 770, 20},
      {"negative position", kPlaceNear, -10, 5, 790, 5},
      {"fill less a margin", kPlaceNear, 0, 160000 - 20, 0, 780},
      {"fill from a position", kPlaceNear, 100, 160000, 100, 700},
      {"fill from a negative position", kPlaceNear, -100, 160000, 700, 100},
      {"backward size", kPlaceNear, 500, -100, 400, 100},
      {"backward from the far edge", kPlaceNear, 160000, -100, 700, 100},
      {"centred fill, margin inside", kPlaceNear, 80000 + 10, 160000 - 40, 20, 740},
      {"centred fill, margin outside", kPlaceNear, 80000 - 10, 160000 - 40, 0, 740},
      {"aligned on its centre", kPlaceCentre, 400, 100, 350, 100},
      {"aligned on its far edge", kPlaceFar, 400, 100, 300, 100},
      {"very negative size fills", kPlaceNear, 10, -(160000 - 20), 10, 770},
  };
  for (const AxisCase& c : cases) {
    int position = c.position;
    int size = c.size;
    ResolveAxis(c.align, &extent, &position, &size);
    EXPECT_EQ(position, c.wantPosition) << c.what;
    EXPECT_EQ(size, c.wantSize) << c.what;
  }
  int position = 80000;
  int size = 100;
  ResolveAxis(kPlaceNear, nullptr, &position, &size);  // no parent: nothing to resolve against
  EXPECT_EQ(position, 80000);
}

class WindowLayoutTest : public WindowScriptFixture {};

TEST_F(WindowLayoutTest, TablesBuildNestedWindowsPlacedByTheirCodes) {
  Run("MakeDialog{ Window{ name = 'panel', x = kCenter, y = kCenter, w = 200, h = 100,"
      "  Window{ name = 'right', x = -10, y = 0, w = 10, h = kMax - 20 },"
      "  Window{ name = 'low', x = 0, y = kMax - 10, w = 20, h = 10 } },"
      "  Window{ name = 'sibling', x = 1, y = 2, w = 3, h = 4 } }"
      "Note(gDialogWidth .. 'x' .. gDialogHeight)");
  TWindow* panel = Find("panel");
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->GetParent(), mRoot);
  EXPECT_TRUE(SameRect(panel->GetRect(), TRect{300, 250, 500, 350}));
  EXPECT_TRUE(SameRect(Find("right")->GetRect(), TRect{190, 0, 200, 80}));
  EXPECT_TRUE(SameRect(Find("low")->GetRect(), TRect{0, 90, 20, 100}));
  EXPECT_EQ(Find("right")->GetParent(), panel);
  EXPECT_EQ(Find("sibling")->GetParent(), mRoot);  // the panel was popped after its children
  EXPECT_EQ(Notes(), "3x4;");
  EXPECT_EQ(mScript->GetParents(), std::vector<TWindow*>{mRoot});
}

TEST_F(WindowLayoutTest, ALayoutFileRunsInsideTheGivenParent) {
  WriteAsset("scripts/part.lua",
             "MakeDialog{ Window{ name = 'part', x = -20, y = 0, w = 20, h = 5 } }");
  auto* holder = new TWindow;
  holder->SetSize(100, 100);
  mRoot->AddChild(holder, false);
  EXPECT_TRUE(Manager().RunWindowScript(holder, "assets/scripts/part.lua"));
  EXPECT_EQ(Find("part")->GetParent(), holder);
  EXPECT_TRUE(SameRect(Find("part")->GetRect(), TRect{80, 0, 100, 5}));
  EXPECT_EQ(mScript->GetParents(), std::vector<TWindow*>{mRoot});
  EXPECT_FALSE(Manager().RunWindowScript(holder, "assets/scripts/none.lua"));
  EXPECT_EQ(mScript->GetParents(), std::vector<TWindow*>{mRoot});
  EXPECT_NE(Log().find("no layout script 'assets/scripts/none.lua'"), std::string::npos) << Log();
}

TEST_F(WindowLayoutTest, ParentsGrowToHoldTheirChildren) {
  Run("MakeDialog{ Window{ name = 'box', x = 5, y = 5, Window{ x = 10, y = 0, w = 300, h = 20 } },"
      "  Window{ name = 'small', x = 0, y = 0, w = 50, h = 50,"
      "    Window{ x = 40, y = 45, w = 30, h = 30 } } }");
  // A parent without a size is widened to x + w of its first child.
  EXPECT_EQ(Find("box")->GetWidth(), 310);
  EXPECT_EQ(Find("box")->GetHeight(), 20);
  // A child reaching past the edge grows its parent.
  EXPECT_TRUE(SameRect(Find("small")->GetRect(), TRect{0, 0, 70, 75}));
}

TEST_F(WindowLayoutTest, StylesFollowTheParentChainAndEndWithTheirGroup) {
  Run("local base = { h = 30 }"
      "MakeDialog{ SetStyle(base), AppendStyle{ w = 40 },"
      "  Window{ name = 'styled', x = 0, y = 0 },"
      "  Group{ AppendStyle{ w = 7 }, Window{ name = 'inner', x = 0, y = 0 } },"
      "  Window{ name = 'after', x = 0, y = 0 } }"
      "Note(tostring(gCurrentDefaultStyle.h))"
      "gCurrentDefaultStyle = { parent = { font = 'F' } }"
      "Note(GetTag({}, 'font'))"
      "Note(tostring(GetTag({ font = 'own' }, 'font')))");
  EXPECT_TRUE(SameRect(Find("styled")->GetRect(), TRect{0, 0, 40, 30}));
  EXPECT_TRUE(SameRect(Find("inner")->GetRect(), TRect{0, 0, 7, 30}));
  EXPECT_TRUE(SameRect(Find("after")->GetRect(), TRect{0, 0, 40, 30}));  // the group's style ended
  EXPECT_EQ(Notes(), "nil;F;own;");  // and the dialog's styles ended with it
}

TEST_F(WindowLayoutTest, LabelsAreLocalisedThroughTheStringTable) {
  mData.stringTable = std::make_unique<TStringTable>();
  const std::string workbook =
      "<Workbook><Table><Row><Cell><Data>play_label</Data></Cell>"
      "<Cell><Data>Let us play</Data></Cell></Row></Table></Workbook>";
  mData.stringTable->LoadBuffer(workbook.data(), workbook.size());
  struct Case {
    const char* label;
    const char* shown;
  };
  const Case cases[] = {{"#Play", "Play"}, {"3.5", "3.5"}, {"play_label", "Let us play"}};
  for (bool localize : {false, true}) {
    Manager().SetLocalizeLabels(localize);
    for (const Case& c : cases) {
      Run(("MakeDialog{ Text{ name = 't', label = '" + std::string(c.label) +
           "', font = { 'round', 10, { 1, 1, 1, 1 } }, x = 0, y = 0, w = 100, h = 20 } }"
           "Note(GetLabel('t')) DestroyWindow('t')")
              .c_str());
      Tick();
    }
  }
  EXPECT_EQ(Notes(), "#Play;3.5;play_label;Play;3.5;Let us play;");
}

TEST_F(WindowLayoutTest, TextErrorsAndEmptyTextWindows) {
  Run("MakeDialog{ Text{ name = 'nameless', font = { '', 10 }, w = 10, h = 10 } }");
  EXPECT_NE(Log().find("Font error: Font has no name!"), std::string::npos);
  Run("MakeDialog{ Text{ name = 'flat', font = { 'round', 0 }, w = 10, h = 10 } }");
  EXPECT_NE(Log().find("Font error: Font has zero height!"), std::string::npos);
  EXPECT_EQ(Find("nameless"), nullptr);
  EXPECT_EQ(Find("flat"), nullptr);
  Run("MakeDialog{ Window{ name = 'zero', x = 0, y = 0, w = 0, h = 0,"
      "  Text{ name = 'empty', label = 'hi', font = { 'round', 10 }, w = 0, h = 0 } } }"
      "Note(GetLabel('empty')) Note(GetLabel('zero')) Note(GetLabel('none'))");
  EXPECT_NE(Log().find("ERROR: Attempting to create text window of size(0,0): named 'empty', "
                       "label 'hi'"),
            std::string::npos);
  EXPECT_EQ(Notes(), ";zero_is_not_a_TText_window_or_TButton;none_is_not_found;");
}

// A window that refuses to be added (its Init fails); counts its deletions.
int gRefusedDeleted = 0;
class TRefusingWindow : public TWindow {
 public:
  ~TRefusingWindow() override { ++gRefusedDeleted; }
  static TWindow* Create() { return new TRefusingWindow; }
  bool Init() override { return false; }
};

TEST_F(WindowLayoutTest, ARefusedWindowIsDeletedWithoutChildrenAndKeepsItsParent) {
  gRefusedDeleted = 0;
  Manager().AddWindowType("Refuser", &TRefusingWindow::Create);
  Run("MakeDialog{ Window{ name = 'outer', x = 0, y = 0, w = 100, h = 100,"
      "  Refuser{ name = 'bad', Window{ name = 'child', w = 5, h = 5 } },"
      "  Window{ name = 'after', w = 5, h = 5 } },"
      "  Window{ name = 'top', w = 5, h = 5 } }"
      "Note(tostring(Refuser{ name = 'again' }()))");
  EXPECT_EQ(gRefusedDeleted, 2);
  EXPECT_EQ(Find("bad"), nullptr);
  EXPECT_EQ(Find("child"), nullptr);
  EXPECT_EQ(Find("after")->GetParent(), Find("outer"));
  EXPECT_EQ(Find("top")->GetParent(), mRoot);
  EXPECT_EQ(Notes(), "false;");
}

// A window of a registered type that notes when it is told it was created and focused.
class TNotingWindow : public TWindow {
 public:
  static TWindow* Create() { return new TNotingWindow; }
  void OnCreated() override {
    NoteFromScript(TString::Format("created %s %dx%d", GetName().c_str(), GetWidth(), GetHeight()));
  }
  void OnFocus(TWindow* /*previous*/) override { NoteFromScript(TString("focus ") + GetName()); }
};

TEST_F(WindowLayoutTest, WindowTypesByNameAndFactories) {
  Manager().AddWindowType("Panel", &TNotingWindow::Create);
  Run("MakeDialog{ Panel{ name = 'typed', x = 0, y = 0, w = 9, h = 9,"
      "  Window{ name = 'inside', w = 1, h = 1 } },"
      "  Window{ name = 'fallback', factory = 'nothing', w = 2, h = 2 },"
      "  XSellWindow{ name = 'xsell', w = 3, h = 3 } }"
      "RealSetFocus('typed')");
  // Told once it is set up from its table, and once it has the focus.
  EXPECT_EQ(Notes(), "created typed 9x9;focus typed;");
  EXPECT_EQ(Manager().GetFocus(), Find("typed"));
  EXPECT_EQ(Find("inside")->GetParent(), Find("typed"));
  EXPECT_NE(Find("fallback"), nullptr);
  EXPECT_NE(Find("xsell"), nullptr);
  EXPECT_NE(Manager().GetFactory("_button"), nullptr);
  EXPECT_NE(Manager().GetFactory("_text"), nullptr);
  EXPECT_NE(Manager().GetFactory("_textedit"), nullptr);
  EXPECT_EQ(Manager().GetFactory("_window"), nullptr);
}

TEST_F(WindowLayoutTest, ButtonsTakeTheirKindOptionsLabelAndLooks) {
  Run("MakeDialog{ BeginGroup(), Button{ name = 'radio', type = kRadio, on = true,"
      "    x = 0, y = 0, w = 60, h = 20, label = 'Pick', font = { 'round', 10, { 1, 1, 1, 1 } } },"
      "  Button{ name = 'pics', graphics = { 'a.png', 'b.png', 'c.png' }, close = true,"
      "    default = true, sendToParent = true, x = 0, y = 30, w = 10, h = 10 } }"
      "Note(GetLabel('radio')) SetLabel('radio', 'ignored') Note(GetLabel('radio'))");
  TButton* radio = TButton::CastToButton(Find("radio"));
  ASSERT_NE(radio, nullptr);
  EXPECT_EQ(radio->GetType(), kButtonRadio);
  EXPECT_TRUE(radio->IsChecked());
  EXPECT_TRUE(radio->GetFlags() & kWindowRadioStart);
  EXPECT_STREQ(radio->GetLabelText().c_str(), "Pick");
  // The label joined every look: it stays visible whatever layer the state shows.
  TWindow* label = radio->FindChild("label", -1);
  ASSERT_NE(label, nullptr);
  for (int state : {kButtonIdle, kButtonHover, kButtonPressed}) {
    radio->SetState(state);
    EXPECT_TRUE(label->IsVisible()) << state;
  }
  TButton* pics = TButton::CastToButton(Find("pics"));
  ASSERT_NE(pics, nullptr);
  EXPECT_EQ(pics->GetOptions(), kButtonReturnValue | kButtonDefault | kButtonToScreen);
  for (int layer = 0; layer < 3; ++layer) {
    ASSERT_EQ(pics->GetLayerChildren(layer).size(), 1u);
    EXPECT_STREQ(pics->GetLayerChildren(layer)[0]->GetName().c_str(),
                 TString::Format("image%d", layer + 1).c_str());
  }
  EXPECT_EQ(pics->GetLayer(), 0);
  EXPECT_TRUE(pics->FindChild("image1", 1)->IsVisible());
  EXPECT_FALSE(pics->FindChild("image2", 1)->IsVisible());
  EXPECT_EQ(Notes(), "Pick;Pick;");  // a button's label is not a text window's
}

TEST_F(WindowLayoutTest, TextEditsTakeTheirLimitsAndPasswordMode) {
  Run("MakeDialog{ TextEdit{ name = 'entry', label = 'abc', length = 4, password = true,"
      "  ignore = 'z', font = { 'round', 10, { 1, 1, 1, 1 } }, x = 0, y = 0, w = 100, h = 20 } }");
  auto* edit = static_cast<TTextEdit*>(Find("entry"));
  ASSERT_TRUE(edit && edit->IsKindOf(TTextEdit::GetClassId()));
  EXPECT_EQ(edit->GetMaxLength(), 4);
  EXPECT_STREQ(edit->GetText().c_str(), "abc");
  EXPECT_STREQ(edit->GetBlock()->GetText().c_str(), "***");  // shown as stars
  edit->OnChar('z');
  edit->OnChar('d');
  edit->OnChar('e');
  EXPECT_STREQ(edit->GetText().c_str(), "abcd");
}

TEST_F(WindowLayoutTest, WindowFunctionsActOnNamedWindows) {
  Run("MakeDialog{ Window{ name = 'a', x = 0, y = 0, w = 50, h = 50 },"
      "  Button{ name = 'b', x = 0, y = 60, w = 10, h = 10 } }"
      "SetPosition('a', kCenter, -60) RealSetFocus('b')"
      "SetCommand('b', function() Note('command') end)"
      "Note(tostring(StringToClipboard('copied')) .. ' ' .. GetTimer())"
      "Note(tostring(ImageLoaded('a'))) DestroyWindow('a')");
  EXPECT_TRUE(SameRect(Find("a")->GetRect(), TRect{375, 540, 425, 590}));
  EXPECT_EQ(Manager().GetFocus(), Find("b"));
  EXPECT_EQ(Platform().GetClipboardText(), TString("copied"));
  EXPECT_EQ(Notes(), "true " + std::to_string(TPlatform::GetTime()) + ";false;");
  Tick();
  EXPECT_EQ(Find("a"), nullptr);
  TButton::CastToButton(Find("b"))->Fire();
  Run("return function() WaitForMessage(nil, true) end");  // a queued command runs after a wait
  Tick();                                                  // the click wakes it
  EXPECT_EQ(Notes(), "true " + std::to_string(TPlatform::GetTime()) + ";false;command;");
}

}  // namespace
