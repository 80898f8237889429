// The credits window (window type "CreditsWindow"): the credits file in three columns of
// vector-font text (roles, names, and full-width headings with the heading colour's mark-up),
// standing still for kHoldMs and then scrolling upwards by one copy of the text every
// kScrollPeriodMs, endlessly, inside the viewport kViewport. Each column is laid out twice
// over, so the scroll starts over without a jump. A task of the top modal window redraws it
// every 20 ms from its first draw.
//
// Style keys, read when the layout script creates it: "font" (empty: the default font),
// "fontsize" (16; a size of 0 or less is 16 too), "fontcolor" and "headercolor" (white) and
// "file", the credits file, a plain file of the current directory (CreditsText.h). A file
// that does not open scrolls empty lines. PostCreate writes the program's version into the
// text "version" of the top modal window. UI thread only.
#pragma once

#include <cstdint>
#include <memory>

#include "tvlib/core/TRect.h"
#include "tvlib/core/TString.h"
#include "tvlib/ui/TWindow.h"

class TTextBlock;

class TCredits : public TWindow {
 public:
  static constexpr int kDefaultFontSize = 16;
  static constexpr uint32_t kHoldMs = 8000;
  static constexpr uint32_t kScrollPeriodMs = 30000;
  static constexpr uint32_t kRedrawMs = 20;
  // The height the closing empty lines fill and each block's box height.
  static constexpr int kBlockHeight = 350;
  static constexpr int kNameWidth = 110;
  static constexpr int kHeadingWidth = 410;
  static constexpr TRect kViewport{20, 135, 770, 485};
  // The columns' left and right edges on the screen.
  static constexpr int kLeftColumn[2] = {190, 255};
  static constexpr int kRightColumn[2] = {495, 560};
  static constexpr int kHeadingColumn[2] = {190, 560};

  // Reads the style.
  TCredits();
  ~TCredits() override;

  static TWindow* Create();
  static TWindowClassId GetClassId();
  bool IsKindOf(TWindowClassId id) const override;

  // Reads the credits file and lays the columns out.
  bool Init() override;
  void PostCreate() override;
  void Draw() override;

  // The scroll offset in pixels `elapsed` ms after the first draw.
  int64_t ScrollOffset(uint32_t elapsed) const;
  // One copy of the text's height, the distance of one scroll period.
  int GetScrollHeight() const { return mScrollHeight; }
  int GetFontSize() const { return mFontSize; }
  const TString& GetHeadingColour() const { return mHeadingColour; }
  // 0 left, 1 right, 2 headings; null before Init.
  TTextBlock* GetBlock(int column) const;

 private:
  class TRedrawTask;

  TString mFont;
  int mFontSize = kDefaultFontSize;
  float mFontColour[4] = {1, 1, 1, 1};
  TString mHeadingColour;
  TString mFile;
  std::unique_ptr<TTextBlock> mBlocks[3];
  int mScrollHeight = 0;
  bool mStarted = false;
  uint32_t mStartTime = 0;
  // The redraw task sees through this whether the window still lives.
  std::shared_ptr<TCredits*> mSelf;
};
