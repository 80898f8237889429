// An integer point: pointer positions in game coordinates.
#pragma once

struct TPoint {
  int x = 0, y = 0;
};
