// Chairs: their picture and the seat's rectangle in the room.
#include "game/room/TFestraChair.h"

#include "game/room/RoomArt.h"
#include "game/room/TFestraTable.h"

void TFestraChair::Setup(TFestraTable* table, int seatIndex, const TString& image) {
  mTable = table;
  mSeatIndex = seatIndex;
  SetImage(image);
}

void TFestraChair::SetImage(const TString& image) {
  SetTexture(GetRoomTexture(image));
}

// The table's own corner, not the corner of its bounds with the chairs: those stand above
// the table and would lift every seat by a chair's height.
TRect TFestraChair::GetSeatBounds() {
  TRect r = GetLocalBounds(-1);
  if (!mTable) return r;
  const TPoint at = mTable->GetPosition();
  return TRect{r.left + at.x, r.top + at.y, r.right + at.x, r.bottom + at.y};
}
