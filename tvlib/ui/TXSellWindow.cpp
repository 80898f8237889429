// Filling the more-games panel from its document and opening its links.
#include "tvlib/ui/TXSellWindow.h"

#include <string>

#include "tvlib/core/TFile.h"
#include "tvlib/core/TFileData.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/core/TXmlNode.h"
#include "tvlib/ui/TText.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

constexpr char kDocument[] = "xsell/xsell.xml";
// A panel of seven entries is a few kilobytes; anything near this is not its document.
constexpr int kMaxDocument = 1 << 20;
// Windows named with a number run to 8: one past the entries the panel holds.
constexpr int kNamedEntries = 8;

void Hide(TWindow* window) {
  if (window) window->ClearFlags(kWindowVisible);
}

TText* FindText(TWindow* root, const TString& name) {
  return TText::CastToText(root->FindChild(name, -1));
}

// Moves the window so that its centre lies where its top-left corner was.
void CentreOnCorner(TWindow* window) {
  if (!window) return;
  const TRect& rect = window->GetRect();
  window->SetPosition(rect.left - window->GetWidth() / 2, rect.top - window->GetHeight() / 2);
}

}  // namespace

TXSellWindow::TXSellWindow() {
  if (TWindowManager* manager = TWindowManager::Get()) {
    if (TWindowScript* script = manager->GetWindowScript()) {
      BindScriptFunctions(script->GetState());
    }
  }
}

TWindow* TXSellWindow::Create() {
  return new TXSellWindow;
}

TWindowClassId TXSellWindow::GetClassId() {
  return reinterpret_cast<TWindowClassId>(&TXSellWindow::Create);
}

bool TXSellWindow::IsKindOf(TWindowClassId id) const {
  return id == GetClassId() || TWindow::IsKindOf(id);
}

void TXSellWindow::SetupXSell() {
  std::string bytes;
  if (!FileReadAll(kDocument, kFileReadBinary, kMaxDocument, &bytes)) bytes.clear();
  ReadXSellDocument(bytes.data(), bytes.size());
}

void TXSellWindow::ReadXSellDocument(const char* bytes, size_t size) {
  TXmlNode document;
  document.LoadBuffer(bytes, size);
  int entries = 0;
  if (TXmlNode* xsell = document.FindChild("xsell")) {
    TString name;
    TXmlNode* child = nullptr;
    xsell->ResetChildIterator();
    while (xsell->GetNextChild(&name, &child)) {
      if (name != "gameinfo" || entries == kEntries) continue;
      ++entries;
      if (TText* text = FindText(this, TString::Format("descrip%d", entries))) {
        TString description = child->GetAttribute("description");
        const TString linkText = child->GetAttribute("linktext");
        if (linkText.Length() != 0) {
          description = description + " <u><font color=\"003cff\"><a id='" +
                        TString::Format("xsellbutton%d", entries) + "'>" + linkText +
                        "</a></font></u>";
        }
        text->SetText(description);
      }
      mLinks[static_cast<size_t>(entries)] = child->GetAttribute("link");
    }
    if (TXmlNode* site = xsell->FindChild("sitelink")) {
      mLinks[0] = site->GetAttribute("link");
    } else {
      Hide(FindChild("gamesite", -1));
    }
    if (TXmlNode* centre = xsell->FindChild("centertext")) {
      if (TText* text = FindText(this, "centertext1")) text->SetText(centre->GetAttribute("text1"));
      if (TText* text = FindText(this, "centertext2")) text->SetText(centre->GetAttribute("text2"));
    }
  }
  for (int i = entries + 1; i <= kNamedEntries; ++i) {
    Hide(FindChild(TString::Format("descrip%d", i), -1));
    Hide(FindChild(TString::Format("xsellbutton%d", i), -1));
  }
  for (int i = 1; i <= kEntries; ++i) {
    CentreOnCorner(FindChild(TString::Format("xsellbutton%d", i), -1));
  }
  for (const char* logo : {"sitelogo", "tarvolenlogo", "gamesite"}) {
    CentreOnCorner(FindChild(logo, -1));
  }
}

void TXSellWindow::LaunchGameLink(int index) {
  if (index < 0 || index > kEntries) return;
  if (TPlatform* platform = TPlatform::GetInstance()) {
    platform->OpenUrl(mLinks[static_cast<size_t>(index)]);
  }
}
