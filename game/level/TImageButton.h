// A push button of the end-of-level dialog whose release is reported straight to its parent
// as a type-55 message named by the button's message name (LevelDialogMessages.h), with the
// button as the message's window. Its looks are the image and text children the dialog gives
// its layers; pressing, hovering and leaving show them as any button does. The release plays
// no sound, fires no command and leaves the button's state as it is. UI thread only.
#pragma once

#include "tvlib/core/TString.h"
#include "tvlib/ui/TButton.h"

class TImageButton : public TButton {
 public:
  explicit TImageButton(int type = kButtonPush) : TButton(type) {}

  void SetMessageName(const TString& name) { mMessageName = name; }
  const TString& GetMessageName() const { return mMessageName; }

  // Releases the mouse and hands the message to the parent's OnMessage; always handled.
  bool OnMouseUp(TPoint* point) override;

 private:
  TString mMessageName;
};
