// The hiscore submit dialog: its form, its commands and the polling of the submission.
#include "game/frontend/THiscoreSubmit.h"

#include "game/frontend/HiscoreTasks.h"
#include "game/frontend/ShownChildren.h"
#include "game/frontend/THiscore.h"
#include "game/shell/StringLookup.h"
#include "game/shell/TGameSettings.h"
#include "tvlib/hiscore/TTvHiscores.h"
#include "tvlib/ui/TButton.h"
#include "tvlib/ui/TMessage.h"
#include "tvlib/ui/TText.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

constexpr int kMessageSize = 512;

int AnonymousMode() {
  TGameSettings* settings = TGameSettings::Get();
  return settings ? settings->GetAnonymousMode() : 0;
}

}  // namespace

THiscoreSubmit::THiscoreSubmit(THiscore* owner) : mOwner(owner) {
  if (TGameSettings* settings = TGameSettings::Get()) mHiscores = settings->GetHiscores();
}

void THiscoreSubmit::Show(const char* name, bool show) {
  if (SetChildShown(this, name, show)) Invalidate();
}

TString THiscoreSubmit::EditText(const char* name) {
  TText* text = TText::CastToText(FindChild(name, -1));
  return text ? text->GetText() : TString();
}

void THiscoreSubmit::Setup() {
  TGameSettings* settings = TGameSettings::Get();
  if (TText* name = TText::CastToText(FindChild("nameedit", -1)); name && settings)
    name->SetText(settings->GetCurrentUserName());
  char account[kLoginSize] = "";
  char password[kLoginSize] = "";
  if (mHiscores && mHiscores->GetStoredLogin(account, kLoginSize, password, kLoginSize)) {
    if (TText* edit = TText::CastToText(FindChild("accountedit", -1))) edit->SetText(account);
    if (TText* edit = TText::CastToText(FindChild("passedit", -1))) edit->SetText(password);
    if (TButton* remember = TButton::CastToButton(FindChild("remember", -1)))
      remember->SetChecked(true);
  }
  for (const char* name : {"submitconnect", "submiterror", "submiterrorok"}) Show(name, false);
  int score = 0;
  int rank = 0;
  if (!mHiscores || !mHiscores->GetPlayerScore(0, &score, &rank, nullptr, 0)) score = 0;
  if (TText* eligible = TText::CastToText(FindChild("eligiblescore", -1)))
    eligible->SetText(TString::Format("%d", score));
  OnFocus(nullptr);
}

void THiscoreSubmit::ShowForm(bool connecting) {
  const bool account = !connecting && AnonymousMode() == 0;
  for (const char* name : {"header", "headershadow", "playertext", "yourscore", "eligiblescore",
                           "nameeditbox", "submittoserver", "submitcancel"}) {
    Show(name, !connecting);
  }
  for (const char* name :
       {"yourtvaccount", "nametext", "passtext", "accounteditbox", "passeditbox", "remember"}) {
    Show(name, account);
  }
  if (connecting) {
    if (TButton* submit = TButton::CastToButton(FindChild("submittoserver", -1)))
      submit->OnMouseLeave();
  }
  Show("submitconnect", connecting);
}

void THiscoreSubmit::OnFocus(TWindow* previous) {
  TWindow* edit = FindChild("nameedit", -1);
  TWindowManager* manager = TWindowManager::Get();
  if (!edit || !manager) {
    TModalWindow::OnFocus(previous);
    return;
  }
  manager->SetFocus(edit);
}

bool THiscoreSubmit::OnMessage(TMessage* message) {
  if (!message) return false;
  if (message->mType == kMessageTextEdit) {
    TWindow* nameEdit = FindChild("nameedit", -1);
    TWindow* accountEdit = FindChild("accountedit", -1);
    if (!nameEdit || !accountEdit) return true;
    const bool named = EditText("nameedit").Length() != 0 || EditText("accountedit").Length() != 0;
    if (TWindow* submit = FindChild("submittoserver", -1)) {
      SetShown(submit, named);
      if (!named) {
        if (TButton* button = TButton::CastToButton(submit)) button->OnMouseLeave();
      }
      submit->Invalidate();
      Invalidate();  // also where it stood
    }
    return true;
  }
  if (message->mType != kMessageClick) return TModalWindow::OnMessage(message);
  const TString& command = message->mName;
  if (command == TString("submittoserver")) {
    Submit();
    return true;
  }
  if (command == TString("submiterrorok")) {
    Show("submiterrorok", false);
    Show("submiterror", false);
    ShowForm(false);
  } else if (command == TString("submitcancel")) {
    // Closes this dialog, also should another window have come above it.
    if (TWindowManager* manager = TWindowManager::Get()) manager->DropModal(this);
  }
  return false;
}

void THiscoreSubmit::Submit() {
  if (mPolling) return;  // one submission at a time
  ShowForm(true);
  const TString name = EditText("nameedit");
  // The account part of the form is not offered in the anonymous modes.
  const TString account = AnonymousMode() == 0 ? EditText("accountedit") : TString();
  const TString password = EditText("passedit");
  TButton* remember = TButton::CastToButton(FindChild("remember", -1));
  const bool keep = remember && remember->IsChecked();
  if (!mOwner || !mHiscores) {
    ShowForm(false);  // no screen to show the result on: nothing is sent
    return;
  }
  const bool started = account.Length() != 0
                           ? mHiscores->SubmitScore(account.c_str(), password.c_str(), keep)
                           : mHiscores->SubmitScore(name.c_str(), nullptr, keep);
  if (!started) {
    // Nothing was sent: polling would collect the result of an earlier request.
    ShowError(LookUpString("submitnoscore"));
    return;
  }
  mPolling = true;
  AddTask(new TUpdateHiscoreSubmitWindow(this));
}

void THiscoreSubmit::ShowError(const TString& text) {
  if (TText* error = TText::CastToText(FindChild("submiterror", -1))) error->SetText(text);
  Show("submiterror", true);
  Show("submitconnect", false);
  Show("submiterrorok", true);
}

bool THiscoreSubmit::Poll() {
  if (!mHiscores) return false;
  char message[kMessageSize] = "";
  bool placed = false;
  const int result = mHiscores->PollRequest(message, kMessageSize, &placed);
  if (result == 1) return true;
  mPolling = false;
  if (result == 2) {
    ShowError(message);
    return false;
  }
  THiscore* owner = mOwner;
  // This dialog closes, also should another window have come above it meanwhile.
  if (TWindowManager* manager = TWindowManager::Get()) manager->DropModal(this);
  if (owner) owner->ShowGlobalAfterSubmit(placed);
  return false;
}
