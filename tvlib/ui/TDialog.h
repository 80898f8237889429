// A modal window built by a layout script: it hands its body and title texts to the window
// script as gDialogTable.body and gDialogTable.title (as values, never as script text, so
// any text shows as written), runs the layout script inside itself, centres itself in the
// root window unless the layout placed it, and starts a script function that waits for its
// close message. Messages named "http=<address>" open the address. Needs the window
// manager's window script; without one the dialog stays empty. UI thread only.
#pragma once

#include "tvlib/core/TString.h"
#include "tvlib/ui/TModalWindow.h"

class TDialog : public TModalWindow {
 public:
  TDialog(const TString& layoutScript, const TString& body, const TString& title);

  static TWindow* Create();
  static TWindowClassId GetClassId();
  bool IsKindOf(TWindowClassId id) const override;

  bool Init() override;
  bool OnMessage(TMessage* message) override;

 private:
  TString mLayoutScript;
  TString mBody;
  TString mTitle;
};
