// The text edit's typing, caret, blink, paste and tab ring.
#include "tvlib/ui/TTextEdit.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "tvlib/core/TPlatform.h"
#include "tvlib/platform/window/Utf8.h"
#include "tvlib/ui/TMessage.h"
#include "tvlib/ui/TWindowManager.h"
#include "tvlib/ui/TWindowSpider.h"

namespace {

constexpr int kBackspace = 8;
constexpr int kTab = 9;
constexpr int kEnter = 13;
constexpr int kFirstPrintable = 32;
constexpr int kDelete = 127;
constexpr int kFirstLatin1Printable = 0xA0;
constexpr int kLastLatin1 = 0xFF;

constexpr int kKeyLeft = 37;
constexpr int kKeyRight = 39;
constexpr int kKeyInsert = 45;
constexpr int kKeyV = 86;

// The caret is off for the first 401 ms of each period and on for the rest.
constexpr uint32_t kBlinkPeriod = 800;
constexpr uint32_t kCaretOnFrom = 401;
constexpr uint32_t kBlinkStep = 200;

constexpr char kCaretTag[] = "<cursor>";

bool IsContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The characters the fonts show are typed or pasted: printable ASCII and the printable part
// of Latin-1 (U+00A0 to U+00FF). Control characters, DEL and the C1 controls are not.
bool IsTypable(uint32_t code) {
  return (code >= kFirstPrintable && code < kDelete) ||
         (code >= kFirstLatin1Printable && code <= kLastLatin1);
}

// A Latin-1 character as the UTF-8 the text holds.
std::string EncodeLatin1(uint32_t code) {
  if (code < 0x80) return std::string(1, static_cast<char>(code));
  return {static_cast<char>(0xC0 | (code >> 6)), static_cast<char>(0x80 | (code & 0x3F))};
}

int PreviousCharStart(std::string_view text, int pos) {
  do {
    --pos;
  } while (pos > 0 && IsContinuationByte(text[pos]));
  return pos;
}

int NextCharStart(std::string_view text, int pos) {
  const int length = static_cast<int>(text.size());
  do {
    ++pos;
  } while (pos < length && IsContinuationByte(text[pos]));
  return pos;
}

int CountChars(std::string_view text) {
  return static_cast<int>(
      std::count_if(text.begin(), text.end(), [](char c) { return !IsContinuationByte(c); }));
}

// The text as mark-up that shows it literally.
std::string Escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '<' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

std::string_view View(const TString& text) {
  return {text.c_str(), static_cast<size_t>(text.Length())};
}

// Depth first through a tree for a text edit other than the one looking.
class TextSpider : public TWindowSpider {
 public:
  explicit TextSpider(TTextEdit* looking) : mLooking(looking) {}
  bool Visit(TWindow* window) override {
    TTextEdit* edit = TTextEdit::CastToTextEdit(window);
    if (edit && edit != mLooking) {
      mFound = edit;
      return false;
    }
    return window->ForEachChild(this);
  }
  TTextEdit* GetFound() const { return mFound; }

 private:
  TTextEdit* mLooking;
  TTextEdit* mFound = nullptr;
};

}  // namespace

TTextEdit::TTextEdit() {
  AddFlags(kWindowFocusHolder);
  mBlinkClock.Reset();
  mBlinkClock.Start();
}

TTextEdit::~TTextEdit() {
  if (mRing) std::erase(*mRing, this);
}

TWindow* TTextEdit::Create() {
  return new TTextEdit;
}

TWindowClassId TTextEdit::GetClassId() {
  return reinterpret_cast<TWindowClassId>(&TTextEdit::Create);
}

bool TTextEdit::IsKindOf(TWindowClassId id) const {
  return id == GetClassId() || TText::IsKindOf(id);
}

TTextEdit* TTextEdit::CastToTextEdit(TWindow* window) {
  return window && window->IsKindOf(GetClassId()) ? static_cast<TTextEdit*>(window) : nullptr;
}

bool TTextEdit::Init() {
  SetAnimPeriod(kBlinkStep, true, true, false);
  if (mRing) return true;  // already in its screen's ring
  TWindowManager* manager = TWindowManager::Get();
  TModalWindow* top = manager ? manager->GetTopModal() : nullptr;
  TextSpider spider(this);
  if (top) top->ForEachChild(&spider);
  if (TTextEdit* other = spider.GetFound(); other && other->mRing) {
    mRing = other->mRing;
  } else {
    mRing = std::make_shared<Ring>();
  }
  mRing->push_back(this);
  return true;
}

bool TTextEdit::Animate() {
  Refresh();
  return true;
}

void TTextEdit::SetText(const TString& text) {
  mText = text;
  mCaret = mText.Length();
  Refresh();
}

TString TTextEdit::GetText() const {
  return mText;
}

void TTextEdit::SetExcluded(const TString& characters) {
  mExcluded = characters;
}

bool TTextEdit::IsExcluded(uint32_t code) const {
  return View(mExcluded).find(EncodeLatin1(code)) != std::string_view::npos;
}

