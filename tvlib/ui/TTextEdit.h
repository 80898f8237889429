// The one-line text entry (player and hiscore names): a text window that shows its own plain
// text, typed characters inserted at the caret, Backspace, the left and right keys, Ctrl+V or
// Insert pasting the clipboard over the whole text, and Tab handing the focus to the next
// text edit of the same screen. Each handled character is reported with a type-7 message
// carrying the edit's name. In password mode one "*" stands for each character.
//
// The focused edit blinks its caret, the mark-up tag "<cursor>", shown in the second half of
// every 800 ms of its blink clock. The plain text is shown literally: "<" and "\" are escaped
// in the displayed copy only, so the text keeps its bytes and never becomes mark-up. The caret
// moves and deletes whole UTF-8 sequences; typing and pasting take the characters the fonts
// show, printable ASCII and Latin-1 (kept as UTF-8), and refuse every other one whole. The
// length limit counts characters. Needs the window manager (focus, messages) and the platform (the
// clipboard, the clock). UI thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "tvlib/core/TClock.h"
#include "tvlib/core/TString.h"
#include "tvlib/ui/TText.h"

// Kinds of edit that TTextEdit::Validate is asked about.
inline constexpr int kEditInsert = 0;
inline constexpr int kEditDeleteOrMove = 1;
inline constexpr int kEditEnter = 2;
inline constexpr int kEditTab = 3;
inline constexpr int kEditPaste = 4;
inline constexpr int kEditRefused = 5;  // at the start, at the end or full

class TTextEdit : public TText {
 public:
  // The text edits of one screen in tab order; each member holds a reference.
  using Ring = std::vector<TTextEdit*>;

  TTextEdit();
  ~TTextEdit() override;

  static TWindow* Create();
  static TWindowClassId GetClassId();
  bool IsKindOf(TWindowClassId id) const override;
  // The window as a text edit, or null when it is none.
  static TTextEdit* CastToTextEdit(TWindow* window);

  // Starts the caret blink and joins the tab ring of the first other text edit found in the
  // top modal window's tree (a ring of its own when there is none). True.
  bool Init() override;
  // The blink: refreshes the display. True.
  bool Animate() override;
  bool OnChar(int character) override;
  bool OnKeyDown(int key, uint32_t modifiers) override;

  // The plain text; setting it puts the caret at its end.
  void SetText(const TString& text) override;
  TString GetText() const override;
  void SetMaxLength(int length) { mMaxLength = length; }
  int GetMaxLength() const { return mMaxLength; }
  // Characters that typing ignores and pasting removes.
  void SetExcluded(const TString& characters);
  void SetPassword(bool password);
  // While not editable, characters are ignored and no caret is shown.
  void SetEditable(bool editable);
  int GetCaret() const { return mCaret; }
  const std::shared_ptr<Ring>& GetRing() const { return mRing; }
  TClock& GetBlinkClock() { return mBlinkClock; }

  // Whether an edit of `kind` (kEdit*) may happen; `character` is the one concerned. Inserts
  // are allowed below the length limit (a refusal is reported as kEditRefused first), deletes,
  // caret moves and pastes always; Enter, Tab and refused edits are left to others.
  virtual bool Validate(int kind, int character);

 private:
  // Rebuilds the displayed mark-up from the text, the caret and the blink phase.
  void Refresh();
  void PostChange();
  bool IsExcluded(uint32_t code) const;
  void FocusNextInRing();

  int mMaxLength = 10;
  std::shared_ptr<Ring> mRing;
  TString mText;
  int mCaret = 0;  // a byte index at the start of a character
  bool mEditable = true;
  bool mPassword = false;
  bool mCaretShown = false;
  TString mExcluded;
  TClock mBlinkClock;
};
