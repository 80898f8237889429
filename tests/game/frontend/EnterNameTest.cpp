// The name entry: OK shown only while there is a name, one key click per change, and the name
// field keeping typed and pasted Latin-1 characters while refusing every other one.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/game/frontend/MenuScreenFixture.h"
#include "tvlib/platform/headless/THeadlessWindowBackend.h"
#include "tvlib/ui/TTextEdit.h"

namespace {

constexpr char kKeyClick[] = "audio/sfx/keystroke.ogg";
constexpr uint32_t kBackspace = 8;
constexpr uint32_t kKeyV = 86;

class EnterNameTest : public MenuScreenTest {
 protected:
  TEnterName* OpenEntry() {
    Open("scripts/entername.lua");
    return Find<TEnterName>("enternamewindow");
  }
  TTextEdit* Edit() { return Find<TTextEdit>("nameedit"); }
  std::string Name() { return Edit()->GetText().c_str(); }
  bool OkShown() { return Shows(Button("enterok")); }
};

TEST_F(EnterNameTest, OkFollowsTheNameAndEveryChangeClicks) {
  ASSERT_NE(OpenEntry(), nullptr);
  EXPECT_FALSE(Logged("#####")) << Log();
  ASSERT_NE(Edit(), nullptr);
  EXPECT_EQ(Manager().GetFocus(), Edit());
  EXPECT_FALSE(OkShown());
  const int before = Plays(kKeyClick);
  Type({'Z'});
  EXPECT_TRUE(OkShown());
  Type({'o', 0xEB});  // "ë" is Latin-1
  EXPECT_EQ(Name(), "Zo\xC3\xAB");
  EXPECT_EQ(Plays(kKeyClick) - before, 3);
  Type({kBackspace, kBackspace});
  EXPECT_TRUE(OkShown());
  Type({kBackspace});
  EXPECT_EQ(Name(), "");
  EXPECT_FALSE(OkShown());
  EXPECT_EQ(Plays(kKeyClick) - before, 6);
}

TEST_F(EnterNameTest, CharactersTheFontsCannotShowAreRefusedWhole) {
  ASSERT_NE(OpenEntry(), nullptr);
  const int before = Plays(kKeyClick);
  struct Case {
    uint32_t code;
    const char* kept;  // the name after it, typed after "A"
  };
  const Case cases[] = {
      {0x141, "A"},         // "Ł": never its low byte "A"
      {0x4E2D, "A"},        // a CJK character whose low byte is "-"
      {0x1F600, "A"},       // beyond the basic plane
      {0x85, "A"},          // a C1 control
      {0x7F, "A"},          // DEL
      {0xE9, "A\xC3\xA9"},  // "é"
      {0xA0, "A\xC2\xA0"},  // no-break space
      {0xFF, "A\xC3\xBF"},  // "ÿ"
      {'<', "A<"},          // kept as typed, shown literally
  };
  int changes = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    Edit()->SetText("A");
    Type({c.code});
    EXPECT_EQ(Name(), c.kept);
    if (Name() != "A") ++changes;
  }
  EXPECT_EQ(Plays(kKeyClick) - before, changes);
}

// A name pasted into the empty field shows OK as a typed one does, and clicks once.
TEST_F(EnterNameTest, APastedNameShowsOk) {
  ASSERT_NE(OpenEntry(), nullptr);
  ASSERT_FALSE(OkShown());
  const int before = Plays(kKeyClick);
  // The clipboard is the window's.
  platform->CreateMainWindow(std::make_unique<THeadlessWindowBackend>());
  ASSERT_TRUE(platform->SetClipboardText("Bj\xC3\xB6rk \xE2\x98\x85"));  // "Björk ★"
  Send(kEventKeyDown, 0, 0, kKeyV, kKeyModCtrl);
  EXPECT_EQ(Name(), "Bj\xC3\xB6rk ");
  EXPECT_TRUE(OkShown());
  EXPECT_EQ(Plays(kKeyClick) - before, 1);
}

TEST_F(EnterNameTest, ANameGivenByTheCallerShowsOkAtOnce) {
  Lua("PushModal('entertest') gDialogTable = { name = 'Ada' } ReadFile('scripts/entername.lua')");
  EXPECT_EQ(Name(), "Ada");
  EXPECT_TRUE(OkShown());
}

}  // namespace
