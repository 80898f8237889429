// The hiscore submit dialog: sends the current player's waiting local score to the online
// hiscore service, under the player's name or under an online account (name and password,
// which the service may remember for the player).
//
// A modal window opened by the hiscore screen's "submit" command and built by the screen
// script "scripts/hiscoresubmit.lua": the form (player name, the waiting score, the account
// name and password edits, "remember", "submittoserver", "submitcancel"), the connecting note
// "submitconnect" and the error text "submiterror" with its button "submiterrorok". While the
// request runs, the dialog's own task polls it every 20 ms and the game goes on; the service
// ends a request the server leaves unanswered with a failure. A failure shows the service's
// reason with "OK", which brings the form back as typed; a success closes the dialog and
// turns the hiscore screen to the global table with the submission's result. In the
// anonymous modes the account part of the form never shows. Needs the profile service with
// its hiscore service and the window manager. UI thread only.
#pragma once

#include "tvlib/core/TString.h"
#include "tvlib/ui/TModalWindow.h"

class THiscore;
class TTvHiscores;

class THiscoreSubmit : public TModalWindow {
 public:
  // Size of the buffers the remembered login is read into.
  static constexpr int kLoginSize = 64;

  // `owner` (may be null) is the hiscore screen told of a successful submission.
  explicit THiscoreSubmit(THiscore* owner);

  // Fills the form: the player's name, a remembered account, the waiting score; the name
  // edit takes the focus.
  void Setup();
  // Shows the form, or in its place the connecting note.
  void ShowForm(bool connecting);
  // "submittoserver", "submiterrorok", "submitcancel" and the edits' changes.
  bool OnMessage(TMessage* message) override;
  // Hands the focus on to "nameedit" when there is one.
  void OnFocus(TWindow* previous) override;
  // The polling task's step: collects the submission's result; false once there is one.
  bool Poll();

  bool IsPolling() const { return mPolling; }

 private:
  void Submit();
  // The error text with its "OK" in place of the connecting note.
  void ShowError(const TString& text);
  // Shows or hides the named descendant; nothing when there is none.
  void Show(const char* name, bool show);
  TString EditText(const char* name);

  THiscore* mOwner;
  TTvHiscores* mHiscores = nullptr;
  bool mPolling = false;  // a submission is on its way
};
