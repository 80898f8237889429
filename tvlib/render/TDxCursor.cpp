// The display handler's cursor slots, forwarded to the device context's software cursor.
#include "tvlib/render/TDxDisplayHandler.h"
#include "tvlib/render/TDxDisplayHandlerData.h"

void TDxDisplayHandler::HideCursor() {}

TPoint TDxDisplayHandler::UpdateCursor(int, int) {
  return TPoint{-1, -1};
}

void TDxDisplayHandler::OnWindowMoved() {
  mData->context.display.UpdateBounds();
}

TPoint TDxDisplayHandler::GetCursorPosition() {
  return TPoint{-1, -1};
}

bool TDxDisplayHandler::HideSystemCursor() {
  return false;
}

bool TDxDisplayHandler::SetCursorTexture(std::shared_ptr<TTexture>, int, int) {
  return false;
}