void TTextEdit::SetPassword(bool password) {
  mPassword = password;
  Refresh();
}

void TTextEdit::SetEditable(bool editable) {
  mEditable = editable;
  Refresh();
}

bool TTextEdit::Validate(int kind, int character) {
  switch (kind) {
    case kEditInsert:
      if (CountChars(View(mText)) < mMaxLength) return true;
      Validate(kEditRefused, character);
      return false;
    case kEditDeleteOrMove:
    case kEditPaste:
      return true;
    default:
      return false;
  }
}

void TTextEdit::Refresh() {
  const std::string_view text = View(mText);
  std::string shown(text);
  size_t caret = static_cast<size_t>(mCaret);
  if (mPassword) {
    shown.assign(CountChars(text), '*');
    caret = CountChars(text.substr(0, caret));
  }
  TWindowManager* manager = TWindowManager::Get();
  const bool focused = manager && manager->GetFocus() == this;
  const bool caretOn = focused && mBlinkClock.GetTime() % kBlinkPeriod >= kCaretOnFrom;
  if (caretOn != mCaretShown) {
    mCaretShown = caretOn;
    Invalidate();
  }
  std::string display = Escaped(std::string_view(shown).substr(0, caret));
  if (caretOn && mEditable) display += kCaretTag;
  display += Escaped(std::string_view(shown).substr(caret));
  TText::SetText(TString(display.data(), static_cast<int>(display.size())));
}

void TTextEdit::PostChange() {
  if (TWindowManager* manager = TWindowManager::Get())
    manager->PostMessage(new TMessage(kMessageTextEdit, GetName()));
}

void TTextEdit::FocusNextInRing() {
  TWindowManager* manager = TWindowManager::Get();
  if (!manager || !mRing || mRing->empty()) return;
  auto at = std::find(mRing->begin(), mRing->end(), this);
  if (at == mRing->end() || ++at == mRing->end()) at = mRing->begin();
  manager->SetFocus(*at);
}

bool TTextEdit::OnChar(int character) {
  // A character is a Latin-1 code; a negative one is a signed byte of the same code.
  if (character > kLastLatin1) return false;
  const int c = character & kLastLatin1;
  if (!mEditable) return false;
  if (c == kBackspace) {
    if (mCaret == 0) {
      Validate(kEditRefused, c);
      return false;
    }
    if (!Validate(kEditDeleteOrMove, c)) return false;
    std::string text(View(mText));
    const int start = PreviousCharStart(text, mCaret);
    text.erase(start, mCaret - start);
    mText = TString(text.data(), static_cast<int>(text.size()));
    mCaret = start;
    Refresh();
  } else if (c == kTab) {
    if (!Validate(kEditTab, c)) {
      FocusNextInRing();
      return false;
    }
  } else if (c == kEnter) {
    if (!Validate(kEditEnter, c)) return false;
  } else if (!IsTypable(static_cast<uint32_t>(c))) {
    return false;
  } else if (!IsExcluded(static_cast<uint32_t>(c))) {
    if (!Validate(kEditInsert, c)) return false;
    const std::string typed = EncodeLatin1(static_cast<uint32_t>(c));
    std::string text(View(mText));
    text.insert(static_cast<size_t>(mCaret), typed);
    mText = TString(text.data(), static_cast<int>(text.size()));
    mCaret += static_cast<int>(typed.size());
    Refresh();
  }
  PostChange();
  return true;
}

bool TTextEdit::OnKeyDown(int key, uint32_t modifiers) {
  const int k = static_cast<int8_t>(key);
  const std::string_view text = View(mText);
  if (k == kKeyLeft) {
    if (mCaret <= 0) {
      Validate(kEditRefused, k);
      return true;
    }
    if (!Validate(kEditDeleteOrMove, k)) return false;
    mCaret = PreviousCharStart(text, mCaret);
    Refresh();
    return true;
  }
  if (k == kKeyRight) {
    if (mCaret >= mText.Length()) {
      Validate(kEditRefused, k);
      return true;
    }
    if (!Validate(kEditDeleteOrMove, k)) return false;
    mCaret = NextCharStart(text, mCaret);
    Refresh();
    return true;
  }
  const bool paste = (k == kKeyV && (modifiers & kKeyModCtrl)) || k == kKeyInsert;
  if (!paste || !Validate(kEditPaste, 0)) return false;
  TPlatform* platform = TPlatform::GetInstance();
  const TString clipboard = platform ? platform->GetClipboardText() : TString();
  if (clipboard.Length() == 0) return false;
  std::vector<uint32_t> cut =
      DecodeUtf8(clipboard.c_str(), static_cast<size_t>(clipboard.Length()));
  cut.resize(std::min(cut.size(), static_cast<size_t>(std::max(mMaxLength, 0))));
  std::string kept;
  for (uint32_t c : cut) {
    if (IsTypable(c) && !IsExcluded(c)) kept += EncodeLatin1(c);
  }
  SetText(TString(kept.data(), static_cast<int>(kept.size())));
  PostChange();  // once for the whole paste, as for one typed character
  return true;
}
