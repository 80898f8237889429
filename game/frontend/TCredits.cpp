// The credits window: the style, the file laid out in columns, the hold and the scroll.
#include "game/frontend/TCredits.h"

#include <fstream>
#include <iterator>
#include <string>

#include "game/frontend/CreditsText.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/core/TTask.h"
#include "tvlib/ui/ScriptStyle.h"
#include "tvlib/ui/TModalWindow.h"
#include "tvlib/ui/TText.h"
#include "tvlib/ui/TTextBlock.h"
#include "tvlib/ui/TWindowManager.h"
#include "tvlib/ui/TWindowScript.h"

namespace {

constexpr int kCentred = 1;

TString ReadTextFile(const TString& name) {
  if (name.Length() == 0) return TString();
  std::ifstream file(name.c_str(), std::ios::binary);
  if (!file) return TString();
  const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  return TString(text.data(), static_cast<int>(text.size()));
}

TString Twice(const TString& text) {
  return text + text;
}

}  // namespace

// Invalidates the credits window every kRedrawMs while the window lives.
class TCredits::TRedrawTask : public TAnimTask {
 public:
  explicit TRedrawTask(std::weak_ptr<TCredits*> window) : mWindow(std::move(window)) {
    SetPeriod(kRedrawMs, true, true, false);
  }
  bool Animate() override {
    const std::shared_ptr<TCredits*> window = mWindow.lock();
    if (!window) return false;
    (*window)->Invalidate();
    return true;
  }

 private:
  std::weak_ptr<TCredits*> mWindow;
};

TCredits::TCredits() : mSelf(std::make_shared<TCredits*>(this)) {
  const float white[4] = {1, 1, 1, 1};
  TLuaColor heading{1, 1, 1, 1};
  TWindowManager* manager = TWindowManager::Get();
  if (TWindowScript* script = manager ? manager->GetWindowScript() : nullptr) {
    // The table the layout script is creating the window from lies on the stack top.
    mFont = GetStyleString(*script, "font", "");
    mFontSize = static_cast<int>(GetStyleNumber(*script, "fontsize", kDefaultFontSize));
    const TLuaColor font = GetStyleColor(*script, "fontcolor", TLuaColor{1, 1, 1, 1});
    mFontColour[0] = font.r;
    mFontColour[1] = font.g;
    mFontColour[2] = font.b;
    mFontColour[3] = font.a;
    heading = GetStyleColor(*script, "headercolor", heading);
    mFile = GetStyleString(*script, "file", "");
  } else {
    std::copy(white, white + 4, mFontColour);
  }
  // A size of 0 or less would divide by zero below: the default stands in.
  if (mFontSize <= 0) mFontSize = kDefaultFontSize;
  const float headingParts[4] = {heading.r, heading.g, heading.b, heading.a};
  mHeadingColour = CreditsColourText(headingParts);
}

TCredits::~TCredits() = default;

TWindow* TCredits::Create() {
  return new TCredits;
}

TWindowClassId TCredits::GetClassId() {
  return reinterpret_cast<TWindowClassId>(&TCredits::Create);
}

bool TCredits::IsKindOf(TWindowClassId id) const {
  return id == GetClassId() || TWindow::IsKindOf(id);
}

bool TCredits::Init() {
  const TString text = ReadTextFile(mFile);
  TCreditsColumns columns =
      ParseCredits(text.c_str(), static_cast<size_t>(text.Length()), mHeadingColour);
  TString closing;
  for (int i = 0; i < kBlockHeight / mFontSize; ++i) closing += "\n";
  TString* texts[3] = {&columns.left, &columns.right, &columns.headings};
  const int widths[3] = {kNameWidth, kNameWidth, kHeadingWidth};
  for (int i = 0; i < 3; ++i) {
    *texts[i] += closing;
    mBlocks[i].reset(TTextBlock::Create(Twice(*texts[i]), widths[i], kBlockHeight, kCentred, mFont,
                                        mFontSize, mFontColour));
  }
  mScrollHeight = mBlocks[0] ? mBlocks[0]->GetBounds().bottom / 2 : 0;
  mStarted = false;
  return true;
}

void TCredits::PostCreate() {
  TWindowManager* manager = TWindowManager::Get();
  TModalWindow* top = manager ? manager->GetTopModal() : nullptr;
  TText* version = TText::CastToText(top ? top->FindChild("version", -1) : nullptr);
  TPlatform* platform = TPlatform::GetInstance();
  if (version && platform) version->SetText(platform->GetVersionString());
}

TTextBlock* TCredits::GetBlock(int column) const {
  return column >= 0 && column < 3 ? mBlocks[column].get() : nullptr;
}

int64_t TCredits::ScrollOffset(uint32_t elapsed) const {
  // Without a height there is nothing to scroll by (and nothing to take a remainder of).
  if (mScrollHeight <= 0) return 0;
  const int64_t t = elapsed < kHoldMs ? 0 : elapsed - kHoldMs;
  const int64_t h = mScrollHeight;
  return ((t % kScrollPeriodMs) * h / kScrollPeriodMs) % h;
}

void TCredits::Draw() {
  TPlatform* platform = TPlatform::GetInstance();
  if (!platform) return;
  const uint32_t now = TPlatform::GetTime();
  if (!mStarted) {
    mStarted = true;
    mStartTime = now;
    TWindowManager* manager = TWindowManager::Get();
    if (TModalWindow* top = manager ? manager->GetTopModal() : nullptr) {
      top->AddTask(new TRedrawTask(mSelf));
    }
  }
  const int64_t offset = ScrollOffset(now - mStartTime);
  const int firstLine = static_cast<int>(offset / mFontSize);
  const int shift = static_cast<int>(offset % mFontSize);
  platform->PushViewport(kViewport.left, kViewport.top, kViewport.right, kViewport.bottom);
  const bool began = platform->Begin2d();
  const int* edges[3] = {kLeftColumn, kRightColumn, kHeadingColumn};
  for (int i = 0; i < 3; ++i) {
    if (!mBlocks[i]) continue;
    mBlocks[i]->SetFirstLine(firstLine);
    mBlocks[i]->Draw(TRect{edges[i][0], kViewport.top - shift, edges[i][1], kViewport.bottom});
  }
  if (began) platform->End2d();
  platform->PopViewport();
}
