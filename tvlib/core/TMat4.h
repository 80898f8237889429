// 4x4 float matrix of four TVec4 rows: the world, view and projection transforms of the
// display handler. Row vectors are multiplied on the left, as in TMat3.
#pragma once

#include "tvlib/core/TVec.h"

struct TMat4 {
  TVec4 rows[4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};  // identity
};
