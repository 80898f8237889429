// The name entry (window type "EnterNameWindow"): the text edit "nameedit" for a player's
// name and the OK button "enterok", shown only while the name is not empty. Every change of
// the name (typed, deleted or pasted) clicks once with "audio/sfx/keystroke.ogg". UI thread
// only.
#pragma once

#include <memory>

#include "tvlib/ui/TWindow.h"

class TSound;

class TEnterName : public TWindow {
 public:
  // Loads the key-click sound.
  TEnterName();
  ~TEnterName() override;

  static TWindow* Create();
  static TWindowClassId GetClassId();
  bool IsKindOf(TWindowClassId id) const override;

  // Hides OK unless the edit starts with a name.
  void PostCreate() override;
  // The edit's change notice (type 7): the click, then OK shown or hidden.
  bool OnMessage(TMessage* message) override;

 private:
  std::shared_ptr<TSound> mKeyClick;
};
