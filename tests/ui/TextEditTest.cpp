// The text edit: length limit, excluded characters, the validation hooks, Backspace and the
// caret keys, paste, the tab ring, the caret's blink phase and the literal display of text.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/app/PlatformFixture.h"
#include "tests/ui/RecordingWindow.h"
#include "tests/ui/TextTestSupport.h"
#include "tvlib/ui/TTextEdit.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

constexpr float kWhite[4] = {1, 1, 1, 1};
constexpr int kLeft = 37, kRight = 39, kInsert = 45, kV = 86;

// Notes every question asked of Validate and answers Enter and Tab as told.
class TAskingEdit : public TTextEdit {
 public:
  bool Validate(int kind, int character) override {
    asked.push_back(std::to_string(kind) + ":" + std::to_string(character));
    if (kind == kEditEnter) return acceptEnter;
    if (kind == kEditTab) return acceptTab;
    return TTextEdit::Validate(kind, character);
  }
  std::vector<std::string> asked;
  bool acceptEnter = false;
  bool acceptTab = false;
};

class TextEditTest : public PlatformTest {
 protected:
  TextEditTest() {
    mRoot = new TRecModal("root", &mLog);
    Manager().SetRootWindow(mRoot);
  }
  ~TextEditTest() override { mData.windowManager.reset(); }
  TWindowManager& Manager() { return *mData.windowManager; }

  template <typename Edit = TTextEdit>
  Edit* AddEdit(TWindow* parent, const char* name) {
    auto* edit = new Edit;
    edit->SetName(name);
    EXPECT_TRUE(edit->InitText("", 200, 20, 0, "round", 10, kWhite));
    parent->AddChild(edit, true);
    return edit;
  }
  // Characters as the platform hands them: one byte each.
  static int Type(TTextEdit* edit, const std::string& keys) {
    int handled = 0;
    for (char c : keys) handled += edit->OnChar(static_cast<unsigned char>(c));
    return handled;
  }
  static void Remove(TWindow* window) {
    window->GetParent()->RemoveChild(window);
    delete window;
  }
  static std::string Shown(TTextEdit* edit) { return edit->TText::GetText().c_str(); }
  // The names of the type-7 messages delivered since the last call.
  std::vector<std::string> Changes() {
    Manager().DrainQueue();
    std::vector<std::string> changes;
    for (const auto& note : mLog) {
      if (note.rfind("msg7:", 0) == 0) changes.push_back(note.substr(5, note.find(':', 5) - 5));
    }
    mLog.clear();
    return changes;
  }

  TTestTextServices mServices;
  Notes mLog;
  TRecModal* mRoot = nullptr;
};

