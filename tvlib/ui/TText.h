// The text window: a window that owns one text block, draws it in its rectangle, scrolls it
// and turns a click on a link of its mark-up into the command of the button named by the
// link's id.
//
// Needs the text services for drawing, the platform for the 2-D bracket and the window
// manager for the mouse capture while a link is hot.
#pragma once

#include "tvlib/core/TPoint.h"
#include "tvlib/core/TRect.h"
#include "tvlib/core/TString.h"
#include "tvlib/ui/TWindow.h"

class TTextBlock;

class TText : public TWindow {
 public:
  // layer: the text is drawn in the render-target pass (kWindowLayer).
  explicit TText(bool layer = false);
  ~TText() override;
  TText(const TText&) = delete;
  TText& operator=(const TText&) = delete;

  static TWindow* Create();
  static TWindowClassId GetClassId();
  bool IsKindOf(TWindowClassId id) const override;
  // The window as a text window (a text edit is one too), or null when it is none.
  static TText* CastToText(TWindow* window);

  // Makes the block and sizes the window to it; false (and nothing made) for a zero size.
  bool InitText(const TString& text, int width, int height, int flags, const TString& fontName,
                int fontSize, const float color[4]);
  void SetRotation(float angleDegrees, int originX, int originY);
  // Replaces the text; any change redraws the window.
  virtual void SetText(const TString& text);
  virtual TString GetText() const;
  TTextBlock* GetBlock() { return mBlock; }

  void Draw() override;
  // 0 shows the first line, 1 scrolls to the end; redraws only when the first line moves.
  // The flag is not used.
  void SetScrollPosition(float position, uint32_t flag = 0) override;
  // Points are relative to the window. True when the event was the text's. A hot link holds
  // the mouse capture until the mouse leaves.
  bool OnMouseDown(TPoint* point) override;
  bool OnMouseUp(TPoint* point) override;
  bool OnMouseMove(TPoint* point) override;
  bool OnMouseLeave() override;
  // A text window always redraws whole: any area becomes the window's own rectangle.
  bool AddDirtyRect(TRect* area) override;

  float scale = 1.0f;
  float alpha = 1.0f;
  int lineSpacing = 0;

 protected:
  // Runs the command of the window named by a link that was pressed and released, searched
  // below the nearest modal ancestor; false (and a log line) when there is none to run.
  virtual bool FireLinkCommand(const TString& linkId);

 private:
  TTextBlock* mBlock = nullptr;
  TString mPressedLink;
};
