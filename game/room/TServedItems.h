// What the guest book asks of the guest it shows: which item kinds the guest has been served
// (1 appetizer, 2 dinner, 3 cake, 4 gift). Guests implement it.
#pragma once

class TServedItems {
 public:
  virtual bool WasServed(int kind) const = 0;

 protected:
  ~TServedItems() = default;
};