// Typed characters are Latin-1 codes, kept as UTF-8; the limit counts characters.
TEST_F(TextEditTest, TypingKeepsToTheLimitAndTheTypableCharacters) {
  struct Case {
    int limit;
    std::string keys;
    std::string text;
    int handled;
  };
  const Case cases[] = {
      {10, "abcdefghijk", "abcdefghij", 10},  // the eleventh is refused
      {3, "abcd", "abc", 3},
      {0, "a", "", 0},
      {-1, "a", "", 0},
      {10,
       "a\x01\x1F\x7F"
       "b",
       "ab", 2},                                               // control bytes and DEL
      {10, "\xC3\xA9x\xFF", "\xC3\x83\xC2\xA9x\xC3\xBF", 4},   // Latin-1: "Ã©xÿ"
      {10, "a\x80\x85\x9F\xA0", "a\xC2\xA0", 2},               // C1 controls refused
      {3, "\xE9\xE8\xEA\xEB", "\xC3\xA9\xC3\xA8\xC3\xAA", 3},  // "éèê": the fourth refused
      {10, "<b>\\", "<b>\\", 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    auto* edit = AddEdit(mRoot, "name");
    edit->SetMaxLength(c.limit);
    Manager().SetFocus(edit);
    EXPECT_EQ(Type(edit, c.keys), c.handled);
    EXPECT_EQ(edit->GetText().c_str(), c.text);
    EXPECT_EQ(edit->GetCaret(), static_cast<int>(c.text.size()));
    EXPECT_EQ(Changes(), std::vector<std::string>(c.handled, "name"));
    Remove(edit);
  }
}

TEST_F(TextEditTest, ExcludedCharactersAreSwallowedButReported) {
  struct Case {
    std::string excluded, keys, text;
  };
  const Case cases[] = {
      {" ", "a b", "ab"},
      {"<>", "<x>", "x"},
      {"abc", "abcd", "d"},
      {"", "a b", "a b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    auto* edit = AddEdit(mRoot, "e");
    edit->SetExcluded(c.excluded.c_str());
    EXPECT_EQ(Type(edit, c.keys), static_cast<int>(c.keys.size()));
    EXPECT_EQ(edit->GetText().c_str(), c.text);
    EXPECT_EQ(Changes().size(), c.keys.size());
    Remove(edit);
  }
}

TEST_F(TextEditTest, EachEditAsksItsValidationKind) {
  struct Case {
    const char* what;
    std::string start;
    std::function<bool(TAskingEdit*)> act;
    bool answer;
    std::vector<std::string> asked;
    std::string text;
    int caret;
  };
  const Case cases[] = {
      {"insert", "", [](TAskingEdit* e) { return e->OnChar('a'); }, true, {"0:97"}, "a", 1},
      {"insert when full",
       "0123456789",
       [](TAskingEdit* e) { return e->OnChar('a'); },
       false,
       {"0:97", "5:97"},
       "0123456789",
       10},
      {"backspace", "ab", [](TAskingEdit* e) { return e->OnChar(8); }, true, {"1:8"}, "a", 1},
      {"backspace at the start",
       "",
       [](TAskingEdit* e) { return e->OnChar(8); },
       false,
       {"5:8"},
       "",
       0},
      {"enter", "a", [](TAskingEdit* e) { return e->OnChar(13); }, false, {"2:13"}, "a", 1},
      {"left",
       "ab",
       [](TAskingEdit* e) { return e->OnKeyDown(kLeft, 0); },
       true,
       {"1:37"},
       "ab",
       1},
      {"right at the end",
       "ab",
       [](TAskingEdit* e) { return e->OnKeyDown(kRight, 0); },
       true,
       {"5:39"},
       "ab",
       2},
      {"left at the start",
       "",
       [](TAskingEdit* e) { return e->OnKeyDown(kLeft, 0); },
       true,
       {"5:37"},
       "",
       0},
      {"paste",
       "ab",
       [](TAskingEdit* e) { return e->OnKeyDown(kInsert, 0); },
       true,
       {"4:0"},
       "clip",
       4},
      {"other key", "ab", [](TAskingEdit* e) { return e->OnKeyDown(kV, 0); }, false, {}, "ab", 2},
  };
  mBackend->mHasClipboard = true;
  mBackend->mClipboard = "clip";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto* edit = AddEdit<TAskingEdit>(mRoot, "e");
    edit->SetText(c.start.c_str());
    EXPECT_EQ(c.act(edit), c.answer);
    EXPECT_EQ(edit->asked, c.asked);
    EXPECT_EQ(edit->GetText().c_str(), c.text);
    EXPECT_EQ(edit->GetCaret(), c.caret);
    Remove(edit);
  }
}

TEST_F(TextEditTest, EnterBubblesToTheScreenUnlessTheEditTakesIt) {
  auto* edit = AddEdit<TAskingEdit>(mRoot, "e");
  Manager().SetFocus(edit);
  mLog.clear();
  TPlatformEvent enter{kEventChar, 13, 0, 0, 0};
  Manager().HandleEvent(&enter);
  Manager().DrainQueue();
  EXPECT_EQ(mLog, Notes{"msg2::root"});
  mLog.clear();
  edit->acceptEnter = true;
  EXPECT_TRUE(edit->OnChar(13));
  EXPECT_EQ(Changes(), std::vector<std::string>{"e"});
}

TEST_F(TextEditTest, CaretKeysAndBackspaceWorkAtTheCaret) {
  auto* edit = AddEdit(mRoot, "e");
  edit->SetText("abc");
  EXPECT_TRUE(edit->OnKeyDown(kLeft, 0));
  EXPECT_TRUE(edit->OnKeyDown(kLeft, 0));
  EXPECT_TRUE(edit->OnChar(8));
  EXPECT_EQ(edit->GetText(), TString("bc"));
  EXPECT_EQ(edit->GetCaret(), 0);
  EXPECT_FALSE(edit->OnChar(8));
  Type(edit, "x");
  EXPECT_TRUE(edit->OnKeyDown(kRight, 0));
  Type(edit, "y");
  EXPECT_EQ(edit->GetText(), TString("xbyc"));
  EXPECT_EQ(edit->GetCaret(), 3);
  // A text set from outside is stepped and deleted a whole character at a time.
  edit->SetText(
      "a\xC3\xA9"
      "b");
  EXPECT_TRUE(edit->OnKeyDown(kLeft, 0));
  EXPECT_TRUE(edit->OnKeyDown(kLeft, 0));
  EXPECT_EQ(edit->GetCaret(), 1);
  EXPECT_TRUE(edit->OnKeyDown(kRight, 0));
  EXPECT_EQ(edit->GetCaret(), 3);
  EXPECT_TRUE(edit->OnChar(8));
  EXPECT_EQ(edit->GetText(), TString("ab"));
}

// `text` `n` times over.
std::string Times(const std::string& text, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += text;
  return out;
}

TEST_F(TextEditTest, PasteReplacesTheWholeText) {
  struct Case {
    std::string clipboard;
    int key;
    uint32_t modifiers;
    bool answer;
    std::string text;
  };
  const Case cases[] = {
      {"ab\tc", kV, kKeyModCtrl, true, "abc"},
      {"ab\tc", kInsert, kKeyModShift, true, "abc"},
      {"ab\tc", kInsert, 0, true, "abc"},
      {"ab\tc", kV, kKeyModShift, false, "old"},
      {"", kV, kKeyModCtrl, false, "old"},
      {"0123456789abc", kV, kKeyModCtrl, true, "0123456789"},  // cut to the limit
      {"a-b-c", kV, kKeyModCtrl, true, "abc"},                 // excluded
      {"G\xC3\xBC"
       "nter",
       kV, kKeyModCtrl, true,
       "G\xC3\xBC"
       "nter"},                                                                 // Latin-1 kept
      {"\xC5\x81\xC3\xB3\x64\xC5\xBA", kV, kKeyModCtrl, true, "\xC3\xB3\x64"},  // "Łódź": "ód"
      {Times("\xC3\xA9", 11), kV, kKeyModCtrl, true, Times("\xC3\xA9", 10)},    // "é" x 10
      {"a\xFF\xC3", kV, kKeyModCtrl, true, "a"},  // malformed UTF-8 dropped
      {"<b>\\", kV, kKeyModCtrl, true, "<b>\\"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.clipboard);
    auto* edit = AddEdit(mRoot, "e");
    edit->SetExcluded("-");
    edit->SetText("old");
    EXPECT_TRUE(edit->OnKeyDown(kLeft, 0));
    EXPECT_TRUE(mPlatform->SetClipboardText(c.clipboard.c_str()));
    EXPECT_EQ(edit->OnKeyDown(c.key, c.modifiers), c.answer);
    EXPECT_EQ(edit->GetText().c_str(), c.text);
    EXPECT_EQ(edit->GetCaret(), static_cast<int>(c.text.size()) - (c.answer ? 0 : 1));
    // A paste is one change, reported once as a typed character is.
    EXPECT_EQ(Changes(), c.answer ? std::vector<std::string>{"e"} : std::vector<std::string>{});
    Remove(edit);
  }
}

// Typed characters come through the event pump as Unicode code points: one that the 8-bit text
// cannot hold is refused, never typed as the character of its low byte ("Ł", U+0141, is no "A");
// a Latin-1 one is kept.
TEST_F(TextEditTest, CharactersBeyondTheEightBitTextAreRefusedThroughThePump) {
  auto* edit = AddEdit(mRoot, "e");
  Manager().SetFocus(edit);
  for (uint32_t c : {uint32_t{'x'}, 0x141u, 0xE9u, 0x1F600u, 0x2Eu + 0x300u, uint32_t{'y'}})
    Window().InputText(c);
  int characters = 0;
  for (int i = 0; i < 12; ++i) {
    TPlatformEvent event = Next();
    if (event.type != kEventChar) continue;
    ++characters;
    Manager().HandleEvent(&event);
  }
  EXPECT_EQ(characters, 6);
  EXPECT_STREQ(edit->GetText().c_str(), "x\xC3\xA9y");  // "é" (U+00E9) is Latin-1
  EXPECT_EQ(Changes(), (std::vector<std::string>{"e", "e", "e"}));
}

TEST_F(TextEditTest, TabMovesTheFocusRoundTheScreensEdits) {
  auto* first = AddEdit(mRoot, "first");
  auto* panel = new TWindow;
  mRoot->AddChild(panel, false);
  auto* second = AddEdit(panel, "second");
  auto* third = AddEdit(mRoot, "third");
  ASSERT_EQ(first->GetRing(), third->GetRing());
  EXPECT_EQ(*first->GetRing(), (TTextEdit::Ring{first, second, third}));
  Manager().SetFocus(first);
  for (TTextEdit* expected : {second, third, first}) {
    auto* focused = static_cast<TTextEdit*>(Manager().GetFocus());
    EXPECT_FALSE(focused->OnChar(9));
    EXPECT_EQ(Manager().GetFocus(), expected);
  }
  EXPECT_EQ(Changes(), std::vector<std::string>{});

  // A screen on top has a ring of its own; its one edit finds only itself and keeps it.
  auto* dialog = new TRecModal("dialog", &mLog);
  Manager().PushModal(dialog);
  auto* alone = AddEdit(dialog, "alone");
  EXPECT_EQ(*alone->GetRing(), TTextEdit::Ring{alone});
  EXPECT_TRUE(alone->Init());
  EXPECT_EQ(*alone->GetRing(), TTextEdit::Ring{alone});
  Manager().SetFocus(alone);
  EXPECT_FALSE(alone->OnChar(9));
  EXPECT_EQ(Manager().GetFocus(), alone);

  // A deleted edit leaves its ring.
  Remove(second);
  EXPECT_EQ(*first->GetRing(), (TTextEdit::Ring{first, third}));
}

TEST_F(TextEditTest, TheCaretShowsInTheSecondHalfOfEachPeriodWhenFocused) {
  auto* edit = AddEdit(mRoot, "e");
  auto* other = AddEdit(mRoot, "other");
  edit->SetText("ab");
  other->SetText("cd");
  Manager().SetFocus(edit);
  struct Step {
    uint32_t advance;
    bool shown;
  };
  const Step steps[] = {{0, false}, {400, false}, {1, true},   {398, true},
                        {1, false}, {401, true},  {400, false}};
  for (const Step& s : steps) {
    SCOPED_TRACE(edit->GetBlinkClock().GetTime() + s.advance);
    mClock.Advance(s.advance);
    mRoot->RunTasks(kTimerPhase);  // the blink task is due every 200 ms
    EXPECT_TRUE(edit->Animate());
    EXPECT_EQ(Shown(edit), s.shown ? "ab<cursor>" : "ab");
    EXPECT_TRUE(other->Animate());
    EXPECT_EQ(Shown(other), "cd");
  }
  // The blink task alone brings the caret in.
  mClock.Advance(400);
  mRoot->RunTasks(kTimerPhase);
  EXPECT_EQ(Shown(edit), "ab<cursor>");
  // Losing the focus takes the caret away.
  Manager().SetFocus(other);
  EXPECT_TRUE(edit->Animate());
  EXPECT_TRUE(other->Animate());
  EXPECT_EQ(Shown(edit), "ab");
  EXPECT_EQ(Shown(other), "cd<cursor>");
  other->SetEditable(false);
  EXPECT_EQ(Shown(other), "cd");
  EXPECT_FALSE(other->OnChar('x'));
}

TEST_F(TextEditTest, TextIsShownLiterallyAndKeepsItsBytes) {
  struct Case {
    std::string text;
    int leftPresses;
    bool password;
    std::string shown;
  };
  const Case cases[] = {
      {"<b>x", 1, false, "\\<b><cursor>x"},
      {"a\\", 0, false, "a\\\\<cursor>"},
      {"\\<cursor>", 0, false, "\\\\\\<cursor><cursor>"},
      {"a<b", 2, true, "*<cursor>**"},
      {"\xC3\xA9z", 1, true, "*<cursor>*"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    auto* edit = AddEdit(mRoot, "e");
    Manager().SetFocus(edit);
    edit->SetPassword(c.password);
    edit->SetText(c.text.c_str());
    for (int i = 0; i < c.leftPresses; ++i) edit->OnKeyDown(kLeft, 0);
    edit->GetBlinkClock().SetTime(500);
    edit->Animate();
    EXPECT_EQ(Shown(edit), c.shown);
    EXPECT_EQ(edit->GetText().c_str(), c.text);
    Remove(edit);
  }
}

}  // namespace
