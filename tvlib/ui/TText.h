// The text window: a window that owns one text block, draws it in its rectangle, scrolls it
// and turns a click on a link of its mark-up into the command of the button named by the
// link's id.
//
// Needs the text services for drawing and the platform for the 2-D bracket. Until the window
// tree gives it a modal ancestor to search, a link command finds no button and is logged.
#pragma once

#include "tvlib/core/TPoint.h"
#include "tvlib/core/TRect.h"
#include "tvlib/core/TString.h"
#include "tvlib/ui/TWindow.h"

class TTextBlock;

class TText : public TWindow {
 public:
  TText() = default;
  ~TText() override;
  TText(const TText&) = delete;
  TText& operator=(const TText&) = delete;

  // Makes the block and sizes the window to it; false (and nothing made) for a zero size.
  bool InitText(const TString& text, int width, int height, int flags, const TString& fontName,
                int fontSize, const float color[4]);
  void SetRotation(float angleDegrees, int originX, int originY);
  // Replaces the text; a change of a text that was not empty redraws the window.
  void SetText(const TString& text);
  TString GetText() const;
  TTextBlock* GetBlock() { return mBlock; }

  void Draw();
  // 0 shows the first line, 1 scrolls to the end; redraws only when the first line moves.
  void SetScrollPosition(float position);
  // Points are relative to the window. True when the event was the text's.
  bool OnMouseDown(TPoint point);
  bool OnMouseUp(TPoint point);
  bool OnMouseMove(TPoint point);
  bool OnMouseLeave();
  // A text window always redraws whole: the area becomes the window's own rectangle.
  bool AddDirtyRect(TRect* area) const;

  float scale = 1.0f;
  float alpha = 1.0f;
  int lineSpacing = 0;

 protected:
  // Fires the button named by a link that was pressed and released; false when there is
  // none.
  virtual bool FireLinkCommand(const TString& linkId);

 private:
  TTextBlock* mBlock = nullptr;
  TString mPressedLink;
};
