// The display handler's cursor slots, forwarded to the device context's software cursor.
#include "tvlib/render/TDxDisplayHandler.h"

#include "tvlib/platform/window/TWindowBackend.h"
#include "tvlib/render/TDxDisplayHandlerData.h"

void TDxDisplayHandler::HideCursor() {
  mData->context.HideCursor();
}

TPoint TDxDisplayHandler::UpdateCursor(int x, int y) {
  return mData->context.UpdateCursor(x, y, false);
}

void TDxDisplayHandler::OnWindowMoved() {
  mData->context.OnWindowMoved();
}

TPoint TDxDisplayHandler::GetCursorPosition() {
  return mData->context.GetCursorPosition();
}

bool TDxDisplayHandler::HideSystemCursor() {
  if (!mData->context.GetCursorTexture()) return false;
  TRenderHost* host = mData->host;
  if (TWindowBackend* backend = host ? host->GetWindowBackend() : nullptr)
    backend->ShowSystemCursor(false);
  return true;
}

bool TDxDisplayHandler::SetCursorTexture(std::shared_ptr<TTexture> texture, int hotX, int hotY) {
  return mData->context.SetCursorImage(std::move(texture), hotX, hotY);
}
