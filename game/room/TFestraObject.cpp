// Clickable room objects: object-type codes and the check-mark overlay.
#include "game/room/TFestraObject.h"

#include "game/room/TFestraStateAnim.h"

TFestraObject::TFestraObject(int layer)
    : TFestraSprite(layer), mCheckMark(TFestraStateAnim::Create(layer + 1)) {
  mCheckMark->AddState(kCheckMark);
  mCheckMark->SetOwnScript(true);
  mCheckMark->SetPosition(static_cast<float>(GetWidth()) * 0.5f,
                          static_cast<float>(GetHeight()) * 0.5f, kStoredAnchor);
  AddChild(mCheckMark);
}

TFestraObject::~TFestraObject() = default;

void TFestraObject::SetObjectType(int code) {
  mObjectType = code;
  mCheckMark->SetVisible(false);
}

void TFestraObject::SetMarkCount(int count) {
  mMarkCount = count;
  mCheckMark->ShowMark(count > 0);
}
