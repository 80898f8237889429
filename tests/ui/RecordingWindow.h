// Test windows that note what reaches them (input, drawing, messages, focus) in one shared
// log, and answer "handled" for the event types a test chooses.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "tvlib/ui/TMessage.h"
#include "tvlib/ui/TModalWindow.h"
#include "tvlib/ui/TWindow.h"

using Notes = std::vector<std::string>;

template <typename Base>
class TRecording : public Base {
 public:
  TRecording(const char* name, Notes* log) : mLog(log) { this->SetName(name); }
  // Places the window at (left, top) with the given size, without a tree around it.
  TRecording* At(int left, int top, int right, int bottom) {
    this->SetPosition(left, top);
    this->SetSize(right - left, bottom - top);
    return this;
  }

  void Draw() override { Note("draw"); }
  bool OnMouseDown(TPoint* p) override { return NotePoint("down", p, kEventLeftDown); }
  bool OnMouseUp(TPoint* p) override { return NotePoint("up", p, kEventLeftUp); }
  bool OnMouseMove(TPoint* p) override { return NotePoint("move", p, kEventMouseMove); }
  bool OnMouseLeave() override { return Note("leave"), true; }
  bool OnKeyDown(int key, uint32_t) override {
    Note("key" + std::to_string(key));
    return mHandles.count(kEventKeyDown) != 0;
  }
  bool OnChar(int character) override {
    if (mHandles.count(kEventChar)) return Note("char" + std::to_string(character)), true;
    return Base::OnChar(character);
  }
  void OnFocus(TWindow* previous) override {
    Note("focus");
    Base::OnFocus(previous);
  }
  bool OnMessage(TMessage* message) override {
    Note("msg" + std::to_string(message->mType) + ":" + message->mName.c_str());
    if (mTakesMessages) return true;
    return Base::OnMessage(message);
  }

  std::set<uint32_t> mHandles;
  bool mTakesMessages = false;

 private:
  void Note(const std::string& what) { mLog->push_back(what + ":" + this->GetName().c_str()); }
  bool NotePoint(const char* what, TPoint* p, uint32_t type) {
    Note(std::string(what) + "@" + std::to_string(p->x) + "," + std::to_string(p->y));
    return mHandles.count(type) != 0;
  }
  Notes* mLog;
};

using TRecWindow = TRecording<TWindow>;
using TRecModal = TRecording<TModalWindow>;
